#include "SendFailure.h"

#include "MailProviders.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

bool says(const QString &said, const char *words)
{
    return said.contains(QLatin1String(words), Qt::CaseInsensitive);
}

// The lines of the error output without the program's name before each and
// without msmtp's closing "could not send mail", which adds nothing.
QString detail(const QString &said)
{
    QStringList lines;
    static const QRegularExpression prefix(QStringLiteral("^[\\w.-]+: "));
    for (QString line : said.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        line = line.trimmed().remove(prefix);
        if (!line.isEmpty() && line != QStringLiteral("could not send mail"))
            lines << line;
    }
    return lines.join(QStringLiteral(" ; "));
}

} // namespace

SendFailure classifySendFailure(int exitCode, const QString &said)
{
    if (says(said, "cannot locate host") || says(said, "Name or service not known")
        || says(said, "Temporary failure in name resolution"))
        return SendFailure::UnknownServer;
    if (says(said, "Connection refused"))
        return SendFailure::ConnectionRefused;
    if (says(said, "timed out") || says(said, "network timeout") || says(said, "unreachable"))
        return SendFailure::NoAnswer;
    if (says(said, "certificate") || says(said, "fingerprint"))
        return SendFailure::Certificate;
    if (says(said, "TLS") || says(said, "STARTTLS"))
        return SendFailure::Tls;
    if (says(said, "needs a password") || says(said, "cannot get password") || says(said, "password is needed"))
        return SendFailure::MissingPassword;
    if (says(said, "authentication failed") || says(said, "authentication method"))
        return SendFailure::Password;
    if (says(said, "envelope from address"))
        return SendFailure::SenderRefused;
    if (says(said, "recipient address"))
        return SendFailure::RecipientRefused;
    if (exitCode == 68)  // EX_NOHOST
        return SendFailure::UnknownServer;
    if (exitCode == 77)  // EX_NOPERM
        return SendFailure::Password;
    return SendFailure::Other;
}

QString sendFailureText(int exitCode, const QString &said, const QString &program, const SenderIdentity &sender)
{
    const QString server = sender.server.empty() ? QStringLiteral("de messagerie")
                                                 : QStringLiteral("« %1 »").arg(QString::fromStdString(sender.server));
    const auto provider = providerOf(QString::fromStdString(sender.address));
    QString sentence;
    switch (classifySendFailure(exitCode, said)) {
    case SendFailure::UnknownServer:
        sentence = QStringLiteral("Le serveur %1 est introuvable : vérifiez son nom et la connexion à Internet.").arg(server);
        break;
    case SendFailure::ConnectionRefused:
        sentence = QStringLiteral("Le serveur %1 refuse la connexion sur ce port : vérifiez le port (587 pour "
                                  "STARTTLS, 465 pour TLS) ou un pare-feu.")
                       .arg(server);
        break;
    case SendFailure::NoAnswer:
        sentence = QStringLiteral("Le serveur %1 ne répond pas : vérifiez le port, la connexion à Internet ou un "
                                  "pare-feu.")
                       .arg(server);
        break;
    case SendFailure::Certificate:
        sentence = QStringLiteral("Le certificat du serveur %1 n'est pas reconnu par ce poste, ou n'est plus celui "
                                  "que vous aviez accepté : par sécurité, rien n'a été envoyé.")
                       .arg(server);
        break;
    case SendFailure::Tls:
        sentence = QStringLiteral("La connexion chiffrée avec le serveur %1 a échoué : vérifiez la sécurité choisie "
                                  "(STARTTLS sur le port 587, TLS sur le port 465).")
                       .arg(server);
        break;
    case SendFailure::Password:
        sentence = QStringLiteral("Le serveur %1 a refusé l'identifiant ou le mot de passe.").arg(server);
        if (provider && !provider->passwordHint.isEmpty())
            sentence += QLatin1Char(' ') + provider->passwordHint;
        break;
    case SendFailure::MissingPassword:
        sentence = QStringLiteral("Aucun mot de passe n'est enregistré dans le trousseau pour ce compte : "
                                  "saisissez-le dans « Expéditeur... ».");
        break;
    case SendFailure::SenderRefused:
        sentence = QStringLiteral("Le serveur %1 a refusé l'adresse d'expéditeur : elle doit souvent être celle du "
                                  "compte.")
                       .arg(server);
        break;
    case SendFailure::RecipientRefused:
        sentence = QStringLiteral("Le serveur %1 a refusé un destinataire : vérifiez les adresses.").arg(server);
        break;
    case SendFailure::Other:
        sentence = QStringLiteral("L'envoi a échoué.");
        break;
    }
    const QString name = QFileInfo(program).fileName();
    const QString words = detail(said);
    return sentence + QLatin1Char('\n')
           + (words.isEmpty() ? QStringLiteral("Détail (%1) : code de sortie %2").arg(name).arg(exitCode)
                              : QStringLiteral("Détail (%1) : %2").arg(name, words));
}

QString missingProgramText(const SenderIdentity &sender, const QString &outbox)
{
    if (!sender.server.empty())
        return QStringLiteral("msmtp, qui envoie les mails par votre compte de messagerie, n'est pas installé : les "
                              "mails que vous programmez resteront dans la boîte d'envoi %1 jusqu'à ce qu'il le "
                              "soit. Sous Debian : sudo apt install msmtp. Voir l'aide de Tardello, « Sur Linux ».")
            .arg(outbox);
    return QStringLiteral("Aucun programme sendmail n'est installé et aucun compte de messagerie n'est réglé : les mails "
                          "que vous programmez resteront dans la boîte d'envoi %1 jusqu'à ce qu'ils puissent partir. "
                          "Ouvrez « Expéditeur... » dans la fenêtre principale, choisissez « Mon compte de "
                          "messagerie » et donnez le serveur d'envoi, l'identifiant et le mot de passe de votre "
                          "compte, puis cliquez sur « Tester ». Voir l'aide de Tardello, « Sur Linux ».")
        .arg(outbox);
}
