#include "ConfirmMail.h"
#include "EditorTestSupport.h"
#include "MessageBox.h"
#include "TestDesktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class tst_ConfirmMail : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void missingRequiredFieldStoresNothing_data();
    void missingRequiredFieldStoresNothing();
    void newMailIsSavedBeforeItsRowIsPlaced();
    void editRacingTheScheduler_data();
    void editRacingTheScheduler();
    void newMailNeverOverwritesATakenSlot();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TestDesktop> desktop_;
    std::unique_ptr<Program> program_;
};

void tst_ConfirmMail::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    desktop_ = std::make_unique<TestDesktop>();
    program_ = std::make_unique<Program>(dir_->path());
}

void tst_ConfirmMail::cleanup()
{
    program_.reset();
    desktop_.reset();
    dir_.reset();
}

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
    EditorFields fields = mailFields(date, time);
    fields.txtDest = dest;
    program_->EditSlot = 1;
    program_->EditRow = -1;

    QCOMPARE(ConfirmMail(*program_, fields), ConfirmOutcome::StayOpen);
    QCOMPARE(desktop_->messageBox.shown.size(), 1);
    QCOMPARE(desktop_->messageBox.shown[0].prompt, MissingFieldsPrompt);
    QCOMPARE(desktop_->messageBox.shown[0].buttons, MsgBox::Critical);
    QCOMPARE(desktop_->messageBox.shown[0].title, QStringLiteral("Tardello - Erreur"));
    QVERIFY(!program_->mailTable[1].InUse);
    QCOMPARE(program_->lstHisto.ListCount(), 0);
    QCOMPARE(desktop_->files.writes, 0);
}

void tst_ConfirmMail::newMailIsSavedBeforeItsRowIsPlaced()
{
    addPending(*program_, 1, mailFields(QStringLiteral("04/12/2026"), QStringLiteral("10:00")));
    program_->EditSlot = 2;
    program_->EditRow = -1;

    QCOMPARE(ConfirmMail(*program_, mailFields(QStringLiteral("04/12/2026"), QStringLiteral("10:00"))),
             ConfirmOutcome::Close);
    QCOMPARE(rowSlots(*program_), (QList<qint32>{1, 2}));
    QCOMPARE(program_->mailTable[2].Date.timeText(), QStringLiteral("10:01"));
    // The file was written before the collision moved the new mail a minute on.
    QFile store(program_->store.path());
    QVERIFY(store.open(QIODevice::ReadOnly));
    QCOMPARE(store.readAll().count("Date=04/12/2026 10:00"), 2);
    QVERIFY(desktop_->messageBox.shown.isEmpty());
}

void tst_ConfirmMail::editRacingTheScheduler_data()
{
    QTest::addColumn<int>("delivered");       // slot handed to the mail client during the edit, 0 none
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QList<qint32>>("rows");  // slots of lstHisto afterwards

    // Pending: slot 1 at 10:00, slot 2 at 11:00 (being changed to 13:00), slot 3 at 12:00.
    QTest::newRow("no delivery") << 0 << QList<int>{} << false << QList<qint32>{1, 3, 2};
    QTest::newRow("earlier mail left, row position stale") << 1 << QList<int>{} << false << QList<qint32>{3, 2};
    QTest::newRow("later mail left") << 3 << QList<int>{} << false << QList<qint32>{1, 2};
    QTest::newRow("edited mail left, scheduled again") << 2 << QList<int>{MsgBox::Yes} << true
                                                       << QList<qint32>{1, 3, 2};
    QTest::newRow("edited mail left, dropped") << 2 << QList<int>{MsgBox::No} << true << QList<qint32>{1, 3};
}

void tst_ConfirmMail::editRacingTheScheduler()
{
    QFETCH(int, delivered);
    QFETCH(QList<int>, answers);
    QFETCH(bool, asked);
    QFETCH(QList<qint32>, rows);
    const QString day = QStringLiteral("04/12/2026");
    addPending(*program_, 1, mailFields(day, QStringLiteral("10:00"), QStringLiteral("one")));
    addPending(*program_, 2, mailFields(day, QStringLiteral("11:00"), QStringLiteral("two")));
    addPending(*program_, 3, mailFields(day, QStringLiteral("12:00"), QStringLiteral("three")));
    program_->EditRow = 1;
    program_->EditSlot = 2;
    const QString rowOfOne = program_->lstHisto.List(0);
    const QString rowOfThree = program_->lstHisto.List(2);
    if (delivered)
        deliver(*program_, qint16(delivered));
    desktop_->messageBox.answers = answers;

    QCOMPARE(ConfirmMail(*program_, mailFields(day, QStringLiteral("13:00"), QStringLiteral("two, changed"))),
             ConfirmOutcome::Close);

    QCOMPARE(rowSlots(*program_), rows);
    QVERIFY(rowsMatchTable(*program_));
    QCOMPARE(desktop_->messageBox.shown.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(desktop_->messageBox.shown[0].prompt, AlreadySentPrompt);
        QCOMPARE(desktop_->messageBox.shown[0].buttons, MsgBox::YesNo);
        QCOMPARE(desktop_->messageBox.shown[0].title, QStringLiteral("Tardello"));
    }
    // The other mails' rows are left exactly as they were.
    for (const auto &[slot, text] : {std::pair{1, rowOfOne}, std::pair{3, rowOfThree}}) {
        const int row = program_->lstHisto.indexOfItemData(slot);
        if (slot != delivered)
            QCOMPARE(program_->lstHisto.List(row), text);
    }
    if (rows.contains(2))
        QVERIFY(program_->lstHisto.List(program_->lstHisto.indexOfItemData(2)).startsWith(day + QStringLiteral(" 13:00")));
    else
        QVERIFY(!program_->mailTable[2].InUse);
}

void tst_ConfirmMail::newMailNeverOverwritesATakenSlot()
{
    addPending(*program_, 1, mailFields(QStringLiteral("04/12/2026"), QStringLiteral("10:00"), QStringLiteral("kept")));
    program_->EditSlot = 1;  // a stale slot number for a new mail
    program_->EditRow = -1;

    QCOMPARE(ConfirmMail(*program_, mailFields(QStringLiteral("04/12/2026"), QStringLiteral("11:00"))),
             ConfirmOutcome::Close);
    QCOMPARE(program_->mailTable[1].Titre, QStringLiteral("kept"));
    QCOMPARE(program_->EditSlot, qint16(2));
    QCOMPARE(rowSlots(*program_), (QList<qint32>{1, 2}));
}

QTEST_GUILESS_MAIN(tst_ConfirmMail)
#include "tst_ConfirmMail.moc"
