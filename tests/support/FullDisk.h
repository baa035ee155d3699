#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

// A directory on a real file system that runs out of room: a small tmpfs
// mounted for the test (the tests run as root). Where mounting is refused, the
// process's file size limit makes writes fail the same way (EFBIG, not ENOSPC).
class FullDisk
{
public:
    FullDisk()
    {
        mounted_ = QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir_.path()}) == 0;
    }
    ~FullDisk()
    {
        makeRoom();
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {dir_.path()});
    }
    QString filePath(const QString &name) const { return dir_.filePath(name); }
    QString path() const { return dir_.path(); }

    // Takes every free byte, so that the next write fails.
    void fill()
    {
        if (!mounted_) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit none{0, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &none);
            return;
        }
        QFile filler(filePath(QStringLiteral(".filler")));
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) {
        }
    }
    void makeRoom()
    {
        const rlimit any{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &any);
        QFile::remove(filePath(QStringLiteral(".filler")));
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};
