#pragma once

#include "MessageBox.h"

#include <QDBusConnection>

// Tells through the desktop's notification service (org.freedesktop.Notifications)
// with the program's name and icon when the session has one; through the
// fallback (the tray balloon or a non-modal box) otherwise.
class DesktopNotifier : public Notifier
{
public:
    DesktopNotifier(const QDBusConnection &bus, Notifier &fallback);
    void notifyError(const QString &title, const QString &text) override;
    void notifyInfo(const QString &title, const QString &text) override;

    static constexpr char Service[] = "org.freedesktop.Notifications";

private:
    // False when the session has no notification service or the call could not be sent.
    bool notify(const QString &title, const QString &text, uchar urgency, int expireMs);

    QDBusConnection bus_;
    Notifier &fallback_;
};
