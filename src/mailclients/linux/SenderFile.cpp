#include "SenderFile.h"

#include "AnsiText.h"
#include "Desktop.h"
#include "TextFiles.h"

#include <algorithm>

QString SenderFilePath(const QString &programDir)
{
    return programDir + QStringLiteral("/TardelloLinux.ini");
}

SenderIdentity LoadSender(const QString &path)
{
    SenderIdentity sender;
    const auto content = desktop().files->read(path);
    if (!content)
        return sender;
    for (const QString &line : AnsiText::decodeLines(*content)) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals);
        const std::string value = line.mid(equals + 1).trimmed().toStdString();
        if (key == QStringLiteral("Nom"))
            sender.name = value;
        else if (key == QStringLiteral("Adresse"))
            sender.address = value;
        else if (key == QStringLiteral("Commande"))
            sender.command = value;
        else if (key == QStringLiteral("Serveur"))
            sender.server = value;
        else if (key == QStringLiteral("Port"))
            sender.port = std::clamp(QString::fromStdString(value).toInt(), 0, 65535);
        else if (key == QStringLiteral("Securite"))
            sender.security = value == "tls" ? AccountSecurity::Tls
                              : value == "aucune" ? AccountSecurity::None : AccountSecurity::StartTls;
        else if (key == QStringLiteral("Identifiant"))
            sender.user = value;
        else if (key == QStringLiteral("Empreinte"))
            sender.fingerprint = value;
    }
    return sender;
}

bool SaveSender(const QString &path, const SenderIdentity &sender)
{
    const auto text = [](const std::string &value) { return QString::fromStdString(value); };
    const char *security = sender.security == AccountSecurity::Tls    ? "tls"
                           : sender.security == AccountSecurity::None ? "aucune"
                                                                      : "starttls";
    return desktop().files->write(
        path, AnsiText::encodeLines({
                  QStringLiteral("Nom=") + text(sender.name),
                  QStringLiteral("Adresse=") + text(sender.address),
                  QStringLiteral("Commande=") + text(sender.command),
                  QStringLiteral("Serveur=") + text(sender.server),
                  QStringLiteral("Port=") + (sender.port > 0 ? QString::number(sender.port) : QString()),
                  QStringLiteral("Securite=") + QString::fromLatin1(security),
                  QStringLiteral("Identifiant=") + text(sender.user),
                  QStringLiteral("Empreinte=") + text(sender.fingerprint),
              }));
}
