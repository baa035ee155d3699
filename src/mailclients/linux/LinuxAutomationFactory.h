#pragma once

#include "MailDraft.h"
#include "automation/Object.h"

// Serves the mail clients' class names with our own objects, whose "Send"
// hands each draft to post.
class LinuxAutomationFactory : public automation::Factory
{
public:
    explicit LinuxAutomationFactory(PostDraft post) : post_(std::move(post)) {}
    automation::ObjectRef create(const std::string &className) override;

private:
    PostDraft post_;
};
