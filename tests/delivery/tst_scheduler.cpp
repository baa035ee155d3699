#include "DateText.h"
#include "PendingRows.h"
#include "Program.h"
#include "RecordingAutomation.h"
#include "Scheduler.h"
#include "TestDesktop.h"

#include <QtTest>

Q_DECLARE_METATYPE(MailClient)

namespace {

// A program in a temporary directory with the recording factory as its mail clients.
struct Fixture
{
    Fixture() : program(dir.path())
    {
        factory.scriptMailClients();
        desktop().automation = &factory;
    }
    qint16 add(const QString &when, const QString &subject)
    {
        const qint16 slot = program.mailTable.FindFreeSlot();
        MailItem &mail = program.mailTable[slot];
        mail = MailItem{};
        mail.Date = SendMoment::fromDateTime(*DateText::readDateTime(when, 2026));
        mail.Titre = subject;
        mail.Dest = QStringLiteral("a@x.fr");
        mail.Contenu = QStringLiteral("Bonjour");
        mail.InUse = true;
        InsertPendingRow(program.mailTable, program.lstHisto, slot);
        program.store.SaveMailStore(program.mailTable);
        return slot;
    }
    QByteArray storeFile() const
    {
        QFile file(program.paths.StorePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int created(const std::string &className) const
    {
        return int(std::count(factory.calls.begin(), factory.calls.end(), "create " + className));
    }

    QTemporaryDir dir;
    TestDesktop test;
    RecordingFactory factory;
    Program program;
    Scheduler scheduler{program};
};

} // namespace

class SchedulerTest : public QObject
{
    Q_OBJECT
private slots:
    void dueOnlyInItsMinute_data();
    void dueOnlyInItsMinute();
    void deliveryThroughChosenClient_data();
    void deliveryThroughChosenClient();
    void failedRouteLeavesMailPendingAndRetries_data();
    void failedRouteLeavesMailPendingAndRetries();
    void onePassSendsOneMail();
};

void SchedulerTest::dueOnlyInItsMinute_data()
{
    QTest::addColumn<QString>("clock");
    QTest::addColumn<bool>("sent");
    QTest::newRow("first second") << "05/12/2026 14:05:00" << true;
    QTest::newRow("last second") << "05/12/2026 14:05:59" << true;
    QTest::newRow("minute before") << "05/12/2026 14:04:59" << false;
    QTest::newRow("minute after, no catch-up") << "05/12/2026 14:06:00" << false;
    QTest::newRow("same minute, next day") << "06/12/2026 14:05:30" << false;
    QTest::newRow("same minute, other month") << "05/11/2026 14:05:30" << false;
    QTest::newRow("hour differs") << "05/12/2026 15:05:30" << false;
}

void SchedulerTest::dueOnlyInItsMinute()
{
    QFETCH(QString, clock);
    QFETCH(bool, sent);
    Fixture f;
    f.program.mailClient.setValue(MailClient::Express);
    f.add(QStringLiteral("05/12/2026 14:05"), QStringLiteral("Rapport"));
    f.add(QStringLiteral("05/12/2026 18:00"), QStringLiteral("Soir"));
    f.program.lstHisto.AddItem(QStringLiteral("not a mail"), 0, 0);  // a row without a slot is never due
    const QStringList rowsBefore = f.program.lstHisto.texts();
    f.test.clock.set(clock);

    f.scheduler.SendDueMail();

    QCOMPARE(f.program.lstSent.ListCount(), sent ? 1 : 0);
    QCOMPARE(f.program.lstHisto.ListCount(), rowsBefore.size() - (sent ? 1 : 0));
    QCOMPARE(f.storeFile().contains("Rapport"), !sent);
    QCOMPARE(f.factory.calls.empty(), !sent);
    if (sent)
        QCOMPARE(f.program.lstSent.List(0), rowsBefore.at(1));
}

void SchedulerTest::deliveryThroughChosenClient_data()
{
    QTest::addColumn<MailClient>("client");
    QTest::addColumn<bool>("launchSucceeds");
    QTest::addColumn<QString>("className");
    QTest::newRow("Outlook") << MailClient::Outlook << true << "Outlook.application";
    QTest::newRow("Outlook, sibling missing") << MailClient::Outlook << false << "Outlook.application";
    QTest::newRow("Notes") << MailClient::Notes << true << "Notes.NotesSession";
    QTest::newRow("Express") << MailClient::Express << true << "MSMAPI.MAPISession";
}

void SchedulerTest::deliveryThroughChosenClient()
{
    QFETCH(MailClient, client);
    QFETCH(bool, launchSucceeds);
    QFETCH(QString, className);
    Fixture f;
    f.program.mailClient.setValue(client);
    f.test.launcher.succeeds = launchSucceeds;
    const qint16 later = f.add(QStringLiteral("05/12/2026 14:06"), QStringLiteral("Suivant"));
    const qint16 slot = f.add(QStringLiteral("05/12/2026 14:05"), QStringLiteral("Rapport"));
    const QString row = f.program.lstHisto.List(0);
    f.test.clock.set(QStringLiteral("05/12/2026 14:05:20"));

    f.scheduler.SendDueMail();

    const QStringList expectedLaunches = client == MailClient::Outlook ? QStringList{f.program.paths.OutlookToolPath}
                                                                        : QStringList{};
    QCOMPARE(f.test.launcher.launched, expectedLaunches);
    QCOMPARE(f.created(className.toStdString()), 1);
    QCOMPARE(f.factory.live(), 0);
    QCOMPARE(f.program.lstSent.texts(), QStringList{row});
    QCOMPARE(f.program.lstHisto.ListCount(), 1);
    QCOMPARE(f.program.lstHisto.ItemData(0), later);
    QVERIFY(!f.program.mailTable[slot].InUse);
    QVERIFY(!f.storeFile().contains("Rapport"));
    QVERIFY(f.storeFile().contains("Suivant"));
    QVERIFY(f.test.messageBox.shown.isEmpty());
}

void SchedulerTest::failedRouteLeavesMailPendingAndRetries_data()
{
    QTest::addColumn<MailClient>("client");
    QTest::addColumn<int>("failingStep");
    QTest::addColumn<QString>("failingCall");
    QTest::newRow("Outlook cannot be created") << MailClient::Outlook << 0 << "create Outlook.application";
    QTest::newRow("Outlook refuses to send") << MailClient::Outlook << 5 << "item call Send";
    QTest::newRow("Notes cannot be created") << MailClient::Notes << 0 << "create Notes.NotesSession";
    QTest::newRow("Notes refuses to send") << MailClient::Notes << 12 << "document call Send int16:0 empty";
    QTest::newRow("Express sign-on refused") << MailClient::Express << 1 << "MSMAPI.MAPISession call #8";
    QTest::newRow("Express refuses to send") << MailClient::Express << 12 << "MSMAPI.MAPIMessages call #43 bool:false";
}

void SchedulerTest::failedRouteLeavesMailPendingAndRetries()
{
    QFETCH(MailClient, client);
    QFETCH(int, failingStep);
    QFETCH(QString, failingCall);
    Fixture f;
    f.program.mailClient.setValue(client);
    f.add(QStringLiteral("05/12/2026 14:05"), QStringLiteral("Rapport"));
    f.test.clock.set(QStringLiteral("05/12/2026 14:05:05"));
    const bool swallowed = client == MailClient::Outlook;

    f.factory.failAt = failingStep;
    f.scheduler.SendDueMail();
    QCOMPARE(f.factory.calls.size(), std::size_t(failingStep + 1));
    QCOMPARE(QString::fromStdString(f.factory.calls.back()), failingCall);
    QCOMPARE(f.factory.live(), 0);
    QCOMPARE(f.program.lstSent.ListCount(), swallowed ? 1 : 0);
    QCOMPARE(f.program.lstHisto.ListCount(), swallowed ? 0 : 1);
    QCOMPARE(f.storeFile().contains("Rapport"), !swallowed);
    if (swallowed) {
        QVERIFY(f.test.messageBox.shown.isEmpty());
        return;
    }
    QCOMPARE(f.test.messageBox.shown.size(), 1);
    const auto told = f.test.messageBox.shown.first();
    QVERIFY(!told.modal);
    QCOMPARE(told.title, QStringLiteral("Tardello - Erreur"));
    QVERIFY(told.prompt.startsWith(QStringLiteral("    Le mail \"Rapport\"")));
    QVERIFY(told.prompt.endsWith(QStringLiteral(".    ")));

    // The same failure again in the same minute is not told twice.
    f.factory.calls.clear();
    f.test.clock.set(QStringLiteral("05/12/2026 14:05:55"));
    f.scheduler.SendDueMail();
    QCOMPARE(f.factory.calls.size(), std::size_t(failingStep + 1));
    QCOMPARE(f.test.messageBox.shown.size(), 1);
    QCOMPARE(f.program.lstHisto.ListCount(), 1);

    // A retry that goes through moves the mail.
    f.factory.failAt = -1;
    f.scheduler.SendDueMail();
    QCOMPARE(f.program.lstSent.ListCount(), 1);
    QCOMPARE(f.program.lstHisto.ListCount(), 0);
    QVERIFY(!f.storeFile().contains("Rapport"));
}

void SchedulerTest::onePassSendsOneMail()
{
    Fixture f;
    f.program.mailClient.setValue(MailClient::Outlook);
    const qint16 first = f.add(QStringLiteral("05/12/2026 14:05"), QStringLiteral("Premier"));
    const qint16 second = f.add(QStringLiteral("05/12/2026 14:06"), QStringLiteral("Second"));
    f.program.mailTable[second].Date = f.program.mailTable[first].Date;  // two rows in one minute
    f.test.clock.set(QStringLiteral("05/12/2026 14:05:10"));

    f.scheduler.SendDueMail();
    QCOMPARE(f.created("Outlook.application"), 1);
    QCOMPARE(f.test.launcher.launched.size(), 1);
    QCOMPARE(f.program.lstHisto.ListCount(), 1);
    QCOMPARE(f.program.lstHisto.ItemData(0), second);

    f.scheduler.SendDueMail();
    QCOMPARE(f.created("Outlook.application"), 2);
    QCOMPARE(f.test.launcher.launched.size(), 2);
    QCOMPARE(f.program.lstSent.ListCount(), 2);
    QCOMPARE(f.program.lstHisto.ListCount(), 0);

    f.scheduler.SendDueMail();  // nothing left: nothing happens
    QCOMPARE(f.created("Outlook.application"), 2);
    QCOMPARE(f.test.launcher.launched.size(), 2);
}

QTEST_GUILESS_MAIN(SchedulerTest)
#include "tst_scheduler.moc"
