#include "PendingRows.h"
#include "StoreFixtures.h"
#include "TestDesktop.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace StoreFixtures;

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

        QVERIFY(sameMail(load(store)->table[1], table[4]));
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
            const auto loaded = load(store);
            QVERIFY(store.keptCopyPath().isEmpty());
            qint16 next = 1;
            for (qint16 slot = 1; slot <= MailSlots; ++slot) {
                if (table[slot].InUse)
                    QVERIFY2(sameMail(loaded->table[next++], table[slot]), qPrintable(QString::number(slot)));
            }
            QCOMPARE(loaded->table.inUseCount(), table.inUseCount());
            QVERIFY(store.SaveMailStore(loaded->table));
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
        const auto loaded = load(store);
        QCOMPARE(loaded->table.inUseCount(), 2);
        QCOMPARE(loaded->table[1].Titre, QStringLiteral("trois"));
        QCOMPARE(loaded->table[2].Titre, QStringLiteral("sept"));
        QCOMPARE(loaded->table[2].Date, table[7].Date.nextMinute());
        QCOMPARE(loaded->rows.ItemData(1), 2);
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
};

QTEST_GUILESS_MAIN(MailStoreTest)
#include "tst_MailStore.moc"
