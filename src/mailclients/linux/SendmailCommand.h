#pragma once

#include "SenderIdentity.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// How a message is handed to the system, built in this one place for the
// outbox and the sender test. The message comes on standard input.
struct SendmailCommand
{
    QString program;  // empty when there is nothing to run
    QStringList arguments;
};

// With a mail account: msmtp with the account's options (see
// AccountCommand.h), "-t -oi" and "-F name"; empty program when msmtp is missing.
// Otherwise the sender's own command (split at blanks, double quotes keeping a word
// whole; no shell runs it) or the system's sendmail -- the first "sendmail" on
// PATH, then /usr/sbin/sendmail, then /usr/lib/sendmail -- followed by
// "-t -oi" (recipients from the headers, a lone dot does not end the
// message), then "-f address" and "-F name" when the sender has them.
SendmailCommand sendmailCommand(const SenderIdentity &sender);

// The environment sendmail runs in: the program's, with messages in English
// (LC_ALL=C), whose words the failure sentences are chosen by.
QProcessEnvironment sendmailEnvironment();
