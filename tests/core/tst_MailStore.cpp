#include "FullDisk.h"
#include "Settings.h"
#include "StoreFixtures.h"

#include <QDir>

using namespace StoreFixtures;

class MailStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void savesByteForByteAndLoadsInFileOrder_data()
    {
        QTest::addColumn<QString>("titre");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QByteArray>("expected");  // then the record of a second mail, "sept"
        QTest::newRow("two-line body, accents as single bytes") << "Rappel €" << "Bonjour,\r\nà ce soir."
                                                                << record("Rappel \x80", "Bonjour,\r\n\xE0 ce soir.");
        QTest::newRow("empty body is one empty line") << "a=b" << QString() << record("a=b", "");
        QTest::newRow("outside the code page: UTF-8 after a BOM")
            << "Ω é" << "x" << "\xEF\xBB\xBF" + record("\xCE\xA9 \xC3\xA9", "x");
        QTest::newRow("end marker inside the body is escaped")
            << "a\\b" << "=FinContenu\r\nz"
            << "Echappement=1\r\n" + record("a\\\\b", "\\=FinContenu\r\nz").replace("C:\\Docs\\ordre", "C:\\\\Docs\\\\ordre");
        QTest::newRow("line break in the subject is escaped") << "a\r\nb" << "x"
            << "Echappement=1\r\n" + record("a\\r\\nb", "x").replace("C:\\Docs\\ordre", "C:\\\\Docs\\\\ordre");
        QTest::newRow("lone line feed in the body is escaped") << "t" << "x\ny"
            << "Echappement=1\r\n" + record("t", "x\\ny").replace("C:\\Docs\\ordre", "C:\\\\Docs\\\\ordre");
        const QByteArray header = "Titre=t\r\nDest=\r\nCC=\r\nBCC=\r\nDate=\r\nAttach=\r\n";
        QTest::newRow("a record header inside the body is escaped, not taken for damage")
            << "h" << QString(header + "DebutContenu=")
            << "Echappement=1\r\n" + record("h", header + "DebutContenu\\=").replace("C:\\Docs\\ordre", "C:\\\\Docs\\\\ordre");
    }
    void savesByteForByteAndLoadsInFileOrder()
    {
        QFETCH(QString, titre);
        QFETCH(QString, body);
        QFETCH(QByteArray, expected);
        StoreCase s;
        s.table[4] = mail(titre, body);
        s.table[7] = mail("sept");  // the same minute
        QVERIFY(s.store.SaveMailStore(s.table));
        QCOMPARE(s.bytes(), expected + record("sept", ""));
        s.load();
        QVERIFY(s.store.keptCopyPath().isEmpty());
        QCOMPARE(fields(s.table[1]), fields(mail(titre, body)));
        QCOMPARE(s.table[2].Date, s.table[1].Date.nextMinute());
        QCOMPARE(s.rows.ItemData(1), 2);
        QCOMPARE(s.bytes(), expected + record("sept", ""));  // the move is not written back
    }

    // Start-up leaves the bodies in the file until the main window is shown.
    void aChangeBeforeTheBodiesAreReadKeepsThem()
    {
        StoreCase s;
        s.table[1] = mail("un", "corps un");
        s.table[2] = mail("deux", "corps deux");
        QVERIFY(s.store.SaveMailStore(s.table));
        s.program.pending.load();
        s.program.pending.release(1);
        s.load();
        QCOMPARE(s.table[1].Contenu.text(), "corps deux");
    }

    void aFailedSaveKeepsTheFileAndTellsOnce()
    {
        StoreCase s;
        s.table[1] = mail("un");
        QVERIFY(s.store.SaveMailStore(s.table));
        s.desk.files.failWrites = true;
        s.table[2] = mail("deux");
        QVERIFY(!s.store.SaveMailStore(s.table));
        s.table.ReleaseSlot(1), s.table.ReleaseSlot(2);
        QVERIFY(!s.store.SaveMailStore(s.table));  // the removal fails as well
        QCOMPARE(s.bytes(), record("un", ""));
        QCOMPARE(s.desk.messageBox.shown.size(), 1);
        QVERIFY(!s.desk.messageBox.shown[0].modal && s.desk.messageBox.shown[0].prompt.contains(QDir::toNativeSeparators(s.path)));

        s.desk.files.failWrites = false;
        QVERIFY(s.store.SaveMailStore(s.table));
        QVERIFY(!QFile::exists(s.path));
        QVERIFY(QDir().mkdir(s.path));  // a later failure, on the disk itself, is told again and leaves nothing behind
        s.table[1].InUse = true;
        QVERIFY(!s.store.SaveMailStore(s.table));
        QCOMPARE(s.desk.messageBox.shown.size(), 2);
        QVERIFY(QFileInfo(s.path).isDir());
        QCOMPARE(QDir(s.dir.path()).entryList(QDir::NoDotAndDotDot | QDir::Dirs | QDir::Files), QStringList{"Tardello.tmp"});
    }

    // The writes are small enough to stay in the file's buffer until the commit,
    // where a full disk was once found too late.
    void aFullDiskKeepsEveryOldFileAndTellsOnce()
    {
        FullDisk disk;
        if (!disk.mounted)
            QSKIP("no small file system can be mounted here (the Linux run as root checks the same save code)");
        TestDesktop desk;
        MailStore store(disk.filePath("Tardello.tmp"));
        MailTable table;
        table[1] = mail("un");
        QVERIFY(store.SaveMailStore(table));
        const QString settings = disk.filePath("Tardello.ini");
        MailClientChoice client;
        ListRows book;
        QVERIFY(SaveSettings(settings, client, book));
        const QByteArray damaged = "Titre=cut";
        QVERIFY(QDir(disk.path()).mkdir("old"));
        QVERIFY(desk.files.write(disk.filePath("old/Tardello.tmp"), damaged));
        const auto files = [&] { return QDir(disk.path()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name); };
        const QStringList before = files();

        disk.fill();
        table[2] = mail("deux");
        QVERIFY(!store.SaveMailStore(table));
        table[3] = mail("trois");
        QVERIFY(!store.SaveMailStore(table));
        QCOMPARE(desk.files.read(store.path()), record("un", ""));
        QCOMPARE(table.inUseCount(), 3);
        QCOMPARE(desk.messageBox.shown.size(), 1);
        client.setValue(MailClient::Notes);
        QVERIFY(!SaveSettings(settings, client, book));
        QCOMPARE(desk.files.read(settings), "Client=Outlook\r\n");
        MailStore old(disk.filePath("old/Tardello.tmp"));  // a damaged store whose copy finds no room
        MailTable oldTable;
        ListRows oldRows;
        old.LoadMailStore(oldTable, oldRows);
        QVERIFY(old.keptCopyPath().isEmpty());
        QCOMPARE(QDir(disk.filePath("old")).entryList(QDir::Files), QStringList{"Tardello.tmp"});
        QCOMPARE(files(), before);

        disk.makeRoom();
        QVERIFY(store.SaveMailStore(table));
        QCOMPARE(desk.files.read(store.path()), record("un", "") + record("deux", "") + record("trois", ""));
    }
};

QTEST_GUILESS_MAIN(MailStoreTest)
#include "tst_MailStore.moc"
