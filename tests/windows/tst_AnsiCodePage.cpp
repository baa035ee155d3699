#include "AnsiCodePage.h"

#include <QTest>

#include <optional>

class tst_AnsiCodePage : public QObject
{
    Q_OBJECT
private slots:
    // Texts convert to the code page only when it holds every character.
    void convertsOnlyWhatThePageHolds()
    {
        struct Case
        {
            unsigned codePage;
            std::string utf8;
            std::optional<std::string> bytes;
        };
        // UTF-8 spelled out, so that the test does not depend on the source's encoding.
        const Case cases[] = {
            {1252, "", std::string()},
            {1252, "d\xC3\xA9j\xC3\xA9\r\n", std::string("d\xE9j\xE9\r\n")},
            {1252, "\xE2\x82\xAC", std::string("\x80")},  // the euro sits at 0x80
            {1252, "Ko\xC5\x82o", std::nullopt},          // best fit would quietly write "l" for the Polish letter
            {1251, "\xD0\x96", std::string("\xC6")},
            {1251, "\xC3\xA9", std::nullopt},
        };
        for (const Case &c : cases) {
            const auto bytes = AnsiCodePage::fromUtf8(c.utf8, c.codePage);
            QCOMPARE(bytes, c.bytes);
            if (bytes)
                QCOMPARE(AnsiCodePage::toUtf8(*bytes, c.codePage), c.utf8);
        }
    }

    void wideTextsKeepCharactersBeyondSixteenBits()
    {
        const std::string utf8 = "Caf\xC3\xA9 \xF0\x9F\x93\xA7";
        const std::wstring wide = AnsiCodePage::wideFromUtf8(utf8);
        QCOMPARE(wide.size(), size_t(7));  // the emoji takes a surrogate pair
        QCOMPARE(AnsiCodePage::utf8FromWide(wide), utf8);
        QVERIFY(!AnsiCodePage::fromWide(wide, 1252).has_value());
    }
};

QTEST_APPLESS_MAIN(tst_AnsiCodePage)
#include "tst_AnsiCodePage.moc"
