// How long a kill can still make a mail go twice: from the moment sendmail
// has taken the whole message (a recording sendmail notes the time once it
// has read and kept it) to the moment its outbox entry is removed (seen by
// a thread waiting on inotify), and to the moment the removal is durable
// (the folder synced; the submitter reports the attempt right after). A kill
// of the program inside the first window, or a power cut inside the second,
// leaves a message that sendmail took in the outbox, and the next start
// hands it over again.
// Run: cmake --build build --target bench_acceptance && build/bench/delivery/bench_acceptance [folder] [rounds]
// (folder: where the outbox goes, a temporary folder by default; rounds: 200).

#include "LinuxMailClient.h"
#include "SenderIdentity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

qint64 realtimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Figures
{
    std::vector<double> values;
    void print(const char *what)
    {
        std::sort(values.begin(), values.end());
        std::printf("%s: median %.2f ms, min %.2f ms, max %.2f ms, 90th percentile %.2f ms\n", what,
                    values[values.size() / 2], values.front(), values.back(), values[values.size() * 9 / 10]);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir temporary(args.size() > 1 ? args[1] + QStringLiteral("/bench-XXXXXX") : QString());
    const QString dir = temporary.path();
    const int rounds = args.size() > 2 ? args[2].toInt() : 200;
    QDir().mkpath(dir + QStringLiteral("/bin"));
    QFile script(dir + QStringLiteral("/bin/sendmail"));
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\ncat > \"$OUT/kept\" && date +%s%N > \"$OUT/accepted\"\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("OUT", dir.toUtf8());
    qputenv("PATH", (dir + QStringLiteral("/bin:")).toUtf8() + qgetenv("PATH"));
    LinuxMailClient client(dir, {"", "moi@exemple.fr", ""});
    QSignalSpy attempts(&client.submitter, &OutboxSubmitter::attempted);
    client.start();
    QDir().mkpath(client.outbox.directory());
    // The moment of each removal, noted by a thread of its own.
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, QFile::encodeName(client.outbox.directory()).constData(), IN_DELETE);
    std::atomic<qint64> removed{0};
    std::thread watcher([&] {
        alignas(inotify_event) char events[4096];
        while (read(watch, events, sizeof events) > 0)
            removed = realtimeNs();
    });
    Figures toRemoval, toDurable;
    const std::string message = "From: moi@exemple.fr\nTo: ana@example.org\nSubject: Mesure\n\n" + std::string(10000, 'x') + "\n";
    for (int round = 0; round < rounds; ++round) {
        const qsizetype before = attempts.size();
        client.outbox.put(message);
        while (attempts.size() == before)
            attempts.wait(10000);
        const qint64 gone = realtimeNs();
        QFile accepted(dir + QStringLiteral("/accepted"));
        if (!attempts.last()[1].toBool() || !accepted.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "round %d: not delivered\n", round);
            return 1;
        }
        const qint64 taken = accepted.readAll().trimmed().toLongLong();
        toRemoval.values.push_back((removed - taken) / 1e6);
        toDurable.values.push_back((gone - taken) / 1e6);
    }
    std::printf("%d rounds in %s, from sendmail's acceptance:\n", rounds, qPrintable(dir));
    toRemoval.print("to the entry removed (a kill)");
    toDurable.print("to the removal synced (a power cut)");
    watcher.detach();  // blocked on the watch until the process ends
    return 0;
}
