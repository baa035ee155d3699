#pragma once

#include "automation/Object.h"

// Serves the mail clients' class names with our own objects, which put each
// message in the outbox that the submitter hands to the system's sendmail.
class Outbox;

class LinuxAutomationFactory : public automation::Factory
{
public:
    explicit LinuxAutomationFactory(Outbox &outbox) : outbox_(outbox) {}
    automation::ObjectRef create(const std::string &className) override;

private:
    Outbox &outbox_;
};
