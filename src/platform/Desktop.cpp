#include "Desktop.h"

#include "Clock.h"

namespace {
Desktop services;
}

Desktop &desktop()
{
    return services;
}

void setDesktop(const Desktop &chosen)
{
    services = chosen;
}

QDateTime desktopNow()
{
    return services.clock ? services.clock->now() : QDateTime::currentDateTime();
}
