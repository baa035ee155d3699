#pragma once

#include "automation/Object.h"

// Serves the mail clients' class names with our own objects that deliver
// through the system's sendmail program.
class LinuxAutomationFactory : public automation::Factory
{
public:
    automation::ObjectRef create(const std::string &className) override;
};
