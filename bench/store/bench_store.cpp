// Saves and loads a full store of large mails (CPU time per megabyte), and
// compares each run with writing and reading the same bytes as one plain file
// (write, flush to disk, rename) right after it.

#include "Desktop.h"
#include "MailStore.h"
#include "TextFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int runs = 15;
constexpr int bodySize = 100 * 1024;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void fillTable(MailTable &table)
{
    const QString line = QStringLiteral("Voici une ligne du message, avec des accents é à ç et 5 €.\r\n");
    for (qint16 slot = 1; slot <= MailSlots; ++slot) {
        MailItem &mail = table[slot];
        mail.InUse = true;
        mail.Titre = QStringLiteral("Objet %1").arg(slot);
        mail.Dest = QStringLiteral("a@x.fr;b@y.fr");
        mail.CC = QStringLiteral("c@z.fr");
        mail.Attach = QStringLiteral("C:\\Docs\\piece.doc");
        mail.Date = SendMoment::fromDateTime(QDate(2026, 12, 4), QTime(10, 0)).nextMinute();
        mail.Date = SendMoment::fromMinutes(mail.Date.minutes() + slot);
        QString body;
        while (body.size() < bodySize)
            body += line;
        body.truncate(bodySize);
        mail.Contenu = body;
    }
}

// What the store's save does at the least: a new file beside, its data synced,
// renamed over the old one, the directory synced.
bool writePlain(const QString &path, const QByteArray &bytes)
{
    const QString temporary = path + QStringLiteral(".new");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    if (::fdatasync(file.handle()) != 0)
        return false;
    file.close();
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    const int directory = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    const bool synced = directory >= 0 && ::fsync(directory) == 0;
    ::close(directory);
    return synced;
}

QByteArray readPlain(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Cost
{
    double wall = 0;  // ms
    double cpu = 0;   // ms of the process's CPU time
};

// Runs step and measures it; false when the step failed.
template <typename Step>
bool measure(Cost &cost, Step step)
{
    timespec cpuStart{}, cpuEnd{};
    QElapsedTimer timer;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
    timer.start();
    const bool done = step();
    cost.wall = timer.nsecsElapsed() / 1e6;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
    cost.cpu = (cpuEnd.tv_sec - cpuStart.tv_sec) * 1e3 + (cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e6;
    return done;
}

void report(const char *what, QList<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("%-44s median %7.2f  [%.2f - %.2f]\n", what, median(values), values.first(), values.last());
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    DiskTextFiles files;
    Desktop services;
    services.files = &files;
    setDesktop(services);

    MailTable table;
    fillTable(table);
    MailStore store(dir.filePath(QStringLiteral("Tardello.tmp")));
    const QString plainPath = dir.filePath(QStringLiteral("plain.bin"));

    QList<double> plainCpu, saveCpu, loadCpu, perMegabyte, ratios, saveRatios, loadRatios, storeWall, plainWall;
    for (int run = 0; run < runs; ++run) {
        Cost save, load, write, read;
        MailTable loaded;
        ListRows rows;
        if (!measure(save, [&] { return store.SaveMailStore(table); })
            || !measure(load, [&] { return store.LoadMailStore(loaded, rows), true; })
            || loaded.inUseCount() != MailSlots || !(loaded[50].Contenu == table[50].Contenu))
            return 1;
        const QByteArray bytes = readPlain(store.path());
        QByteArray back;
        if (!measure(write, [&] { return writePlain(plainPath, bytes); })
            || !measure(read, [&] { return (back = readPlain(plainPath)).size() == bytes.size(); }))
            return 1;
        const double megabytes = bytes.size() / 1e6;
        plainCpu << (write.cpu + read.cpu) / megabytes;
        saveCpu << save.cpu / megabytes;
        loadCpu << load.cpu / megabytes;
        perMegabyte << (save.cpu + load.cpu) / megabytes;
        storeWall << save.wall + load.wall;
        plainWall << write.wall + read.wall;
        ratios << (save.wall + load.wall) / (write.wall + read.wall);
        saveRatios << save.wall / write.wall;
        loadRatios << load.wall / read.wall;
    }

    std::printf("store file: %lld bytes (50 mails of %d KB), %d runs, built %s\n", QFileInfo(store.path()).size(),
                bodySize / 1024, runs, TARDELLO_BUILD_FLAGS);
    report("save, CPU ms per MB", saveCpu);
    report("load, CPU ms per MB", loadCpu);
    report("save + load, CPU ms per MB (target <= 1.5)", perMegabyte);
    report("plain write+fdatasync+rename+read, CPU ms per MB", plainCpu);
    report("save + load, wall ms", storeWall);
    report("plain write+fdatasync+rename+read, wall ms", plainWall);
    report("ratio, per run (target <= 2 in every run)", ratios);
    report("  save / write+fdatasync+rename", saveRatios);
    report("  load / read", loadRatios);
    std::printf("ratio of each run, in order:");
    for (const double ratio : ratios)
        std::printf(" %.2f", ratio);
    std::printf("\n");
    const double worst = *std::max_element(ratios.begin(), ratios.end());
    std::printf("every run <= 2: %s; CPU per MB <= 1.5: %s\n", worst <= 2 ? "yes" : "NO",
                median(perMegabyte) <= 1.5 ? "yes" : "NO");
    return 0;
}
