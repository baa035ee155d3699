#include "DesktopNotifier.h"

#include "DesktopEntries.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
constexpr uchar Normal = 1;
constexpr uchar Critical = 2;
constexpr int InfoLasts = 5000;
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, Notifier &fallback) : bus_(bus), fallback_(fallback) {}

void DesktopNotifier::notifyError(const QString &title, const QString &text)
{
    notifyErrorAbout({}, title, text);
}

void DesktopNotifier::notifyInfo(const QString &title, const QString &text)
{
    notifyInfoAbout({}, title, text);
}

void DesktopNotifier::notifyErrorAbout(const QString &about, const QString &title, const QString &text)
{
    if (!notify(about, title, text, Critical, -1))
        fallback_.notifyError(title, text);
}

void DesktopNotifier::notifyInfoAbout(const QString &about, const QString &title, const QString &text)
{
    if (!notify(about, title, text, Normal, InfoLasts))
        fallback_.notifyInfo(title, text);
}

void DesktopNotifier::withdraw(const QString &about)
{
    const auto found = shown_.find(about);
    if (found == shown_.end())
        return;
    if (found->second.answering) {
        found->second.withdrawn = true;  // closed as soon as its number is known
        found->second.next = nullptr;
        return;
    }
    close(found->second.id);
    shown_.erase(found);
}

bool DesktopNotifier::notifyLasting(const QString &title, const QString &text)
{
    if (!serviceRunning())
        return false;
    // Also makes sure that what was sent before it has left.
    const QDBusMessage reply = bus_.call(notifyCall(title, text, Normal, -1, 0), QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool DesktopNotifier::serviceRunning() const
{
    return bus_.isConnected() && bus_.interface() && bus_.interface()->isServiceRegistered(QLatin1String(Service));
}

QDBusMessage DesktopNotifier::notifyCall(const QString &title, const QString &text, uchar urgency, int expireMs,
                                         uint replaces) const
{
    const QString service = QLatin1String(Service);
    QDBusMessage notify = QDBusMessage::createMethodCall(service, Path, service, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QLatin1String(DesktopEntries::Name)},
                            {QStringLiteral("urgency"), QVariant::fromValue(urgency)}};
    notify << QStringLiteral("Tardello") << replaces << QLatin1String(DesktopEntries::Name) << title << text.trimmed()
           << QStringList() << hints << expireMs;
    return notify;
}

bool DesktopNotifier::notify(const QString &about, const QString &title, const QString &text, uchar urgency, int expireMs)
{
    if (!serviceRunning())
        return false;
    // Asynchronous: a slow notification daemon must not hold up a delivery pass.
    if (about.isEmpty())
        return bus_.send(notifyCall(title, text, urgency, expireMs, 0));
    Shown &shown = shown_[about];
    if (shown.answering) {
        // The notice it replaces has no number yet.
        shown.next = [this, about, title, text, urgency, expireMs] { notify(about, title, text, urgency, expireMs); };
        return true;
    }
    const QDBusPendingCall pending = bus_.asyncCall(notifyCall(title, text, urgency, expireMs, shown.id));
    shown.answering = true;
    auto *watcher = new QDBusPendingCallWatcher(pending, &replies_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &replies_, [this, about](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        const auto found = shown_.find(about);
        if (found == shown_.end())
            return;
        Shown &answered = found->second;
        answered.answering = false;
        answered.id = reply.isValid() ? reply.value() : 0;
        if (answered.withdrawn) {
            close(answered.id);
            shown_.erase(found);
        } else if (answered.next) {
            std::exchange(answered.next, nullptr)();
        }
    });
    return true;
}

void DesktopNotifier::close(uint id)
{
    if (id == 0 || !serviceRunning())
        return;
    const QString service = QLatin1String(Service);
    QDBusMessage close = QDBusMessage::createMethodCall(service, Path, service, QStringLiteral("CloseNotification"));
    close << id;
    bus_.send(close);
}
