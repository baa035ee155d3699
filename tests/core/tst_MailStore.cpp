#include "MailStore.h"
#include "PendingRows.h"
#include "TestDesktop.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

MailItem mail(const QString &titre, const QString &body, SendMoment date = SendMoment::fromDateTime({2026, 12, 4}, {18, 30}))
{
    MailItem item;
    item.InUse = true;
    item.Titre = titre;
    item.Dest = QStringLiteral("a@x.fr;b@y.fr");
    item.Attach = QStringLiteral("C:\\Docs\\ordre.doc");
    item.Contenu = body;
    item.Date = date;
    return item;
}

QByteArray record(const QByteArray &titre, const QByteArray &body)
{
    return "Titre=" + titre + "\r\nDest=a@x.fr;b@y.fr\r\nCC=\r\nBCC=\r\nDate=04/12/2026 18:30\r\n"
           "Attach=C:\\Docs\\ordre.doc\r\nDebutContenu=\r\n" + body + "\r\n=FinContenu\r\n";
}

bool sameMail(const MailItem &a, const MailItem &b)
{
    return a.Titre == b.Titre && a.Dest == b.Dest && a.CC == b.CC && a.BCC == b.BCC && a.Attach == b.Attach
        && a.Contenu == b.Contenu && a.Date == b.Date && a.InUse == b.InUse;
}
} // namespace

class MailStoreTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString storePath() const { return dir.filePath(QStringLiteral("Tardello.tmp")); }

