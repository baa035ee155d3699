#include "AnsiText.h"
#include "TestDesktop.h"

#include <QTemporaryDir>
#include <QTest>

class AnsiTextTest : public QObject
{
    Q_OBJECT
private slots:
    void encodesInTheCodePageOrElseUtf8_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("code page") << QStringLiteral("é€Ÿ\u00A0") << QByteArray("\xE9\x80\x9F\xA0\r\n");
        QTest::newRow("Greek") << QStringLiteral("é Ω") << QByteArray("\xEF\xBB\xBF\xC3\xA9 \xCE\xA9\r\n");
        QTest::newRow("outside the BMP") << QStringLiteral("😀") << QByteArray("\xEF\xBB\xBF\xF0\x9F\x98\x80\r\n");
        QTest::newRow("fullwidth letter") << QStringLiteral("Ａ") << QByteArray("\xEF\xBB\xBF\xEF\xBC\xA1\r\n");
    }
    void encodesInTheCodePageOrElseUtf8()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(AnsiText::encodeLines({text}), bytes);
        bool exact = false;
        QCOMPARE(AnsiText::decodeLines(bytes, &exact), QStringList{text});
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

    void writesReplaceWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.ini"));
        DiskTextFiles files;
        QVERIFY(files.write(path, "old"));
        QVERIFY(files.write(path, "new"));
        QCOMPARE(files.read(path).value_or(""), QByteArray("new"));
        QVERIFY(!files.write(dir.filePath(QStringLiteral("missing/f.ini")), "x"));
        QVERIFY(!files.read(dir.path()));  // a directory is no file
        QVERIFY(files.remove(path) && files.remove(path));
        QVERIFY(!files.exists(path));
    }
};

QTEST_GUILESS_MAIN(AnsiTextTest)
#include "tst_AnsiText.moc"
