#pragma once

#include "SenderIdentity.h"

#include <string>
#include <vector>

// The command line that submits one message read from standard input: the
// sender's own command (split at blanks, double quotes keeping a word whole;
// no shell runs it) or
// the system's sendmail, then "-t -oi", then "-f address" and "-F name" when
// the sender has them. Empty when there is no program to run.
std::vector<std::string> SendmailCommand(const SenderIdentity &sender);
