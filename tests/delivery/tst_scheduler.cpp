#include "Scheduler.h"
#include "TestProgram.h"

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
    void dueOnlyInItsMinute()
    {
        for (const auto &[clock, sent] : {std::pair{"05/12/2026 14:05:00", true}, {"05/12/2026 14:05:59", true},
                                          {"05/12/2026 14:04:59", false}, {"05/12/2026 14:06:00", false},  // no catch-up
                                          {"06/12/2026 14:05:30", false}, {"05/12/2026 15:05:30", false}}) {
            Fixture f(MailClient::Express);
            f.add("05/12/2026 14:05", "Rapport");
            f.add("05/12/2026 18:00", "Soir");
            f.program.pending.lstHisto().AddItem(QStringLiteral("not a mail"), 0, 0);  // a row without a slot is never due
            const QStringList rowsBefore = f.program.pending.lstHisto().texts();
            f.desk.clock.set(clock);
            f.scheduler.SendDueMail();
            QCOMPARE(f.program.lstSent.texts(), sent ? QStringList{rowsBefore.at(1)} : QStringList{});
            QCOMPARE(f.program.pending.lstHisto().ListCount(), rowsBefore.size() - (sent ? 1 : 0));
            QVERIFY2(f.stored("Rapport") != sent && f.mailClients.calls.empty() != sent, clock);
        }
    }

    // Two mails due in one minute go one per pass; the sibling tool is started once per Outlook
    // delivery, and a sibling that cannot start does not hold the mail back. A tick while the
    // sibling starts hands nothing over.
    void oneMailPerPassThroughChosenClient()
    {
        for (const auto &[client, className] : {std::pair{MailClient::Outlook, "Outlook.application"},
                                                {MailClient::Notes, "Notes.NotesSession"}, {MailClient::Express, "MSMAPI.MAPISession"}}) {
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

            for (int pass = 1; pass <= 3; ++pass) {
                f.scheduler.SendDueMail();
                const std::ptrdiff_t sent = std::min(pass, 2);
                QCOMPARE(std::ranges::count(f.mailClients.calls, "create " + std::string(className)), sent);
                QCOMPARE(launcher.launched, QStringList(client == MailClient::Outlook ? sent : 0, f.program.paths.OutlookToolPath));
                QCOMPARE(f.program.lstSent.texts(), (QStringList{rows[0], rows[2]}.first(sent)));
                QCOMPARE(f.program.pending.lstHisto().texts(), rows.mid(1, pass == 1 ? 2 : 1));
            }
            QVERIFY(!f.stored("Rapport") && !f.stored("Second") && f.stored("Suivant"));
            QVERIFY(f.desk.messageBox.shown.isEmpty());
        }
    }

    // A mail client that fails leaves the mail pending, told once however many passes of its minute retry
    // it. A mail whose minute passed unsent (that one, and one planned while the program was stopped) is
    // marked and told once; "send now" moves the marked ones to the current minute, in order, and the
    // passes send them one per minute. Unmarked rows stay as they are.
    void failedOrMissedMailsAreMarkedToldOnceAndSentOnRequest()
    {
        Fixture f(MailClient::Notes);
        QList<QList<qint16>> told;
        f.scheduler.missedMailsFound = [&](const QList<qint16> &mails) { told << mails; };
        const qint16 stopped = f.add("05/12/2026 13:50", "Pendant l'arrêt");
        const qint16 failing = f.add("05/12/2026 14:05", "Refusé");
        const qint16 later = f.add("05/12/2026 18:00", "Plus tard");
        f.mailClients.failAt = 0;
        for (const char *clock : {"05/12/2026 14:05:05", "05/12/2026 14:05:55"}) {
            f.desk.clock.set(clock);
            f.mailClients.calls.clear();  // failAt counts the calls recorded
            f.scheduler.SendDueMail();
        }
        QVERIFY(!f.mailClients.calls.empty() && f.stored("Titre=Refus"));  // tried again, still pending
        QCOMPARE(f.desk.messageBox.shown.size(), 1);
        const auto failure = f.desk.messageBox.shown.first();
        QVERIFY(!failure.modal && failure.prompt.contains("Le mail \"Refusé\"") && failure.prompt.contains("marqué"));
        QCOMPARE(told, QList<QList<qint16>>{{stopped}});
        f.desk.clock.set("05/12/2026 14:09:00");  // the machine slept
        f.scheduler.SendDueMail();
        f.scheduler.SendDueMail();
        QCOMPARE(told, (QList<QList<qint16>>{{stopped}, {failing}}));  // each marked, so told once

        f.mailClients.failAt = -1;
        f.scheduler.SendMissedNow({failing, stopped, later});
        QCOMPARE(f.program.lstSent.ListCount(), 1);  // the first leaves at once, in the current minute
        QVERIFY(f.program.lstSent.List(0).startsWith("05/12/2026 14:09") && f.program.lstSent.List(0).contains("Pendant"));
        QCOMPARE(f.program.pending[later].Date.dateTimeText(), QStringLiteral("05/12/2026 18:00"));
        QVERIFY(!f.program.pending.lstHisto().marked(f.program.pending.rowOfSlot(failing)));
        QVERIFY(f.stored("14:10") && !f.stored("Pendant"));
        f.desk.clock.set("05/12/2026 14:10:30");  // the next one was moved to this minute
        f.scheduler.SendDueMail();
        QCOMPARE(f.program.lstSent.ListCount(), 2);
        QVERIFY(f.program.lstSent.List(1).contains("Refusé") && !f.stored("Titre=Refus"));
        QCOMPARE(told.size(), 2);
    }
};

QTEST_GUILESS_MAIN(SchedulerTest)
#include "tst_scheduler.moc"
