#include "StoreFixtures.h"
#include "TestDesktop.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace StoreFixtures;

// Store files the program never writes: what loads, and what is kept aside.
class MailStoreRecoveryTest : public QObject
{
    Q_OBJECT
private slots:
    void malformedFilesLoadWhatCanBeRead_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("titles");  // in slot order
        QTest::addColumn<bool>("keptCopy");
        const QByteArray one = record("un", "corps");
        const QByteArray two = record("deux", "x");
        QTest::newRow("zero bytes") << QByteArray() << QStringList{} << false;
        QTest::newRow("LF only") << QByteArray(one + two).replace("\r\n", "\n") << QStringList{"un", "deux"} << false;
        QTest::newRow("mixed line ends") << QByteArray(one).replace("CC=\r\n", "CC=\n") + two
                                         << QStringList{"un", "deux"} << false;
        QTest::newRow("blank lines after the last record") << one + "\r\n\r\n" << QStringList{"un"} << false;
        QTest::newRow("cut before DebutContenu=") << one + "Titre=deux\r\nDest=z" << QStringList{"un", "deux"} << true;
        QTest::newRow("cut before =FinContenu") << one + two.left(two.size() - 13) << QStringList{"un", "deux"} << true;
        QTest::newRow("empty header line") << QByteArray(one).replace("CC=\r\n", "\r\n") << QStringList{"un"} << true;
        QTest::newRow("unknown header line") << "Bonjour\r\n" + one << QStringList{"un"} << true;
        QTest::newRow("unreadable date") << QByteArray(one).replace("04/12/2026", "31/04/2026") << QStringList{"un"}
                                         << true;
        QTest::newRow("UTF-8 after a BOM") << "\xEF\xBB\xBF" + record("\xCE\xA9", "") << QStringList{"Ω"} << false;
        QTest::newRow("bad UTF-8 after a BOM") << "\xEF\xBB\xBF" + record("\xC3", "") << QStringList{"\uFFFD"} << true;
        QByteArray many;
        QStringList fifty;
        for (int n = 1; n <= 53; ++n) {
            many += record(QByteArray::number(n), "x").replace("18:30", "18:" + QByteArray::number(n).rightJustified(2, '0'));
            if (n <= 50)
                fifty << QString::number(n);
        }
        QTest::newRow("more than 50 records") << many << fifty << true;
    }
    void malformedFilesLoadWhatCanBeRead()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, titles);
        QFETCH(bool, keptCopy);
        TestDesktop desk;
        QTemporaryDir own;
        const QString path = own.filePath(QStringLiteral("Tardello.tmp"));
        putFile(path, content);
        MailStore store(path);
        const auto loaded = load(store);
        QStringList read;
        for (qint16 slot = 1; slot <= loaded->table.inUseCount(); ++slot)
            read << loaded->table[slot].Titre;
        QCOMPARE(read, titles);
        QCOMPARE(loaded->rows.ListCount(), titles.size());
        QCOMPARE(fileBytes(path), content);
        QCOMPARE(store.keptCopyPath().isEmpty(), !keptCopy);
        QCOMPARE(desk.messageBox.shown.size(), keptCopy ? 1 : 0);
        if (keptCopy)
            QCOMPARE(fileBytes(store.keptCopyPath()), content);
        if (QByteArray(QTest::currentDataTag()) == "unreadable date")
            QCOMPARE(loaded->table[1].Date, SendMoment());
    }

    void keptCopiesNeverReplaceEarlierOnes()
    {
        TestDesktop desk;
        QTemporaryDir own;
        const QString path = own.filePath(QStringLiteral("Tardello.tmp"));
        putFile(path + ".bak", "first");
        putFile(path + ".bak3", "third");
        putFile(path, "Titre=cut");
        MailStore store(path);
        desk.files.failWrites = true;  // no copy can be made: the file must be set aside before a save
        const auto loaded = load(store);
        QVERIFY(store.keptCopyPath().isEmpty());
        desk.files.failWrites = false;
        QVERIFY(store.SaveMailStore(loaded->table));
        QCOMPARE(store.keptCopyPath(), path + ".bak2");
        QCOMPARE(fileBytes(path + ".bak2"), QByteArray("Titre=cut"));
        QVERIFY(fileBytes(path).startsWith("Titre=cut\r\nDest=\r\n"));
        QCOMPARE(load(store)->table.inUseCount(), 1);
        QCOMPARE(fileBytes(path + ".bak") + fileBytes(path + ".bak3"), QByteArray("firstthird"));

        putFile(path, "Titre=cut");  // the same file again: its earlier copy is enough
        load(store);
        QCOMPARE(store.keptCopyPath(), path + ".bak2");
        QVERIFY(!QFile::exists(path + ".bak4"));
    }

    void aHugeFileLoadsItsFirstFiftyRecords()
    {
        TestDesktop desk;
        QTemporaryDir own;
        const QString path = own.filePath(QStringLiteral("Tardello.tmp"));
        QByteArray garbage(8 << 20, '\0');
        QRandomGenerator random(7);
        for (char &byte : garbage)
            byte = char(random.bounded(256));
        putFile(path, record("un", QByteArray(4 << 20, 'z')) + garbage + QByteArray(100'000, '\n'));
        MailStore store(path);
        const auto loaded = load(store);
        QVERIFY(loaded->table.inUseCount() >= 1 && loaded->table.inUseCount() <= MailSlots);
        QCOMPARE(loaded->table[1].Contenu.size(), 4 << 20);
        QCOMPARE(fileBytes(store.keptCopyPath()).size(), QFileInfo(path).size());
    }
};

QTEST_GUILESS_MAIN(MailStoreRecoveryTest)
#include "tst_MailStoreRecovery.moc"
