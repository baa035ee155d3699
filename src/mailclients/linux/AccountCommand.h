#pragma once

#include "SenderIdentity.h"

#include <QStringList>

// msmtp's options for the sender's mail account, given on its command line
// only: no configuration file is written nor read. The password is not among
// them: msmtp finds it in the desktop's keyring under the server's name, the
// service "smtp" and the login. An accepted certificate is pinned by its
// fingerprint; otherwise the system's trusted authorities decide.
QStringList msmtpAccountOptions(const SenderIdentity &sender);

// The same server reached without checking its certificate, to read it
// ("--serverinfo"): nothing is sent and no password is given.
QStringList msmtpServerInfoOptions(const SenderIdentity &sender);
