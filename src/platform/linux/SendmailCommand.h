#pragma once

#include <QString>
#include <QStringList>

// How the outbox's messages are handed to the system: the program and its
// arguments, built in this one place. The message comes on standard input.
struct SendmailCommand
{
    QString program;  // empty when the system has no sendmail
    QStringList arguments;
};

// The first "sendmail" on PATH, then /usr/sbin/sendmail, then
// /usr/lib/sendmail, run as "sendmail -t -oi": recipients from the headers,
// a line holding a lone dot does not end the message.
SendmailCommand sendmailCommand();
