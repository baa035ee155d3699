#pragma once

#include <QLockFile>
#include <QString>

#include <optional>

// One running instance per program directory. On Linux the lock is taken on
// the program directory itself, opened for reading: it needs no file there,
// so a full or read-only directory locks the same way as a writable one, and
// it goes with the process that held it, however that ended. Elsewhere a
// lock file lives in the program directory (or, when that takes no file, in
// the temporary folder); a lock left by a crashed run is recognised by its
// dead process and taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programDir);
    ~SingleInstance();

    // True when no other instance runs from this directory; holds the lock until destroyed.
    bool tryLock();

    static QString lockPath(const QString &programDir);
    // Where the lock goes when the program directory takes no file (read-only).
    static QString fallbackLockPath(const QString &programDir);

private:
    bool tryLockAt(const QString &path);

    QString programDir_;
    std::optional<QLockFile> lock_;
    int directory_ = -1;
};
