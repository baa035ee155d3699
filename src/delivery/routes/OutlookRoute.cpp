#include "Routes.h"

void SendWithOutlook(automation::Factory &, const OutgoingMail &) {}
