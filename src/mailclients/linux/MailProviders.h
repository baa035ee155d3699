#pragma once

#include "SenderIdentity.h"

#include <QString>

#include <optional>

// The sending server of a well-known mail provider, and where it wants an
// application password rather than the account's own.
struct MailProvider
{
    QString server;
    int port;
    AccountSecurity security;
    QString passwordHint;  // empty when the account's own password is taken
};

// The provider of an address, by its domain (any case); none when unknown.
std::optional<MailProvider> providerOf(const QString &address);
