#include "Routes.h"

void SendWithExpress(automation::Factory &, const OutgoingMail &) {}
