#include "AccountCommand.h"

namespace {

QStringList connectionOptions(const SenderIdentity &sender)
{
    const bool tls = sender.security != AccountSecurity::None;
    return {QStringLiteral("--host=") + QString::fromStdString(sender.server),
            QStringLiteral("--port=%1").arg(AccountPort(sender)),
            // Well under the sender test's own limit, so a silent port gets msmtp's words.
            QStringLiteral("--timeout=30"),
            QStringLiteral("--tls=") + (tls ? QStringLiteral("on") : QStringLiteral("off")),
            QStringLiteral("--tls-starttls=")
                + (sender.security == AccountSecurity::StartTls ? QStringLiteral("on") : QStringLiteral("off"))};
}

} // namespace

QStringList msmtpAccountOptions(const SenderIdentity &sender)
{
    QStringList options = connectionOptions(sender);
    if (sender.security != AccountSecurity::None && !sender.fingerprint.empty())
        options << QStringLiteral("--tls-fingerprint=") + QString::fromStdString(sender.fingerprint);
    // Without encryption no password is sent: such a server is a relay that does not ask for one.
    if (sender.security == AccountSecurity::None)
        options << QStringLiteral("--auth=off");
    else
        options << QStringLiteral("--auth=on") << QStringLiteral("--user=") + QString::fromStdString(AccountUser(sender));
    if (!sender.address.empty())
        options << QStringLiteral("--from=") + QString::fromStdString(sender.address);
    return options;
}

QStringList msmtpServerInfoOptions(const SenderIdentity &sender)
{
    return QStringList{QStringLiteral("--serverinfo")} + connectionOptions(sender)
           << QStringLiteral("--tls-certcheck=off");
}
