#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// A directory on a real file system that runs out of room: a small tmpfs
// mounted for the test (the tests run as root). A Windows program can mount
// no file system: there mount is missing, `mounted` stays false and the test skips.
class FullDisk
{
    QTemporaryDir dir_;

public:
    const bool mounted =
        QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir_.path()}) == 0;
    ~FullDisk()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {dir_.path()});
    }
    QString filePath(const QString &name) const { return dir_.filePath(name); }
    QString path() const { return dir_.path(); }

    // Takes every free byte, so that the next write fails.
    void fill()
    {
        QFile filler(filePath(QStringLiteral(".filler")));
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        filler.write(QByteArray(128 << 10, 'f'));  // twice the room: written up to its last byte
    }
    void makeRoom() { QFile::remove(filePath(QStringLiteral(".filler"))); }
};
