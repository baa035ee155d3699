#include "AnsiText.h"
#include <QTest>

class AnsiTextTest : public QObject
{
    Q_OBJECT
private slots:
    void encodesInTheCodePageOrElseUtf8_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray bom("\xEF\xBB\xBF");
        QTest::newRow("code page") << QStringList{"é€Ÿ\u00A0", ""} << QByteArray("\xE9\x80\x9F\xA0\r\n\r\n");
        QTest::newRow("Greek") << QStringList{"é Ω"} << bom + "\xC3\xA9 \xCE\xA9\r\n";
        QTest::newRow("outside the BMP") << QStringList{"😀"} << bom + "\xF0\x9F\x98\x80\r\n";
        QTest::newRow("fullwidth letter") << QStringList{"Ａ"} << bom + "\xEF\xBC\xA1\r\n";
        QTest::newRow("longer than a piece") << QStringList{QString(70000, QChar(0xE9))} << QByteArray(70000, '\xE9') + "\r\n";
        QTest::newRow("line ends at a piece's end") << QStringList{QString(65535, 'a'), "", "", "b"}
                                                    << QByteArray(65535, 'a') + "\r\n\r\n\r\nb\r\n";
        QTest::newRow("pair cut by a piece") << QStringList{QString(65535, 'a') + QStringLiteral("😀é")}
                                             << bom + QByteArray(65535, 'a') + "\xF0\x9F\x98\x80\xC3\xA9\r\n";
    }
    void encodesInTheCodePageOrElseUtf8()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        QCOMPARE(AnsiText::encodeLines(lines), bytes);
        bool exact = false;
        QCOMPARE(AnsiText::decodeLines(bytes, &exact), lines);
        QVERIFY(exact);
    }

    void splitsAtEveryLineEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QByteArray() << QStringList{};
        QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("no final break") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("LF and mixed") << QByteArray("a\nb\r\n\nc\n") << QStringList{"a", "b", "", "c"};
        QTest::newRow("lone CR stays") << QByteArray("a\rb\r\r\nc\r") << QStringList{"a\rb\r", "c\r"};
        QTest::newRow("every byte is a character") << QByteArray("\x81\x00\x9D", 3) << QStringList{QString::fromUtf16(u"\u0081\u0000\u009D", 3)};
    }
    void splitsAtEveryLineEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(AnsiText::decodeLines(bytes), lines);
    }

    void undecodableUtf8IsReported()
    {
        bool exact = true;
        AnsiText::decodeLines(QByteArray("\xEF\xBB\xBF\xC3("), &exact);
        QVERIFY(!exact);
    }
};

QTEST_GUILESS_MAIN(AnsiTextTest)
#include "tst_AnsiText.moc"
