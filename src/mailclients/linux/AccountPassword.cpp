#include "AccountPassword.h"

#include "ComposerModule.h"

namespace {

QString noKeyring(const std::string &reason)
{
    return QStringLiteral("Le trousseau de mots de passe du bureau (service « Secret Service ») ne répond pas : "
                          "le mot de passe ne peut pas être gardé. Installez gnome-keyring (sudo apt install "
                          "gnome-keyring) ou KeePassXC avec son intégration « Secret Service », puis rouvrez "
                          "votre session. Le choix « La commande sendmail de ce poste » reste possible.\n"
                          "Détail : %1")
        .arg(QString::fromStdString(reason));
}

} // namespace

std::optional<QString> AccountPassword::store(const SenderIdentity &account, const QString &password)
{
    std::string error;
    const ComposerCalls *calls = composer(&error);
    if (!calls)
        return noKeyring(error);
    std::string secret = password.toStdString();
    const bool stored = calls->storePassword(account.server, AccountUser(account), secret, error);
    std::fill(secret.begin(), secret.end(), '\0');
    if (stored)
        return std::nullopt;
    return noKeyring(error);
}

AccountPassword::Kept AccountPassword::kept(const SenderIdentity &account, QString *problem)
{
    std::string error;
    const ComposerCalls *calls = composer(&error);
    const int found = calls ? calls->hasPassword(account.server, AccountUser(account), error) : -1;
    if (found < 0 && problem)
        *problem = noKeyring(error);
    return found < 0 ? Kept::NoKeyring : found > 0 ? Kept::Yes : Kept::No;
}
