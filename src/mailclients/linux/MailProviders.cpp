#include "MailProviders.h"

#include <QStringList>

#include <array>

namespace {

struct Known
{
    const char *domains;  // separated by blanks
    MailProvider provider;
};

QString appPassword(const char *provider, const char *where)
{
    return QStringLiteral("%1 demande un mot de passe d'application, à créer dans %2 : le mot de passe "
                          "habituel du compte y est refusé.")
        .arg(QString::fromUtf8(provider), QString::fromUtf8(where));
}

const std::array<Known, 14> &knownProviders()
{
    using S = AccountSecurity;
    static const std::array<Known, 14> known{{
        {"orange.fr wanadoo.fr", {"smtp.orange.fr", 465, S::Tls, {}}},
        {"free.fr", {"smtp.free.fr", 465, S::Tls, {}}},
        {"sfr.fr neuf.fr", {"smtp.sfr.fr", 465, S::Tls, {}}},
        {"laposte.net", {"smtp.laposte.net", 465, S::Tls, {}}},
        {"bbox.fr", {"smtp.bbox.fr", 587, S::StartTls, {}}},
        {"ik.me etik.com ikmail.com", {"mail.infomaniak.com", 587, S::StartTls, {}}},
        {"gmx.fr gmx.com gmx.net gmx.de", {"mail.gmx.com", 587, S::StartTls, {}}},
        {"mail.com", {"smtp.mail.com", 587, S::StartTls, {}}},
        {"gmail.com googlemail.com",
         {"smtp.gmail.com", 465, S::Tls,
          appPassword("Gmail", "votre compte Google, « Sécurité », « Mots de passe des applications » "
                               "(la validation en deux étapes doit être activée)")}},
        {"outlook.com outlook.fr hotmail.com hotmail.fr live.com live.fr msn.com",
         {"smtp-mail.outlook.com", 587, S::StartTls,
          appPassword("Outlook.com", "votre compte Microsoft, « Sécurité », « Options de sécurité avancées »")}},
        {"yahoo.com yahoo.fr ymail.com",
         {"smtp.mail.yahoo.com", 465, S::Tls,
          appPassword("Yahoo", "« Sécurité du compte », « Générer un mot de passe d'application »")}},
        {"icloud.com me.com mac.com",
         {"smtp.mail.me.com", 587, S::StartTls,
          appPassword("iCloud", "votre compte Apple, « Connexion et sécurité », « Mots de passe pour app »")}},
        {"aol.com aol.fr",
         {"smtp.aol.com", 465, S::Tls,
          appPassword("AOL", "« Sécurité du compte », « Générer un mot de passe d'application »")}},
        {"yandex.com yandex.ru",
         {"smtp.yandex.com", 465, S::Tls, appPassword("Yandex", "« Sécurité », « Mots de passe des applications »")}},
    }};
    return known;
}

} // namespace

std::optional<MailProvider> providerOf(const QString &address)
{
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    const QString domain = address.mid(at + 1).trimmed().toLower();
    if (at < 0 || domain.isEmpty())
        return std::nullopt;
    for (const Known &known : knownProviders())
        if (QString::fromLatin1(known.domains).split(QLatin1Char(' ')).contains(domain))
            return known.provider;
    return std::nullopt;
}
