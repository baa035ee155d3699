#include "TrayNotifier.h"

#include <QSystemTrayIcon>

void TrayNotifier::notifyError(const QString &title, const QString &text)
{
    if (icon_ && icon_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages())
        icon_->showMessage(title, text.trimmed(), QSystemTrayIcon::Critical);
    else
        fallback_.notifyError(title, text);
}
