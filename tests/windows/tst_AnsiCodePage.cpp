#include "AnsiCodePage.h"

#include <QTest>

#include <optional>
#include <tuple>

class tst_AnsiCodePage : public QObject
{
    Q_OBJECT
private slots:
    // Texts convert to the code page only when it holds every character; UTF-16 holds them all.
    void convertsOnlyWhatThePageHolds()
    {
        // UTF-8 spelled out, so that the test does not depend on the source's encoding.
        const std::tuple<unsigned, std::string, std::optional<std::string>> cases[] = {
            {1252, "", std::string()},
            {1252, "d\xC3\xA9j\xC3\xA9\r\n", std::string("d\xE9j\xE9\r\n")},
            {1252, "\xE2\x82\xAC", std::string("\x80")},  // the euro sits at 0x80
            {1252, "Ko\xC5\x82o", std::nullopt},          // best fit would quietly write "l" for the Polish letter
            {1252, "Caf\xC3\xA9 \xF0\x9F\x93\xA7", std::nullopt},
            {1251, "\xD0\x96", std::string("\xC6")},
            {1251, "\xC3\xA9", std::nullopt},
        };
        for (const auto &[codePage, utf8, bytes] : cases)
            QCOMPARE(AnsiCodePage::fromUtf8(utf8, codePage), bytes);
        // A character beyond sixteen bits takes a surrogate pair; texts round trip through COM in tst_ComObject.
        QCOMPARE(AnsiCodePage::wideFromUtf8("\xF0\x9F\x93\xA7"), std::wstring(L"\xD83D\xDCE7"));
    }
};

QTEST_APPLESS_MAIN(tst_AnsiCodePage)
#include "tst_AnsiCodePage.moc"
