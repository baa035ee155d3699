#pragma once

#include <QLockFile>
#include <QString>

// One running instance per program directory. The lock lives in the temporary
// directory, so a second start touches no file of the program's own; a lock
// left behind by a crashed run is recognised by its dead process and taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programDir);

    // True when no other instance runs from this directory; holds the lock until destroyed.
    bool tryLock();

    static QString lockPath(const QString &programDir);

private:
    QLockFile lock_;
};
