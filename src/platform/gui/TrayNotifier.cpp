#include "TrayNotifier.h"

#include <QSystemTrayIcon>

bool TrayNotifier::balloons() const
{
    return icon_ && icon_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages();
}

void TrayNotifier::notifyError(const QString &title, const QString &text)
{
    if (balloons())
        icon_->showMessage(title, text.trimmed(), QSystemTrayIcon::Critical);
    else
        fallback_.notifyError(title, text);
}

void TrayNotifier::notifyInfo(const QString &title, const QString &text)
{
    if (balloons())
        icon_->showMessage(title, text.trimmed(), QSystemTrayIcon::Information, 5000);
    else
        fallback_.notifyInfo(title, text);
}
