// Saves and loads a full store of large mails, and compares that with writing
// and reading the same bytes as one plain file (write, flush to disk, rename).

#include "Desktop.h"
#include "MailStore.h"
#include "TextFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
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

bool writePlain(const QString &path, const QByteArray &bytes)
{
    const QString temporary = path + QStringLiteral(".new");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    if (::fdatasync(file.handle()) != 0)
        return false;
    file.close();
    return std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0;
}

QByteArray readPlain(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

    QList<double> saves, loads, plainWrites, plainReads;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        timer.start();
        if (!store.SaveMailStore(table))
            return 1;
        saves << timer.nsecsElapsed() / 1e6;

        MailTable loaded;
        ListRows rows;
        timer.start();
        store.LoadMailStore(loaded, rows);
        loads << timer.nsecsElapsed() / 1e6;
        if (loaded.inUseCount() != MailSlots || loaded[50].Contenu != table[50].Contenu)
            return 1;

        const QByteArray bytes = readPlain(store.path());
        timer.start();
        if (!writePlain(plainPath, bytes))
            return 1;
        plainWrites << timer.nsecsElapsed() / 1e6;
        timer.start();
        if (readPlain(plainPath).size() != bytes.size())
            return 1;
        plainReads << timer.nsecsElapsed() / 1e6;
    }

    const double store_ = median(saves) + median(loads);
    const double plain = median(plainWrites) + median(plainReads);
    std::printf("store file: %lld bytes, %d runs, medians in ms\n", QFileInfo(store.path()).size(), runs);
    std::printf("save %.2f  load %.2f  total %.2f\n", median(saves), median(loads), store_);
    std::printf("plain write %.2f  read %.2f  total %.2f\n", median(plainWrites), median(plainReads), plain);
    std::printf("ratio %.2f (save %.2f, load %.2f)\n", store_ / plain, median(saves) / median(plainWrites),
                median(loads) / median(plainReads));
    return 0;
}
