#pragma once

#include <string>

// How the connection to the account's server is protected.
enum class AccountSecurity { StartTls, Tls, None };

// Who the Linux mail goes out as, and through which sendmail command or mail
// account. All fields UTF-8; an empty command means the system's sendmail.
// With a server, the mail goes through the account (msmtp) and the command is
// not used; the account's password lives in the desktop's keyring only.
struct SenderIdentity
{
    std::string name;
    std::string address;
    std::string command;
    std::string server;
    int port = 0;  // 0: the usual port of the security
    AccountSecurity security = AccountSecurity::StartTls;
    std::string user;         // empty: the address
    std::string fingerprint;  // SHA-256 of a server certificate the user accepted, "AA:BB:..."
};

// 587, 465 or 25 unless the account names its port.
int AccountPort(const SenderIdentity &sender);
// The login given to the server: the identifier, else the address.
std::string AccountUser(const SenderIdentity &sender);

// What follows the last "@" of the address; empty when there is none.
std::string SenderDomain(const SenderIdentity &sender);

// Tells the user, without blocking, that no sender address is set and how to set one.
void TellMissingSender();
