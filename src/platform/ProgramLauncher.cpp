#include "ProgramLauncher.h"

#include <QProcess>

bool DetachedLauncher::launch(const QString &executablePath)
{
    return QProcess::startDetached(executablePath, {});
}
