#pragma once

#include <string>

// The module's side of the account password (see ComposerCalls): libsecret,
// over the session bus's org.freedesktop.secrets.
bool storeKeyringPassword(const std::string &host, const std::string &user, const std::string &password,
                          std::string &error);
int hasKeyringPassword(const std::string &host, const std::string &user, std::string &error);
