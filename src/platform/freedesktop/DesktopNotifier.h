#pragma once

#include "MessageBox.h"

#include <QDBusConnection>
#include <QObject>

#include <functional>
#include <map>

class QDBusMessage;

// Tells through the desktop's notification service (org.freedesktop.Notifications)
// with the program's name and icon when the session has one; through the
// fallback (the tray balloon or a non-modal box) otherwise.
class DesktopNotifier : public Notifier
{
public:
    DesktopNotifier(const QDBusConnection &bus, Notifier &fallback);
    void notifyError(const QString &title, const QString &text) override;
    void notifyInfo(const QString &title, const QString &text) override;
    // The service's number for a notice is kept by what it is about, so that
    // the next one about it replaces it (replaces_id) or it is closed.
    void notifyErrorAbout(const QString &about, const QString &title, const QString &text) override;
    void notifyInfoAbout(const QString &about, const QString &title, const QString &text) override;
    void withdraw(const QString &about) override;
    // Waits (3 s at most) for the service to take it: the program ends next.
    bool notifyLasting(const QString &title, const QString &text) override;

    static constexpr char Service[] = "org.freedesktop.Notifications";

private:
    struct Shown
    {
        uint id = 0;           // the service's number, 0 until it answers
        bool answering = false;
        bool withdrawn = false;
        std::function<void()> next;  // asked while the service had not yet answered
    };
    bool serviceRunning() const;
    QDBusMessage notifyCall(const QString &title, const QString &text, uchar urgency, int expireMs, uint replaces) const;
    // False when the session has no notification service or the call could not be sent.
    bool notify(const QString &about, const QString &title, const QString &text, uchar urgency, int expireMs);
    void close(uint id);

    QDBusConnection bus_;
    Notifier &fallback_;
    std::map<QString, Shown> shown_;
    QObject replies_;  // receives the service's answers while this notifier lives
};
