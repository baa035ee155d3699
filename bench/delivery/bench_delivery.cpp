// The Linux mail client's costs as the user meets them:
// - the hand-over of one full-size mail (the Express route through the
//   stand-in: compose, write into the outbox, synced; no waiting for
//   sendmail), paired in each round with a bare start of a sendmail that does
//   nothing, the least any hand-over to sendmail could cost;
// - the idle work with 50 pending mails and 50 messages in the outbox waiting
//   for their retry: a scheduler pass with nothing due, and the submitter
//   looking at its outbox.
// Run: cmake --build build --target bench_delivery && build/bench/delivery/bench_delivery

#include "Clock.h"
#include "DateText.h"
#include "Desktop.h"
#include "LinuxMailClient.h"
#include "MessageBox.h"
#include "Program.h"
#include "Routes.h"
#include "Scheduler.h"
#include "TextFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
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

class CountingNotifier : public Notifier
{
public:
    void notifyError(const QString &, const QString &) override { ++told; }
    void notifyInfo(const QString &, const QString &) override { ++told; }
    int told = 0;
};

struct Figures
{
    std::vector<double> values;
    double median() const
    {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    double low() const { return *std::min_element(values.begin(), values.end()); }
    double high() const { return *std::max_element(values.begin(), values.end()); }
};

void fillPending(Program &program, QDateTime first)
{
    for (qint16 n = 0; n < MailSlots; ++n) {
        const QDateTime when = first.addSecs(3600 * n);
        program.pending.schedule(program.pending.table().FindFreeSlot(),
                                 {.txtTitre = QStringLiteral("Mail %1").arg(n),
                                  .txtContenu = QStringLiteral("Bonjour,\r\nvoici le mail %1.").arg(n),
                                  .txtDest = QStringLiteral("dest%1@example.org").arg(n),
                                  .txtDate = DateText::formatDate(when.date()),
                                  .txtHeure = DateText::formatTime(when.time())});
    }
}

// A mail as large as users write them: three recipients in each list, a long
// subject, 10 KB of accented text and a 1 MiB attachment.
OutgoingMail fullSizeMail(const QString &attachment)
{
    QString body;
    while (body.size() < 10000)
        body += QStringLiteral("Voici le compte rendu détaillé de la réunion de lundi, à relire avant jeudi.\r\n");
    return {"Compte rendu de la réunion de lundi et des décisions prises",
            "anne@exemple.fr;Paul Martin <paul@exemple.fr>;lea@exemple.fr",
            "jean@exemple.fr;marie@exemple.fr;luc@exemple.fr",
            "chef@exemple.fr;archives@exemple.fr;moi@exemple.fr",
            body.toStdString(), attachment.toStdString()};
}

// Microseconds to start the do-nothing sendmail on an empty input and see it end.
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

void writeScript(const QString &path, const QByteArray &text)
{
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly) || script.write(text) != text.size())
        std::exit(1);
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void print(const char *what, const Figures &figures, const char *unit)
{
    std::printf("%-52s median %9.2f %s  (range %.2f to %.2f)\n", what, figures.median(), unit, figures.low(),
                figures.high());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("bin");
    const QString sendmail = dir.filePath("bin/sendmail");
    writeScript(sendmail, "#!/bin/sh\ncat >/dev/null\n");
    qputenv("PATH", dir.filePath("bin").toUtf8() + ":" + qgetenv("PATH"));
    QByteArray attachment(1 << 20, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(attachment.data()), attachment.size() / 4);
    writeScript(dir.filePath("rapport.pdf"), attachment);

    FixedClock clock;
    DiskTextFiles files;
    CountingNotifier notifier;
    LinuxMailClient client(dir.path(), {});
    Desktop services;
    services.clock = &clock;
    services.files = &files;
    services.notifier = &notifier;
    services.automation = &client.factory;
    setDesktop(services);

    // The first hand-over of a run loads the composing module (GMime and its
    // libraries); the one after it shows what that costs once.
    const auto cpuMicros = [] {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
    };
    double firstShort[2] = {};
    for (double &cost : firstShort) {
        const double start = cpuMicros();
        SendWithExpress(client.factory, {"Court", "dest@example.org", "", "", "Bonjour", ""});
        cost = cpuMicros() - start;
        client.outbox.remove(client.outbox.messages().first());
    }

    // Hand-over and bare sendmail start, paired in each round; the same mail
    // without its attachment in the same rounds.
    constexpr int rounds = 41;
    const OutgoingMail mail = fullSizeMail(dir.filePath("rapport.pdf"));
    const OutgoingMail textOnly = fullSizeMail({});
    Figures handOver, bare, ratio, textRatio;
    for (int round = 0; round < rounds; ++round) {
        const auto timed = [&](const OutgoingMail &one) {
            QElapsedTimer timer;
            timer.start();
            SendWithExpress(client.factory, one);
            const double micros = timer.nsecsElapsed() / 1000.0;
            for (const QString &message : client.outbox.messages())
                client.outbox.remove(message);
            return micros;
        };
        const double handOverMicros = timed(mail);
        const double bareMicros = bareSendmail(sendmail.toStdString());
        const double textMicros = timed(textOnly);
        handOver.values.push_back(handOverMicros);
        bare.values.push_back(bareMicros);
        ratio.values.push_back(handOverMicros / bareMicros);
        textRatio.values.push_back(textMicros / bareMicros);
    }
    const qint64 messageBytes = [&] {
        SendWithExpress(client.factory, mail);
        const qint64 size = QFileInfo(client.outbox.path(client.outbox.messages().first())).size();
        client.outbox.remove(client.outbox.messages().first());
        return size;
    }();

    // 50 messages that sendmail refused, each waiting for its retry in an hour.
    writeScript(sendmail, "#!/bin/sh\ncat >/dev/null\nexit 75\n");
    client.submitter.retryDelays = {std::chrono::hours(1)};
    QSignalSpy attempts(&client.submitter, &OutboxSubmitter::attempted);
    client.submitter.start();
    for (int n = 0; n < 50; ++n)
        SendWithExpress(client.factory, {"Mail", "dest@example.org", "", "", "Bonjour", ""});
    while (attempts.size() < 50)
        attempts.wait(5000);

    Program program(dir.path());
    fillPending(program, QDateTime(QDate(2030, 1, 1), QTime(8, 0)));
    Scheduler scheduler(program);
    clock.moment = QDateTime(QDate(2029, 6, 1), QTime(12, 0, 30));
    Figures idlePass, outboxLook;
    for (int round = 0; round < rounds; ++round) {
        constexpr int passes = 200;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < passes; ++i)
            scheduler.SendDueMail();
        idlePass.values.push_back(timer.nsecsElapsed() / 1000.0 / passes);
        timer.restart();
        for (int i = 0; i < passes; ++i) {
            client.submitter.wake();
            QCoreApplication::processEvents();
        }
        outboxLook.values.push_back(timer.nsecsElapsed() / 1000.0 / passes);
    }
    if (program.pending.lstHisto().ListCount() != MailSlots || client.outbox.messages().size() != 50 || attempts.size() != 50)
        std::exit(1);

    std::printf("first hand-over of a short mail (loads the composing module): %.0f us of CPU; the next: %.0f us\n",
                firstShort[0], firstShort[1]);
    std::printf("%d paired rounds; full-size mail: %lld bytes as sent\n", rounds, messageBytes);
    print("hand-over of one full-size mail (compose + outbox)", handOver, "us");
    print("bare start of a do-nothing sendmail", bare, "us");
    print("hand-over / bare sendmail, per round", ratio, "x ");
    print("same without the attachment / bare sendmail", textRatio, "x ");
    print("scheduler pass, nothing due, 50 pending", idlePass, "us");
    print("submitter look at 50 outbox messages, none due", outboxLook, "us");
    return 0;
}
