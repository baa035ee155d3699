#include "DesktopNotifier.h"

#include "DesktopEntries.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, Notifier &fallback) : bus_(bus), fallback_(fallback) {}

void DesktopNotifier::notifyError(const QString &title, const QString &text)
{
    if (!notify(title, text, 2, -1))
        fallback_.notifyError(title, text);
}

void DesktopNotifier::notifyInfo(const QString &title, const QString &text)
{
    if (!notify(title, text, 1, 5000))
        fallback_.notifyInfo(title, text);
}

bool DesktopNotifier::notify(const QString &title, const QString &text, uchar urgency, int expireMs)
{
    const QString service = QLatin1String(Service);
    if (!bus_.isConnected() || !bus_.interface() || !bus_.interface()->isServiceRegistered(service))
        return false;
    QDBusMessage notify = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                                         service, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QLatin1String(DesktopEntries::Name)},
                            {QStringLiteral("urgency"), QVariant::fromValue(urgency)}};
    notify << QStringLiteral("Tardello") << uint(0) << QLatin1String(DesktopEntries::Name) << title << text.trimmed()
           << QStringList() << hints << expireMs;
    // Asynchronous: a slow notification daemon must not hold up a delivery pass.
    return bus_.send(notify);
}
