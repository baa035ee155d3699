#pragma once

#include "SenderIdentity.h"

#include <QString>

#include <optional>

// The mail account's password, kept only in the desktop's keyring (Secret
// Service), where msmtp finds it by itself: never in a file, an argument or
// the environment of a process.
namespace AccountPassword {

// Puts the password in the keyring for the account's server and login,
// replacing the one kept. The sentence to show when it could not be kept.
std::optional<QString> store(const SenderIdentity &account, const QString &password);

enum class Kept { Yes, No, NoKeyring };
// Whether the keyring holds a password for the account; NoKeyring (and the
// sentence to show in problem) when there is no Secret Service to ask.
Kept kept(const SenderIdentity &account, QString *problem = nullptr);

} // namespace AccountPassword
