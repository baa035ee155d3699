#include "Routes.h"

void SendWithNotes(automation::Factory &, const OutgoingMail &, automation::Date) {}
std::string NotesMailFileName(const std::string &userName) { return userName + ".nsf"; }
