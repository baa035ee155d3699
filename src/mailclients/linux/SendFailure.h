#pragma once

#include "SenderIdentity.h"

#include <QString>

// What went wrong when sendmail or msmtp did not take a message, read from
// its exit code (sysexits) and its error output in English (LC_ALL=C).
enum class SendFailure {
    UnknownServer,     // the server's name is not found
    ConnectionRefused, // nothing listens on that port
    NoAnswer,          // timed out, or the network cannot reach it
    Certificate,       // the certificate is not trusted, or not the one accepted
    Tls,               // the encrypted connection itself failed
    Password,          // login or password refused
    MissingPassword,   // no password in the keyring for the account
    SenderRefused,
    RecipientRefused,
    Other,
};
SendFailure classifySendFailure(int exitCode, const QString &said);

// One plain French sentence for the failure, then, on a line of its own, the
// program's own words ("Détail (msmtp) : ..."), or its exit code when it said
// nothing. The sender gives the server's name and the provider's hint on
// application passwords.
QString sendFailureText(int exitCode, const QString &said, const QString &program, const SenderIdentity &sender);

// What start-up tells when nothing can send yet: msmtp missing for the
// account, or no sendmail on this machine; the mails wait in the outbox.
QString missingProgramText(const SenderIdentity &sender, const QString &outbox);
