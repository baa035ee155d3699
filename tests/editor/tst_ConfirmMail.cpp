#include "ConfirmMail.h"
#include "EditorTestSupport.h"
#include "MessageBox.h"
#include "TestDesktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_ConfirmMail : public QObject
{
    Q_OBJECT
private slots:
    void missingRequiredFieldStoresNothing_data();
    void missingRequiredFieldStoresNothing();
    void storeIsWrittenBeforeTheRowIsPlaced();
    void editRacingTheScheduler_data();
    void editRacingTheScheduler();
};

void tst_ConfirmMail::missingRequiredFieldStoresNothing_data()
{
    QTest::addColumn<QString>("dest");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("To") << "" << "04/12/2026" << "10:00";
    QTest::newRow("date") << "a" << "" << "10:00";
    QTest::newRow("time") << "a" << "04/12/2026" << "";
}

void tst_ConfirmMail::missingRequiredFieldStoresNothing()
{
    QFETCH(QString, dest);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QTemporaryDir dir;
    TestDesktop desktop;
    Program program(dir.path());
    EditorFields fields = mailFields(time);
    fields.txtDest = dest;
    fields.txtDate = date;
    program.EditSlot = 1;

    QCOMPARE(ConfirmMail(program, fields), ConfirmOutcome::StayOpen);
    QCOMPARE(desktop.messageBox.shown.size(), 1);
    QCOMPARE(desktop.messageBox.shown[0].prompt, MissingFieldsPrompt);
    QCOMPARE(desktop.messageBox.shown[0].buttons, MsgBox::Critical);
    QCOMPARE(desktop.messageBox.shown[0].title, QStringLiteral("Tardello - Erreur"));
    QVERIFY(!program.mailTable[1].InUse);
    QCOMPARE(program.lstHisto.ListCount(), 0);
    QCOMPARE(desktop.files.writes, 0);
}

void tst_ConfirmMail::storeIsWrittenBeforeTheRowIsPlaced()
{
    QTemporaryDir dir;
    TestDesktop desktop;
    Program program(dir.path());
    addPending(program, 1, mailFields(QStringLiteral("10:00")));
    program.EditSlot = 2;

    QCOMPARE(ConfirmMail(program, mailFields(QStringLiteral("10:00"))), ConfirmOutcome::Close);
    QCOMPARE(rowSlots(program), (QList<qint32>{1, 2}));
    QCOMPARE(program.mailTable[2].Date.timeText(), QStringLiteral("10:01"));
    // Saved before the collision moved the new mail a minute on.
    QFile store(program.store.path());
    QVERIFY(store.open(QIODevice::ReadOnly));
    QCOMPARE(store.readAll().count("Date=04/12/2026 10:00"), 2);
}

void tst_ConfirmMail::editRacingTheScheduler_data()
{
    QTest::addColumn<int>("delivered");       // slot handed to the mail client meanwhile, 0 none
    QTest::addColumn<int>("answer");          // to the question, if asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QList<qint32>>("rows");  // slots of the pending rows afterwards

    // Pending: slot 1 at 10:00, slot 2 at 11:00 (changed to 13:00), slot 3 at 12:00.
    QTest::newRow("no delivery") << 0 << 0 << false << QList<qint32>{1, 3, 2};
    QTest::newRow("earlier mail left: row position stale") << 1 << 0 << false << QList<qint32>{3, 2};
    QTest::newRow("later mail left") << 3 << 0 << false << QList<qint32>{1, 2};
    QTest::newRow("edited mail left, scheduled again") << 2 << MsgBox::Yes << true << QList<qint32>{1, 3, 2};
    QTest::newRow("edited mail left, dropped") << 2 << MsgBox::No << true << QList<qint32>{1, 3};
}

void tst_ConfirmMail::editRacingTheScheduler()
{
    QFETCH(int, delivered);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(QList<qint32>, rows);
    QTemporaryDir dir;
    TestDesktop desktop;
    Program program(dir.path());
    addPending(program, 1, mailFields(QStringLiteral("10:00"), QStringLiteral("one")));
    addPending(program, 2, mailFields(QStringLiteral("11:00"), QStringLiteral("two")));
    addPending(program, 3, mailFields(QStringLiteral("12:00"), QStringLiteral("three")));
    const QStringList before = program.lstHisto.texts();
    program.EditRow = 1;
    program.EditSlot = 2;
    if (delivered)
        QVERIFY(deliver(program, desktop, qint16(delivered)));
    desktop.messageBox.answers = {answer};

    QCOMPARE(ConfirmMail(program, mailFields(QStringLiteral("13:00"))), ConfirmOutcome::Close);

    QCOMPARE(rowSlots(program), rows);
    QCOMPARE(program.lstHisto.ListCount(), program.mailTable.inUseCount());
    QCOMPARE(desktop.messageBox.shown.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(desktop.messageBox.shown[0].prompt, AlreadySentPrompt);
        QCOMPARE(desktop.messageBox.shown[0].buttons, MsgBox::YesNo);
        QCOMPARE(desktop.messageBox.shown[0].title, QStringLiteral("Tardello"));
    }
    // Other mails' rows are untouched; the edited one stands at its new time.
    for (const qint32 slot : rows) {
        const QString text = program.lstHisto.List(program.lstHisto.indexOfItemData(slot));
        QCOMPARE(text, slot == 2 ? PendingRowText(program.mailTable[2]) : before[slot - 1]);
    }
    if (rows.contains(2))
        QCOMPARE(program.mailTable[2].Date.timeText(), QStringLiteral("13:00"));
}

QTEST_GUILESS_MAIN(tst_ConfirmMail)
#include "tst_ConfirmMail.moc"
