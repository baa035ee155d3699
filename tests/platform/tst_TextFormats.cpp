#include "AnsiText.h"
#include "DateText.h"

#include <QBuffer>
#include <QStringConverter>
#include <QTest>

#include <numeric>

// How the program's files and the dates typed in are read and written in the desktop's conventions.
class TextFormatsTest : public QObject
{
    Q_OBJECT
private slots:
    // Each row: the lines, their bytes, whether encoding the lines gives the bytes, whether the bytes decode without loss.
    void linesAndBytes()
    {
        const QByteArray bom("\xEF\xBB\xBF");
        for (const auto &[lines, bytes, written, exact] : std::initializer_list<std::tuple<QStringList, QByteArray, bool, bool>>{
                 {{"é€Ÿ\u00A0", ""}, "\xE9\x80\x9F\xA0\r\n\r\n", true, true},  // the code page
                 {{QString(70000, QChar(0xE9))}, QByteArray(70000, '\xE9') + "\r\n", true, true},  // longer than a piece
                 {{QString(65535, 'a'), "", "", "b"}, QByteArray(65535, 'a') + "\r\n\r\n\r\nb\r\n", true, true},  // a line end at a piece's end
                 // A pair cut by a piece.
                 {{QString(65535, 'a') + QStringLiteral("😀é")}, bom + QByteArray(65535, 'a') + "\xF0\x9F\x98\x80\xC3\xA9\r\n", true, true},
                 {{"a", "b", "", "c"}, "a\nb\r\n\nc\n", false, true},  // LF and mixed
                 {{"a\rb\r", "c\r"}, "a\rb\r\r\nc\r", false, true},  // a lone CR stays, no final break
                 {{QString::fromUtf16(u"\u0081\u0000\u009D", 3)}, QByteArray("\x81\x00\x9D", 3), false, true},  // every byte is a character
                 {{"\uFFFD("}, bom + "\xC3(", false, false}}) {  // bad UTF-8 after a BOM
            if (written)
                QCOMPARE(AnsiText::encodeLines(lines), bytes);
            bool readExactly = !exact;
            QCOMPARE(AnsiText::decodeLines(bytes, &readExactly), lines);
            QCOMPARE(readExactly, exact);

            // Read in pieces from a device, the lines are the same.
            QBuffer device;
            device.setData(bytes);
            QVERIFY(device.open(QIODevice::ReadOnly));
            AnsiText::LineReader reader(device);
            AnsiText::FileText file(reader.utf8());
            QStringList read;
            while (reader.next()) {
                read << file.decode(reader.line());
                QCOMPARE(bytes.mid(reader.lineOffset(), reader.line().size()), reader.line());
            }
            QCOMPARE(read, lines);
        }
    }
    // The program's own table of the code page reads and writes every byte and
    // character exactly as the converter does.
    void codePageAgreesWithTheConverter()
    {
        const QByteArray name = AnsiText::codePageName();
        QStringDecoder decoder(name.constData());
        if (!decoder.isValid())
            QSKIP("the converter does not know the code page");
        QByteArray everyByte(256, Qt::Uninitialized);
        std::iota(everyByte.begin(), everyByte.end(), char(0));
        const QString decoded = decoder.decode(everyByte);
        AnsiText::FileText file(QByteArray{});
        QCOMPARE(file.decode(everyByte), decoded);
        QCOMPARE(file.exact(), !decoder.hasError());
        QCOMPARE(AnsiText::fitsCodePage({QStringLiteral("a")}), decoded.size() == 256);  // with a double-byte code page, always UTF-8
        for (char32_t unit = 0; unit < 0x10000; ++unit) {
            const QString character{QChar(char16_t(unit))};
            if (character.at(0).isSurrogate())
                continue;
            QStringEncoder encoder(name.constData());
            const QByteArray byte = encoder.encode(character);
            // Windows' converter drops a NUL at the end, so a space follows.
            const bool held = !encoder.hasError() && byte.size() == 1
                && QString(QStringDecoder(name.constData()).decode(byte + ' ')) == character + u' ';
            QCOMPARE(AnsiText::encodeLines({character}), held ? byte + "\r\n" : "\xEF\xBB\xBF" + character.toUtf8() + "\r\n");
        }
    }

    void readsDayFirstDatesAndTimesWithoutSeconds()
    {
        // A short date, blanks around, the seconds dropped.
        QCOMPARE(DateText::readDateTime(" 4/2  23:59:59 ", 2031).value_or(QDateTime()), QDateTime({2031, 2, 4}, {23, 59}));
        for (const QString &unreadable : {"29/02/2027 12:00", "1/1/202 12:00", "1.1.2026 12:00", "١/١/2026 12:00", "4/12/2026 24:00",
                                          "4/12/2026 10:60", "4/12/2026 10:00:60", "4/12/2026 10", "4/12/2026 100:00", "4/12/2026"})
            QVERIFY2(!DateText::readDateTime(unreadable, 2031), qPrintable(unreadable));
    }
};

QTEST_GUILESS_MAIN(TextFormatsTest)
#include "tst_TextFormats.moc"
