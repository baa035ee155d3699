#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

// The desktop's notification service as a test needs it: it answers on a
// thread of its own (so that a caller blocking for its answer gets one) and
// records every call it gets.
class RecordingNotifications : public QDBusVirtualObject
{
public:
    struct Call
    {
        QString method;   // "Notify" or "CloseNotification"
        uint id = 0;      // the number given, or the one closed
        uint replaces = 0;
        QString summary, body;
        int urgency = 0;
        int timeout = 0;  // in ms; 0 or less: until closed
    };

    // Serves on `address` under the service's own name.
    explicit RecordingNotifications(const QString &address)
    {
        moveToThread(&thread_);
        thread_.start();
        QMetaObject::invokeMethod(this, [this, address] {
            QDBusConnection bus = QDBusConnection::connectToBus(address, name_);
            registered_ = bus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), this) &&
                          bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
        }, Qt::BlockingQueuedConnection);
    }
    ~RecordingNotifications() override
    {
        QMetaObject::invokeMethod(this, [this] { QDBusConnection::disconnectFromBus(name_); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    bool registered() const { return registered_; }
    QList<Call> calls() const { const QMutexLocker lock(&mutex_); return calls_; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QVariantList args = message.arguments();
        Call call{message.member()};
        QDBusMessage reply;
        if (call.method == QLatin1String("Notify") && args.size() == 8) {
            call.replaces = args[1].toUInt();
            call.id = call.replaces ? call.replaces : ++given_;
            call.summary = args[3].toString();
            call.body = args[4].toString();
            call.urgency = qdbus_cast<QVariantMap>(args[6]).value(QStringLiteral("urgency")).toInt();
            call.timeout = args[7].toInt();
            reply = message.createReply(QVariant::fromValue(call.id));
        } else if (call.method == QLatin1String("CloseNotification") && args.size() == 1) {
            call.id = args[0].toUInt();
            reply = message.createReply();
        } else {
            return false;
        }
        {
            // Recorded before the caller hears back.
            const QMutexLocker lock(&mutex_);
            calls_.append(call);
        }
        connection.send(reply);
        return true;
    }
    QString introspect(const QString &) const override { return {}; }

private:
    const QString name_ = QStringLiteral("notifications%1").arg(quintptr(this));
    QThread thread_;
    mutable QMutex mutex_;
    QList<Call> calls_;
    uint given_ = 0;
    bool registered_ = false;
};

// A session bus of the test's own (dbus-daemon), so that nothing reaches the real desktop.
class PrivateSessionBus
{
public:
    // Empty when dbus-daemon is missing.
    QString start()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            return {};
        daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        return address_ = daemon_.waitForReadyRead(10000) ? QString::fromUtf8(daemon_.readLine().trimmed()) : QString();
    }
    ~PrivateSessionBus() { daemon_.kill(); daemon_.waitForFinished(5000); }
    QDBusConnection connect(const QString &name) const { return QDBusConnection::connectToBus(address_, name); }
    const QString &address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};
