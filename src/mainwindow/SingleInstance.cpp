#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>

SingleInstance::SingleInstance(const QString &programDir) : programDir_(programDir) {}

bool SingleInstance::tryLock()
{
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
