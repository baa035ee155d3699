#pragma once

#include <string>

// The system's sendmail-compatible program: the first "sendmail" on PATH,
// then /usr/sbin/sendmail, then /usr/lib/sendmail. Empty when there is none.
std::string FindSendmail();

// Runs "sendmail -t -oi" with the message on its standard input and waits
// for it. Raises automation::Failure (member "Send") when there is no
// sendmail, it cannot be started, it does not take the whole message or it
// exits with a status other than 0.
void RunSendmail(const std::string &message);
