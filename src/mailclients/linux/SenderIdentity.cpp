#include "SenderIdentity.h"

#include "Desktop.h"
#include "MessageBox.h"
#include "MessageTexts.h"

int AccountPort(const SenderIdentity &sender)
{
    if (sender.port > 0)
        return sender.port;
    switch (sender.security) {
    case AccountSecurity::StartTls: return 587;
    case AccountSecurity::Tls: return 465;
    case AccountSecurity::None: break;
    }
    return 25;
}

std::string AccountUser(const SenderIdentity &sender)
{
    return sender.user.empty() ? sender.address : sender.user;
}

std::string SenderDomain(const SenderIdentity &sender)
{
    const std::size_t at = sender.address.rfind('@');
    return at == std::string::npos ? std::string() : sender.address.substr(at + 1);
}

void TellMissingSender()
{
    if (!desktop().notifier)
        return;
    desktop().notifier->notifyError(
        MessageTexts::Title,
        MessageTexts::padded(QStringLiteral("Aucune adresse d'expéditeur n'est réglée : votre serveur de messagerie "
                                            "peut refuser vos mails. Ouvrez « Expéditeur... » dans la fenêtre "
                                            "principale, donnez votre nom et votre adresse, puis cliquez sur "
                                            "« Tester ».")));
}
