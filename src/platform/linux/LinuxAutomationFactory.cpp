#include "LinuxAutomationFactory.h"

automation::ObjectRef LinuxAutomationFactory::create(const std::string &className)
{
    throw automation::Failure(className, "class not registered");
}
