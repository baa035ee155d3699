#include "LinuxMailClient.h"

LinuxMailClient::LinuxMailClient(const QString &programDir, SenderIdentity sender)
    : sender_(std::move(sender)), outbox(programDir + QStringLiteral("/Boîte d'envoi"))
{
    outbox.deposited = [this](const QByteArray &entry) {
        watch.deposited();
        submitter.add(entry);
    };
}

void LinuxMailClient::post(const MailDraft &draft)
{
    if (sender_.address.empty() && !std::exchange(toldMissingSender_, true))
        TellMissingSender();
    outbox.put(ComposeMessage(draft, sender_));
}
