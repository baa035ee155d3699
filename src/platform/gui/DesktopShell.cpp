#include "DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopShell::open(const QString &target, const QString &workingDirectory)
{
    Q_UNUSED(workingDirectory);
    const QUrl url = target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}
