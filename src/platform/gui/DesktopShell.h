#pragma once

#include "ShellOpener.h"

// Opens files and web addresses with the desktop's handler.
class DesktopShell : public ShellOpener
{
public:
    void open(const QString &target, const QString &workingDirectory, const Failed &failed) override;
};
