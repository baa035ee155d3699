#include "DesktopNotifier.h"

#include "DesktopEntries.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, Notifier &fallback) : bus_(bus), fallback_(fallback) {}

void DesktopNotifier::notifyError(const QString &title, const QString &text)
{
    const QString service = QLatin1String(Service);
    if (!bus_.isConnected() || !bus_.interface() || !bus_.interface()->isServiceRegistered(service)) {
        fallback_.notifyError(title, text);
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                                         service, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QLatin1String(DesktopEntries::Name)},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(2))}};
    notify << QStringLiteral("Tardello") << uint(0) << QLatin1String(DesktopEntries::Name) << title << text.trimmed()
           << QStringList() << hints << -1;
    // Asynchronous: a slow notification daemon must not hold up a delivery pass.
    if (!bus_.send(notify))
        fallback_.notifyError(title, text);
}
