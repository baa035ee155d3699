#include "StoreFixtures.h"

#include <QRandomGenerator>

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
        const QByteArray one = record("un", "corps"), two = record("deux", "x");
        const QStringList both{"un", "deux"};
        QTest::newRow("zero bytes") << QByteArray() << QStringList{} << false;
        QTest::newRow("LF only") << QByteArray(one + two).replace("\r\n", "\n") << both << false;
        QTest::newRow("mixed line ends") << QByteArray(one).replace("CC=\r\n", "CC=\n") + two << both << false;
        QTest::newRow("blank lines after the last record") << one + "\r\n\r\n" << QStringList{"un"} << false;
        QTest::newRow("UTF-8 after a BOM") << "\xEF\xBB\xBF" + record("\xCE\xA9", "") << QStringList{"Ω"} << false;
        QTest::newRow("cut before DebutContenu=") << one + "Titre=deux\r\nDest=z" << both << true;
        QTest::newRow("cut before =FinContenu") << one + two.left(two.size() - 13) << both << true;
        QTest::newRow("empty header line") << QByteArray(one).replace("CC=\r\n", "\r\n") << QStringList{"un"} << true;
        QTest::newRow("repeated key: the last wins") << "Titre=zz\r\n" + one << QStringList{"un"} << false;
        QTest::newRow("unknown key, key without =") << QByteArray(one).replace("CC=\r\n", "CC\r\nBonjour\r\nX=y\r\n") << QStringList{"un"} << false;
        QTest::newRow("unreadable date") << QByteArray(one).replace("04/12/2026", "31/04/2026") << QStringList{"un"} << true;
        QTest::newRow("no date") << QByteArray(one).replace("Date=04/12/2026 18:30\r\n", "") << QStringList{"un"} << true;
        QTest::newRow("damaged end marker: the next record in the body")
            << QByteArray(one).replace("=FinContenu", "=FinContenX") + two << QStringList{"un"} << true;
        QTest::newRow("bad UTF-8 after a BOM") << "\xEF\xBB\xBF" + record("\xC3", "") << QStringList{"\uFFFD"} << true;
        QByteArray many;
        QStringList fifty;
        for (int n = 1; n <= 53; ++n)
            many += record(QByteArray::number(n), "x"), fifty << QString::number(n);
        QTest::newRow("more than 50 records") << many << fifty.first(MailSlots) << true;
        QList<quint32> garbage(2 << 20);
        QRandomGenerator(7).fillRange(garbage.data(), garbage.size());
        const QByteArray noise(reinterpret_cast<const char *>(garbage.data()), 8 << 20);
        QTest::newRow("huge, then garbage")  // the garbage reads as one odd mail
            << record("un", QByteArray(4 << 20, 'z')) + noise + QByteArray(100'000, '\n') << QStringList{"un", ""} << true;
    }
    void malformedFilesLoadWhatCanBeRead()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, titles);
        QFETCH(bool, keptCopy);
        StoreCase s;
        QVERIFY(s.desk.files.write(s.path + ".bak", "first") && s.desk.files.write(s.path + ".bak3", "third"));
        QVERIFY(s.desk.files.write(s.path, content));
        s.load();
        QStringList read;
        for (qint16 slot = 1; slot <= s.table.inUseCount(); ++slot)
            read << s.table[slot].Titre;
        QCOMPARE(read, titles);
        QCOMPARE(s.rows.ListCount(), titles.size());
        QCOMPARE(s.bytes(), content);
        QCOMPARE(s.desk.messageBox.shown.size(), keptCopy ? 1 : 0);
        QCOMPARE(s.store.keptCopyPath(), keptCopy ? s.path + ".bak2" : QString());  // earlier copies are never replaced
        QCOMPARE(s.bytes(".bak") + s.bytes(".bak3"), "firstthird");
        if (keptCopy)
            QCOMPARE(s.bytes(".bak2"), content);
    }

    void aCopyThatCannotBeMadeAtLoadIsMadeBeforeTheSaveAndOnlyOnce()
    {
        StoreCase s;
        QVERIFY(s.desk.files.write(s.path, "Titre=cut"));
        s.desk.files.failWrites = true;
        s.load();
        QVERIFY(s.store.keptCopyPath().isEmpty());
        s.desk.files.failWrites = false;
        QVERIFY(s.store.SaveMailStore(s.table));
        QCOMPARE(s.bytes(".bak"), "Titre=cut");
        QVERIFY(s.bytes().startsWith("Titre=cut\r\nDest=\r\n"));
        QVERIFY(s.desk.files.write(s.path, "Titre=cut"));  // the same file again: its earlier copy is enough
        s.load();
        QCOMPARE(s.store.keptCopyPath(), s.path + ".bak");
        QVERIFY(!QFile::exists(s.path + ".bak2"));
    }
};

QTEST_GUILESS_MAIN(MailStoreRecoveryTest)
#include "tst_MailStoreRecovery.moc"
