#include "DesktopShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace {
#ifdef Q_OS_LINUX
// Qt only starts xdg-open and reports that it started; whether any application took the
// document shows in xdg-open's exit code. Without a desktop environment xdg-open waits
// for the viewer it ran, so a process still running is a success too.
void openWithXdgOpen(const QString &path, const QString &workingDirectory, const ShellOpener::Failed &failed)
{
    // Not parented: quitting must not end a viewer that xdg-open still waits for.
    auto *process = new QProcess;
    process->setProgram(QStringLiteral("xdg-open"));
    process->setArguments({path});
    process->setWorkingDirectory(workingDirectory);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const auto fail = [process, failed] {
        process->deleteLater();
        if (failed)
            failed();
    };
    QObject::connect(process, &QProcess::finished, process, [process, fail](int code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && code == 0)
            process->deleteLater();
        else
            fail();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [fail](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail();
    });
    process->start();
}
#endif
} // namespace

void DesktopShell::open(const QString &target, const QString &workingDirectory, const Failed &failed)
{
    const bool address = target.contains(QStringLiteral("://"));
#ifdef Q_OS_LINUX
    if (!address) {
        openWithXdgOpen(target, workingDirectory, failed);
        return;
    }
#else
    Q_UNUSED(workingDirectory);
#endif
    // Elsewhere the shell says at once whether an application took the target.
    if (!QDesktopServices::openUrl(address ? QUrl(target) : QUrl::fromLocalFile(target)) && failed)
        failed();
}
