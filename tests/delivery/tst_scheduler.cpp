#include "Scheduler.h"
#include "TestProgram.h"

Q_DECLARE_METATYPE(MailClient)

namespace {

struct Fixture : TestProgram
{
    explicit Fixture(MailClient client) { program.mailClient.setValue(client); }
    qint16 add(const char *when, const char *subject) { return addPendingMail(program, when, subject); }
    bool stored(const char *text) { return desk.files.read(program.paths.StorePath).value_or("").contains(text); }

    Scheduler scheduler{program};
};

} // namespace

// A launcher that lets the timer tick while the delivery is under way, as a
// mail client's call that runs the message loop would.
class TickingLauncher : public TestLauncher
{
public:
    bool launch(const QString &path) override
    {
        if (scheduler)
            std::exchange(scheduler, nullptr)->SendDueMail();
        return TestLauncher::launch(path);
    }
    Scheduler *scheduler = nullptr;
};

class SchedulerTest : public QObject
{
    Q_OBJECT
private slots:
    void dueOnlyInItsMinute_data()
    {
        QTest::addColumn<QString>("clock");
        QTest::addColumn<bool>("sent");
        QTest::newRow("first second") << "05/12/2026 14:05:00" << true;
        QTest::newRow("last second") << "05/12/2026 14:05:59" << true;
        QTest::newRow("minute before") << "05/12/2026 14:04:59" << false;
        QTest::newRow("minute after, no catch-up") << "05/12/2026 14:06:00" << false;
        QTest::newRow("same minute, next day") << "06/12/2026 14:05:30" << false;
        QTest::newRow("hour differs") << "05/12/2026 15:05:30" << false;
    }

    void dueOnlyInItsMinute()
    {
        QFETCH(QString, clock);
        QFETCH(bool, sent);
        Fixture f(MailClient::Express);
        f.add("05/12/2026 14:05", "Rapport");
        f.add("05/12/2026 18:00", "Soir");
        f.program.pending.lstHisto().AddItem(QStringLiteral("not a mail"), 0, 0);  // a row without a slot is never due
        const QStringList rowsBefore = f.program.pending.lstHisto().texts();
        f.desk.clock.set(clock);
        f.scheduler.SendDueMail();
        QCOMPARE(f.program.lstSent.texts(), sent ? QStringList{rowsBefore.at(1)} : QStringList{});
        QCOMPARE(f.program.pending.lstHisto().ListCount(), rowsBefore.size() - (sent ? 1 : 0));
        QCOMPARE(f.stored("Rapport"), !sent);
        QCOMPARE(f.mailClients.calls.empty(), !sent);
    }

    void oneMailPerPassThroughChosenClient_data()
    {
        QTest::addColumn<MailClient>("client");
        QTest::addColumn<QString>("className");
        QTest::newRow("Outlook") << MailClient::Outlook << "Outlook.application";
        QTest::newRow("Notes") << MailClient::Notes << "Notes.NotesSession";
        QTest::newRow("Express") << MailClient::Express << "MSMAPI.MAPISession";
    }

    // Two mails due in one minute go one per pass; the sibling tool is started once per Outlook
    // delivery, and a sibling that cannot start does not hold the mail back. A tick while the
    // sibling starts hands nothing over.
    void oneMailPerPassThroughChosenClient()
    {
        QFETCH(MailClient, client);
        QFETCH(QString, className);
        Fixture f(client);
        TickingLauncher launcher;
        launcher.succeeds = false;
        launcher.scheduler = &f.scheduler;
        desktop().launcher = &launcher;
        const qint16 first = f.add("05/12/2026 14:05", "Rapport");
        f.add("05/12/2026 14:06", "Suivant");
        const qint16 second = f.add("05/12/2026 14:07", "Second");
        const_cast<MailTable &>(f.program.pending.table())[second].Date = f.program.pending[first].Date;
        const QStringList rows = f.program.pending.lstHisto().texts();
        f.desk.clock.set(QStringLiteral("05/12/2026 14:05:20"));
        const qsizetype launchesPerMail = client == MailClient::Outlook ? 1 : 0;

        for (int pass = 1; pass <= 3; ++pass) {
            f.scheduler.SendDueMail();
            const std::ptrdiff_t sent = std::min(pass, 2);
            QCOMPARE(std::ranges::count(f.mailClients.calls, "create " + className.toStdString()), sent);
            QCOMPARE(launcher.launched, QStringList(launchesPerMail * sent, f.program.paths.OutlookToolPath));
            QCOMPARE(f.program.lstSent.texts(), (QStringList{rows[0], rows[2]}.first(sent)));
            QCOMPARE(f.program.pending.lstHisto().texts(), rows.mid(1, pass == 1 ? 2 : 1));
        }
        QVERIFY(!f.stored("Rapport") && !f.stored("Second") && f.stored("Suivant"));
        QVERIFY(f.desk.messageBox.shown.isEmpty());
    }

