#include "Desktop.h"

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
