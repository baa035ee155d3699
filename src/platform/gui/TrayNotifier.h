#pragma once

#include "QtMessageBox.h"

class QSystemTrayIcon;

// Tells of a failure with a balloon from the tray icon when there is a
// notification area, else with a non-modal message box.
class TrayNotifier : public Notifier
{
public:
    void setTrayIcon(QSystemTrayIcon *icon) { icon_ = icon; }
    void notifyError(const QString &title, const QString &text) override;
    void notifyInfo(const QString &title, const QString &text) override;

private:
    bool balloons() const;
    QSystemTrayIcon *icon_ = nullptr;
    QtMessageBox fallback_;
};
