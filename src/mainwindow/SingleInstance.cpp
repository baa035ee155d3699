#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>

SingleInstance::SingleInstance(const QString &programDir) : lock_(lockPath(programDir))
{
    // Age alone never makes the lock stale: the program runs for days.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::tryLock()
{
    return lock_.tryLock(0);
}

QString SingleInstance::lockPath(const QString &programDir)
{
    const QString canonical = QDir(programDir).canonicalPath();
    const QByteArray key = QCryptographicHash::hash((canonical.isEmpty() ? programDir : canonical).toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    return QDir::tempPath() + QStringLiteral("/tardello-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}
