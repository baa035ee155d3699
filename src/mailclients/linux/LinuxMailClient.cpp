#include "LinuxMailClient.h"

LinuxMailClient::LinuxMailClient(const QString &programDir) : outbox(programDir + QStringLiteral("/Boîte d'envoi"))
{
    outbox.deposited = [this](const QByteArray &entry) {
        watch.deposited();
        submitter.add(entry);
    };
}
