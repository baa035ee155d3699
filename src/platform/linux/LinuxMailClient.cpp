#include "LinuxMailClient.h"

LinuxMailClient::LinuxMailClient(const QString &programDir) : outbox(programDir + QStringLiteral("/Boîte d'envoi"))
{
    outbox.deposited = [this] {
        watch.deposited();
        submitter.wake();
    };
}
