#pragma once

#include <QString>

#include <functional>

// Opens a document or a web address with the desktop's associated application.
class ShellOpener
{
public:
    // Called when no application took the target: at once, or later from the event loop.
    using Failed = std::function<void()>;

    virtual ~ShellOpener() = default;
    virtual void open(const QString &target, const QString &workingDirectory, const Failed &failed) = 0;
};
