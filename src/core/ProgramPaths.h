#pragma once

#include <QString>

// The program's directory and the files kept in it, formed by plain
// concatenation: a directory ending in a separator gives a doubled one.
struct ProgramPaths
{
    QString ProgramDir;
    QString HelpPath;
    QString SettingsPath;
    QString StorePath;
    QString OutlookToolPath;

    static ProgramPaths inDirectory(const QString &programDir);
};
