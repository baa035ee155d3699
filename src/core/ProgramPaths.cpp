#include "ProgramPaths.h"

#include <QDir>

ProgramPaths ProgramPaths::inDirectory(const QString &programDir)
{
    const QString separator = QDir::separator();
    ProgramPaths paths;
    paths.ProgramDir = programDir;
    paths.HelpPath = programDir + separator + QStringLiteral("Tardello.pdf");
    paths.SettingsPath = programDir + separator + QStringLiteral("Tardello.ini");
    paths.StorePath = programDir + separator + QStringLiteral("Tardello.tmp");
    paths.OutlookToolPath = programDir + separator + QStringLiteral("TD_OutlookTool.exe");
    return paths;
}
