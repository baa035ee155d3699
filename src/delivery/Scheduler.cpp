#include "Scheduler.h"

#include "Program.h"

void Scheduler::SendDueMail()
{
}
