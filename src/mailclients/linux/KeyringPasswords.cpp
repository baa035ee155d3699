#include "KeyringPasswords.h"

#include <libsecret/secret.h>

namespace {

// The attributes msmtp looks its password up by; the schema's name is not
// matched, so an entry made with secret-tool for msmtp is the same entry.
const SecretSchema &schema()
{
    static const SecretSchema accountPassword{"org.tardello.Password",
                                              SECRET_SCHEMA_DONT_MATCH_NAME,
                                              {{"host", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                               {"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                               {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                               {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}}};
    return accountPassword;
}

std::string taken(GError *error)
{
    std::string reason = error && error->message ? error->message : "erreur inconnue";
    g_clear_error(&error);
    return reason;
}

} // namespace

bool storeKeyringPassword(const std::string &host, const std::string &user, const std::string &password,
                          std::string &error)
{
    GError *failure = nullptr;
    const std::string label = "Mot de passe SMTP de " + user + " sur " + host + " (Tardello)";
    const bool stored = secret_password_store_sync(&schema(), SECRET_COLLECTION_DEFAULT, label.c_str(),
                                                   password.c_str(), nullptr, &failure, "host", host.c_str(),
                                                   "service", "smtp", "user", user.c_str(), nullptr);
    if (!stored)
        error = taken(failure);
    return stored;
}

int hasKeyringPassword(const std::string &host, const std::string &user, std::string &error)
{
    GError *failure = nullptr;
    gchar *password = secret_password_lookup_sync(&schema(), nullptr, &failure, "host", host.c_str(), "service",
                                                  "smtp", "user", user.c_str(), nullptr);
    if (failure) {
        error = taken(failure);
        return -1;
    }
    const bool found = password != nullptr;
    secret_password_free(password);  // wiped before it is freed
    return found ? 1 : 0;
}
