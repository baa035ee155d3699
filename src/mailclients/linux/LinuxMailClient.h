#pragma once

#include "LinuxAutomationFactory.h"
#include "Outbox.h"
#include "OutboxSubmitter.h"
#include "OutboxWatch.h"

#include <QString>

// The mail client that stands in for Outlook, Notes and Simple MAPI on Linux:
// the automation objects the routes talk to, the outbox they fill, and the
// submitter that empties it through sendmail.
class LinuxMailClient
{
public:
    // The outbox is the folder "Boîte d'envoi" in programDir.
    explicit LinuxMailClient(const QString &programDir);

    // Once the program is up: says when sendmail is missing, then submits
    // what an earlier run left in the outbox.
    void start()
    {
        watch.start();
        submitter.start();
    }

    Outbox outbox;
    LinuxAutomationFactory factory{outbox};
    OutboxSubmitter submitter{outbox};
    OutboxWatch watch{outbox, submitter};
};
