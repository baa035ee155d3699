#include "RunningInstance.h"

#include <QCryptographicHash>
#include <QDBusMessage>
#include <QDir>

namespace {
const QString ObjectPath = QStringLiteral("/Tardello");
const QString Interface = QStringLiteral("fr.tardello.Instance");
} // namespace

RunningInstance::RunningInstance(const QDBusConnection &bus, const QString &programDir, QObject *parent)
    : QObject(parent), bus_(bus), service_(serviceName(programDir))
{
}

RunningInstance::~RunningInstance()
{
    if (published_) {
        bus_.unregisterObject(ObjectPath);
        bus_.unregisterService(service_);
    }
}

QString RunningInstance::serviceName(const QString &programDir)
{
    const QString canonical = QDir(programDir).canonicalPath();
    const QByteArray key = QCryptographicHash::hash((canonical.isEmpty() ? programDir : canonical).toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    return QStringLiteral("fr.tardello.Tardello.d") + QString::fromLatin1(key);
}

bool RunningInstance::publish()
{
    if (!bus_.isConnected())
        return false;
    if (!bus_.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return false;
    if (!bus_.registerService(service_)) {
        bus_.unregisterObject(ObjectPath);
        return false;
    }
    published_ = true;
    return true;
}

void RunningInstance::Show()
{
    emit showRequested();
}

bool RunningInstance::askToShow(const QDBusConnection &bus, const QString &programDir)
{
    if (!bus.isConnected())
        return false;
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(serviceName(programDir), ObjectPath, Interface, QStringLiteral("Show")),
        QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}
