#pragma once

#include "MailDraft.h"
#include "automation/Object.h"

#include <string>

// GMime and its GLib/GIO libraries cost start-up time and memory that only a
// delivery needs, so the message composition lives in a module loaded at the
// first hand-over. The program and the module meet only through this table;
// no exception crosses between them.
struct ComposerCalls
{
    int version;
    // Returns false with the reason when the draft cannot be composed.
    bool (*compose)(const MailDraft &draft, const SenderIdentity &sender, std::string &message, std::string &reason);
    MessageSummary (*summarize)(const std::string &message);
};

constexpr int ComposerCallsVersion = 2;
constexpr const char *ComposerModuleFile = "libtardello_composer.so";
constexpr const char *ComposerCallsSymbol = "tardello_composer_calls";

// What a hand-over raises when the module is missing or unreadable.
class ComposerUnavailable : public automation::Failure
{
public:
    explicit ComposerUnavailable(const std::string &reason) : automation::Failure("Send", reason), reason_(reason) {}
    const std::string &reason() const { return reason_; }

private:
    std::string reason_;
};
