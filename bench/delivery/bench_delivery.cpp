// Times a scheduler pass with nothing due over a full pending list, a pass
// that delivers one mail through the Linux stand-in to a sendmail that only
// reads its input, and the bare start of that sendmail.

#include "Clock.h"
#include "Desktop.h"
#include "LinuxAutomationFactory.h"
#include "MessageBox.h"
#include "PendingRows.h"
#include "Program.h"
#include "Routes.h"
#include "ProgramLauncher.h"
#include "Scheduler.h"
#include "TextFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

class FixedClock : public Clock
{
public:
    QDateTime now() const override { return moment; }
    QDateTime moment;
};

class FailingNotifier : public Notifier
{
public:
    void notifyError(const QString &, const QString &text) override
    {
        std::fprintf(stderr, "delivery failed: %s\n", qPrintable(text));
        std::exit(1);
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void fillPending(Program &program, QDateTime first)
{
    for (qint16 n = 0; n < MailSlots; ++n) {
        const qint16 slot = program.mailTable.FindFreeSlot();
        MailItem &mail = program.mailTable[slot];
        mail = MailItem{};
        mail.Date = SendMoment::fromDateTime(first.addSecs(3600 * n));
        mail.Titre = QStringLiteral("Mail %1").arg(n);
        mail.Dest = QStringLiteral("dest%1@example.org").arg(n);
        mail.Contenu = QStringLiteral("Bonjour,\r\nvoici le mail %1.").arg(n);
        mail.InUse = true;
        InsertPendingRow(program.mailTable, program.lstHisto, slot);
    }
}

// Microseconds of one scheduler pass with nothing due, over 50 pending mails.
double nothingDuePass(FixedClock &clock, const QString &dir)
{
    Program program(dir);
    fillPending(program, QDateTime(QDate(2030, 1, 1), QTime(8, 0)));
    Scheduler scheduler(program);
    clock.moment = QDateTime(QDate(2029, 6, 1), QTime(12, 0, 30));
    constexpr int passes = 2000;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < passes; ++i)
        scheduler.SendDueMail();
    const double micros = timer.nsecsElapsed() / 1000.0 / passes;
    if (program.lstHisto.ListCount() != MailSlots)
        std::exit(1);
    return micros;
}

// Microseconds of one pass that delivers a mail through the Express stand-in.
double deliveringPass(FixedClock &clock, const QString &dir)
{
    Program program(dir);
    program.mailClient.setValue(MailClient::Express);
    fillPending(program, QDateTime(QDate(2030, 1, 1), QTime(8, 0)));
    clock.moment = QDateTime(QDate(2030, 1, 1), QTime(8, 0, 10));
    Scheduler scheduler(program);
    QElapsedTimer timer;
    timer.start();
    scheduler.SendDueMail();
    const double micros = timer.nsecsElapsed() / 1000.0;
    if (program.lstSent.ListCount() != 1)
        std::exit(1);
    return micros;
}

// Microseconds of the delivery step alone: the Express route through the
// stand-in, composing the message and running sendmail on it.
double routeDelivery(LinuxAutomationFactory &factory)
{
    MailItem mail;
    mail.Titre = QStringLiteral("Réunion");
    mail.Dest = QStringLiteral("ana@example.org;bob@example.org");
    mail.Contenu = QStringLiteral("Bonjour,\r\nà demain.");
    const OutgoingMail outgoing = OutgoingMailOf(mail);
    QElapsedTimer timer;
    timer.start();
    SendWithExpress(factory, outgoing);
    return timer.nsecsElapsed() / 1000.0;
}

// Microseconds to start the sendmail script on an empty input and wait for it.
double bareSendmail(const std::string &sendmail)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::string t = "-t", oi = "-oi", name = sendmail;
    char *argv[] = {name.data(), t.data(), oi.data(), nullptr};
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    if (posix_spawn(&child, sendmail.c_str(), &actions, nullptr, argv, environ) != 0)
        std::exit(1);
    int status = 0;
    waitpid(child, &status, 0);
    const double micros = timer.nsecsElapsed() / 1000.0;
    posix_spawn_file_actions_destroy(&actions);
    return micros;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("bin");
    const QString sendmail = dir.filePath("bin/sendmail");
    QFile script(sendmail);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\ncat >/dev/null\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("PATH", dir.filePath("bin").toUtf8() + ":" + qgetenv("PATH"));

    FixedClock clock;
    DiskTextFiles files;
    FailingNotifier notifier;
    DetachedLauncher launcher;
    LinuxAutomationFactory factory;
    Desktop services;
    services.clock = &clock;
    services.files = &files;
    services.notifier = &notifier;
    services.launcher = &launcher;
    services.automation = &factory;
    setDesktop(services);

    constexpr int runs = 31;
    std::vector<double> idle, delivery, route, bare;
    for (int run = 0; run < runs; ++run) {
        idle.push_back(nothingDuePass(clock, dir.path()));
        delivery.push_back(deliveringPass(clock, dir.path()));
        route.push_back(routeDelivery(factory));
        bare.push_back(bareSendmail(sendmail.toStdString()));
    }
    const double deliveryMedian = median(delivery), bareMedian = median(bare);
    std::printf("pass with nothing due (50 pending): median %.2f us over %d runs\n", median(idle), runs);
    const double routeMedian = median(route);
    std::printf("delivery through the stand-in:       median %.0f us\n", routeMedian);
    std::printf("whole pass delivering one mail:      median %.0f us (includes the store rewrite)\n", deliveryMedian);
    std::printf("bare sendmail start:                 median %.0f us\n", bareMedian);
    std::printf("delivery / bare sendmail:            %.2f\n", routeMedian / bareMedian);
    std::printf("whole pass / bare sendmail:          %.2f\n", deliveryMedian / bareMedian);
    return 0;
}
