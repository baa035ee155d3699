#pragma once

#include <chrono>
#include <string>

// The system's sendmail-compatible program: the first "sendmail" on PATH,
// then /usr/sbin/sendmail, then /usr/lib/sendmail. Empty when there is none.
std::string FindSendmail();

// Runs the sender's sendmail command (SendmailCommand) with the message on its standard input and waits
// for it. Raises automation::Failure (member "Send") when there is no
// sendmail, it cannot be started, it does not take the whole message, it
// exits with a status other than 0, or it is still running after timeLimit
// (it is then killed: a hung sendmail must not freeze the program for good).
void RunSendmail(const std::string &message, std::chrono::milliseconds timeLimit = std::chrono::minutes(2));