    // A mail client that fails leaves the mail pending, told once however many passes of its
    // minute retry it; a retry that goes through moves it.
    void failureLeavesMailPendingAndIsToldOnce()
    {
        Fixture f(MailClient::Notes);
        f.add("05/12/2026 14:05", "Rapport");
        f.mailClients.failAt = 0;
        for (const char *clock : {"05/12/2026 14:05:05", "05/12/2026 14:05:55"}) {
            f.desk.clock.set(clock);
            f.mailClients.calls.clear();  // failAt counts the calls recorded
            f.scheduler.SendDueMail();
        }
        QCOMPARE(f.program.pending.lstHisto().ListCount(), 1);
        QVERIFY(f.stored("Rapport"));
        QCOMPARE(f.desk.messageBox.shown.size(), 1);
        const auto told = f.desk.messageBox.shown.first();
        QVERIFY(!told.modal && told.prompt.contains("Le mail \"Rapport\"") && told.prompt.contains("marqué"));

        f.mailClients.failAt = -1;
        f.scheduler.SendDueMail();
        QCOMPARE(f.program.lstSent.ListCount(), 1);
        QVERIFY(f.program.pending.lstHisto().ListCount() == 0 && !f.stored("Rapport"));
    }

    // A mail whose minute passed unsent (here: a Notes failure all through its
    // minute, and one planned while the program was stopped) is marked and told
    // once; "send now" moves the marked ones to the current minute, in order,
    // and the passes send them one per minute. Unmarked rows stay as they are.
    void missedMailsAreMarkedToldOnceAndSentOnRequest()
    {
        Fixture f(MailClient::Notes);
        QList<QList<qint16>> told;
        f.scheduler.missedMailsFound = [&](const QList<qint16> &mails) { told << mails; };
        const qint16 stopped = f.add("05/12/2026 13:50", "Pendant l'arrêt");
        const qint16 failing = f.add("05/12/2026 14:05", "Refusé");
        const qint16 later = f.add("05/12/2026 18:00", "Plus tard");
        f.desk.clock.set("05/12/2026 14:05:10");
        f.mailClients.failAt = 0;
        f.scheduler.SendDueMail();
        QCOMPARE(told, QList<QList<qint16>>{{stopped}});
        f.desk.clock.set("05/12/2026 14:09:00");  // the machine slept
        f.scheduler.SendDueMail();
        f.scheduler.SendDueMail();
        QCOMPARE(told, (QList<QList<qint16>>{{stopped}, {failing}}));  // each marked, so told once

        f.mailClients.failAt = -1;
        f.scheduler.SendMissedNow({failing, stopped, later});
        QCOMPARE(f.program.lstSent.ListCount(), 1);  // the first leaves at once, in the current minute
        QVERIFY(f.program.lstSent.List(0).startsWith("05/12/2026 14:09") && f.program.lstSent.List(0).contains("Pendant"));
        QCOMPARE(f.program.pending[failing].Date.dateTimeText(), QStringLiteral("05/12/2026 14:10"));
        QCOMPARE(f.program.pending[later].Date.dateTimeText(), QStringLiteral("05/12/2026 18:00"));
        QVERIFY(!f.program.pending.lstHisto().marked(f.program.pending.rowOfSlot(failing)));
        QVERIFY(f.stored("14:10") && !f.stored("Pendant"));
        f.desk.clock.set("05/12/2026 14:10:30");
        f.scheduler.SendDueMail();
        QCOMPARE(f.program.lstSent.ListCount(), 2);
        QVERIFY(f.program.lstSent.List(1).contains("Refusé"));
        QCOMPARE(told.size(), 2);
    }
};

QTEST_GUILESS_MAIN(SchedulerTest)
#include "tst_scheduler.moc"
