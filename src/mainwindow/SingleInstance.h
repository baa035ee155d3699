#pragma once

#include <QLockFile>
#include <QString>

#include <optional>

// One running instance per program directory. The lock lives in the program
// directory itself, so that no environment (TMPDIR, TEMP) can give two runs of
// it two different locks; a lock left behind by a crashed run is recognised by
// its dead process and taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programDir);

    // True when no other instance runs from this directory; holds the lock until destroyed.
    bool tryLock();

    static QString lockPath(const QString &programDir);
    // Where the lock goes when the program directory takes no file (read-only).
    static QString fallbackLockPath(const QString &programDir);

private:
    bool tryLockAt(const QString &path);

    QString programDir_;
    std::optional<QLockFile> lock_;
};
