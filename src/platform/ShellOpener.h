#pragma once

#include <QString>

// Opens a document or a web address with the desktop's associated application.
class ShellOpener
{
public:
    virtual ~ShellOpener() = default;
    virtual void open(const QString &target, const QString &workingDirectory) = 0;
};