private slots:
    void writesTheLayoutByteForByte_data()
    {
        QTest::addColumn<QString>("titre");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("two-line body, accents as single bytes")
            << QStringLiteral("Rappel €") << QStringLiteral("Bonjour,\r\nà ce soir.")
            << record("Rappel \x80", "Bonjour,\r\n\xE0 ce soir.");
        QTest::newRow("empty body is one empty line") << QStringLiteral("a=b") << QString() << record("a=b", "");
        QTest::newRow("body ending with a break") << QStringLiteral("x") << QStringLiteral("fin\r\n")
                                                    << record("x", "fin\r\n");
        QTest::newRow("outside the code page: UTF-8 after a BOM")
            << QStringLiteral("Ω é") << QStringLiteral("x") << "\xEF\xBB\xBF" + record("\xCE\xA9 \xC3\xA9", "x");
        QTest::newRow("end marker inside the body is escaped")
            << QStringLiteral("a\\b") << QStringLiteral("=FinContenu\r\nz")
            << "Echappement=1\r\n" + record("a\\\\b", "\\=FinContenu\r\nz").replace("C:\\Docs\\ordre", "C:\\\\Docs\\\\ordre");
    }
    void writesTheLayoutByteForByte()
    {
        QFETCH(QString, titre);
        QFETCH(QString, body);
        QFETCH(QByteArray, expected);
        TestDesktop desk;
        MailTable table;
        table[4] = mail(titre, body);
        MailStore store(storePath());
        QVERIFY(store.SaveMailStore(table));
        QCOMPARE(fileBytes(storePath()), expected);

        MailTable loaded;
        ListRows rows;
        store.LoadMailStore(loaded, rows);
        QVERIFY(sameMail(loaded[1], table[4]));
        QCOMPARE(rows.ListCount(), 1);
        QVERIFY(store.keptCopyPath().isEmpty());
    }

    void generatedMailsSurviveSaveAndLoad()
    {
        TestDesktop desk;
        const QStringList pieces{"a", " ", "=", "é", "€", "Ω", "😀", "\r\n", "\n", "\r", "\\", "\\n",
                                 "=FinContenu", "DebutContenu=", "Titre=", "\r\n=FinContenu\r\n"};
        QRandomGenerator random(20261204);
        auto text = [&] {
            QString result;
            for (int n = random.bounded(8); n > 0; --n)
                result += pieces[random.bounded(pieces.size())];
            return result;
        };
        for (int round = 0; round < 20; ++round) {
            MailTable table;
            for (qint16 slot = 1; slot <= MailSlots; ++slot) {
                if (random.bounded(4) == 0)
                    continue;
                MailItem &item = table[slot];
                item = mail(text(), text(), SendMoment::fromMinutes(60'000'000 + slot * 7));
                item.Dest = text(), item.CC = text(), item.BCC = text(), item.Attach = text();
            }
            MailStore store(storePath());
            QVERIFY(store.SaveMailStore(table));
            const QByteArray first = fileBytes(storePath());
            MailTable loaded;
            ListRows rows;
            store.LoadMailStore(loaded, rows);
            QVERIFY(store.keptCopyPath().isEmpty());
            qint16 next = 1;
            for (qint16 slot = 1; slot <= MailSlots; ++slot) {
                if (table[slot].InUse)
                    QVERIFY2(sameMail(loaded[next++], table[slot]), qPrintable(QString::number(slot)));
            }
            QCOMPARE(loaded.inUseCount(), table.inUseCount());
            QVERIFY(store.SaveMailStore(loaded));
            QCOMPARE(fileBytes(storePath()), first);
        }
    }

    void loadingFillsSlotsInFileOrderAndMovesACollision()
    {
        TestDesktop desk;
        MailTable table;
        table[3] = mail(QStringLiteral("trois"), {});
        table[7] = mail(QStringLiteral("sept"), {});
        MailStore store(storePath());
        QVERIFY(store.SaveMailStore(table));
        MailTable loaded;
        ListRows rows;
        store.LoadMailStore(loaded, rows);
        QCOMPARE(loaded.inUseCount(), 2);
        QCOMPARE(loaded[1].Titre, QStringLiteral("trois"));
        QCOMPARE(loaded[2].Titre, QStringLiteral("sept"));
        QCOMPARE(loaded[2].Date, table[7].Date.nextMinute());
        QCOMPARE(rows.ItemData(0), 1);
        QCOMPARE(rows.ItemData(1), 2);
        QVERIFY(fileBytes(storePath()).contains("sept\r\nDest=a@x.fr;b@y.fr\r\nCC=\r\nBCC=\r\nDate=04/12/2026 18:30"));
    }

    void aFailedSaveKeepsTheFileAndTellsOnce()
    {
        TestDesktop desk;
        MailTable table;
        table[1] = mail(QStringLiteral("un"), {});
        MailStore store(storePath());
        QVERIFY(store.SaveMailStore(table));
        const QByteArray before = fileBytes(storePath());

        desk.files.failWrites = true;
        table[2] = mail(QStringLiteral("deux"), {});
        QVERIFY(!store.SaveMailStore(table));
        table.ReleaseSlot(1), table.ReleaseSlot(2);
        QVERIFY(!store.SaveMailStore(table));  // the removal fails as well
        QCOMPARE(fileBytes(storePath()), before);
        QCOMPARE(desk.messageBox.shown.size(), 1);
        const auto notice = desk.messageBox.shown.first();
        QVERIFY(!notice.modal);
        QCOMPARE(notice.title, QStringLiteral("Tardello - Erreur"));
        QVERIFY(notice.prompt.startsWith(QStringLiteral("    Les mails en attente n'ont pas pu être enregistrés")));
        QVERIFY(notice.prompt.contains(QDir::toNativeSeparators(storePath())) && notice.prompt.endsWith(".    "));
        QCOMPARE(table[2].Titre, QStringLiteral("deux"));

        desk.files.failWrites = false;
        QVERIFY(store.SaveMailStore(table));
        QVERIFY(!QFile::exists(storePath()));
        desk.files.failWrites = true;
        table[1].InUse = true;
        QVERIFY(!store.SaveMailStore(table));
        QCOMPARE(desk.messageBox.shown.size(), 2);
    }

    void aStorePathThatCannotBeReplacedFailsCleanly()
    {
        TestDesktop desk;
        QTemporaryDir own;
        const QString path = own.filePath(QStringLiteral("Tardello.tmp"));
        QVERIFY(QDir().mkdir(path));
        MailTable table;
        table[1] = mail(QStringLiteral("un"), {});
        MailStore store(path);
        QVERIFY(!store.SaveMailStore(table));
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(QDir(own.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"Tardello.tmp"});
        QCOMPARE(desk.messageBox.shown.size(), 1);
    }

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
        MailTable table;
        ListRows rows;
        store.LoadMailStore(table, rows);
        QStringList loaded;
        for (qint16 slot = 1; slot <= table.inUseCount(); ++slot)
            loaded << table[slot].Titre;
        QCOMPARE(loaded, titles);
        QCOMPARE(rows.ListCount(), titles.size());
        QCOMPARE(fileBytes(path), content);
        QCOMPARE(store.keptCopyPath().isEmpty(), !keptCopy);
        QCOMPARE(desk.messageBox.shown.size(), keptCopy ? 1 : 0);
        if (keptCopy)
            QCOMPARE(fileBytes(store.keptCopyPath()), content);
        if (QByteArray(QTest::currentDataTag()) == "unreadable date")
            QCOMPARE(table[1].Date, SendMoment());
    }

    void keptCopiesNeverReplaceEarlierOnes()
    {
        TestDesktop desk;
        QTemporaryDir own;
        const QString path = own.filePath(QStringLiteral("Tardello.tmp"));
        putFile(path + ".bak", "first");
        putFile(path + ".bak2", "second");
        putFile(path, "Titre=cut");
        MailStore store(path);
        MailTable table;
        ListRows rows;
        store.LoadMailStore(table, rows);
        QCOMPARE(store.keptCopyPath(), path + ".bak3");
        QCOMPARE(fileBytes(path + ".bak"), QByteArray("first"));
        QCOMPARE(fileBytes(path + ".bak3"), QByteArray("Titre=cut"));
    }

    void aFileThatCouldNotBeKeptIsSetAsideBeforeItIsReplaced()
    {
        TestDesktop desk;
        QTemporaryDir own;
        const QString path = own.filePath(QStringLiteral("Tardello.tmp"));
        putFile(path, "Titre=cut");
        MailStore store(path);
        MailTable table;
        ListRows rows;
        desk.files.failWrites = true;
        store.LoadMailStore(table, rows);
        QVERIFY(store.keptCopyPath().isEmpty());
        desk.files.failWrites = false;
        QVERIFY(store.SaveMailStore(table));
        QCOMPARE(fileBytes(path + ".bak"), QByteArray("Titre=cut"));
        QVERIFY(fileBytes(path).startsWith("Titre=cut\r\nDest=\r\n"));
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
        MailTable table;
        ListRows rows;
        store.LoadMailStore(table, rows);
        QVERIFY(table.inUseCount() >= 1 && table.inUseCount() <= MailSlots);
        QCOMPARE(table[1].Contenu.size(), 4 << 20);
        QCOMPARE(fileBytes(store.keptCopyPath()).size(), QFileInfo(path).size());
    }
};

QTEST_GUILESS_MAIN(MailStoreTest)
#include "tst_MailStore.moc"
