#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

SingleInstance::SingleInstance(const QString &programDir) : programDir_(programDir) {}

SingleInstance::~SingleInstance()
{
#ifdef Q_OS_UNIX
    if (directory_ >= 0)
        ::close(directory_);
#endif
}

bool SingleInstance::tryLock()
{
#ifdef Q_OS_UNIX
    // Every start locks the same thing, whatever the directory's room or rights.
    if (directory_ < 0)
        directory_ = ::open(QFile::encodeName(programDir_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory_ >= 0)
        return ::flock(directory_, LOCK_EX | LOCK_NB) == 0;
#endif
    if (tryLockAt(lockPath(programDir_)))
        return true;
    return lock_->error() != QLockFile::LockFailedError && tryLockAt(fallbackLockPath(programDir_));
}

bool SingleInstance::tryLockAt(const QString &path)
{
    lock_.emplace(path);
    // Age alone never makes the lock stale: the program runs for days.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}

QString SingleInstance::lockPath(const QString &programDir)
{
    return programDir + QStringLiteral("/Tardello.lock");
}

QString SingleInstance::fallbackLockPath(const QString &programDir)
{
    const QString canonical = QDir(programDir).canonicalPath();
    const QByteArray key = QCryptographicHash::hash((canonical.isEmpty() ? programDir : canonical).toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
#ifdef Q_OS_UNIX
    const QString directory = QStringLiteral("/tmp");  // the system's, whatever TMPDIR says
#else
    const QString directory = QDir::tempPath();
#endif
    return directory + QStringLiteral("/tardello-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}
