#pragma once

#include "LinuxAutomationFactory.h"
#include "Outbox.h"
#include "OutboxSubmitter.h"
#include "OutboxWatch.h"
#include "SenderIdentity.h"

#include <QString>

// The mail client that stands in for Outlook, Notes and Simple MAPI on Linux:
// the automation objects the routes talk to, the outbox they fill, and the
// submitter that empties it through sendmail, all as one sender.
class LinuxMailClient
{
    // First: the submitter below holds it.
    SenderIdentity sender_;
    bool toldMissingSender_ = false;

public:
    // The outbox is the folder "Boîte d'envoi" in programDir.
    LinuxMailClient(const QString &programDir, SenderIdentity sender);

    // Once the program is up: says when sendmail is missing, then submits
    // what an earlier run left in the outbox.
    void start()
    {
        watch.start();
        submitter.start();
    }

    // Who the next messages go out as, and how: the sender file's, then what
    // the sender window confirms. A message already in the outbox keeps its From.
    const SenderIdentity &sender() const { return sender_; }
    void setSender(const SenderIdentity &sender) { sender_ = sender; }

    // Composes the draft as the sender and puts it in the outbox; raises when it
    // cannot be composed or written. The first one without a sender address
    // of the run tells the user how to set one.
    void post(const MailDraft &draft);

    Outbox outbox;
    LinuxAutomationFactory factory{[this](const MailDraft &draft) { post(draft); }};
    OutboxSubmitter submitter{outbox, sender_};
    OutboxWatch watch{outbox, submitter};
};
