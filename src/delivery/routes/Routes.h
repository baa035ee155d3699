#pragma once

#include "OutgoingMail.h"
#include "automation/Object.h"

// The ways a due mail reaches a mail client, one per client of the list in
// src/core/MailClients.h, as late-bound calls. Plain C++, so that the Windows
// build can run them without Qt.

// Swallows every failure and returns normally.
void SendWithOutlook(automation::Factory &factory, const OutgoingMail &mail);

// Raise automation::Failure at the first step that fails.
void SendWithNotes(automation::Factory &factory, const OutgoingMail &mail, automation::Date now);
void SendWithExpress(automation::Factory &factory, const OutgoingMail &mail);

// "Jean Dupont" gives "JDupont.nsf".
std::string NotesMailFileName(const std::string &userName);
