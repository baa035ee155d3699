#pragma once

#include "MailDraft.h"
#include "automation/Object.h"

#include <string>

// GMime and its GLib/GIO libraries cost start-up time and memory that only a
// delivery needs, so the message composition lives in a module loaded at the
// first hand-over; so does the keyring (libsecret, over the same GLib), which
// only the sender window uses. The program and the module meet only through this table;
// no exception crosses between them.
struct ComposerCalls
{
    int version;
    // Returns false with the reason when the draft cannot be composed.
    bool (*compose)(const MailDraft &draft, const SenderIdentity &sender, std::string &message, std::string &reason);
    MessageSummary (*summarize)(const std::string &message);
    // The account's password in the desktop's Secret Service, under the
    // attributes msmtp looks up: host, service "smtp", user. False with
    // libsecret's reason when there is no Secret Service or it refused.
    bool (*storePassword)(const std::string &host, const std::string &user, const std::string &password,
                          std::string &error);
    // 1 when a password is kept, 0 when none, -1 with the reason when the keyring cannot be asked.
    int (*hasPassword)(const std::string &host, const std::string &user, std::string &error);
};

// The module is built with the program but may be found beside another build
// of it. Any change to this table or to a type it passes (MailDraft,
// SenderIdentity, MessageSummary, automation::Date): a field added, removed,
// retyped or reordered, a call added or changed, requires raising this
// version, so that a module of another layout is refused instead of read.
constexpr int ComposerCallsVersion = 2;
constexpr const char *ComposerModuleFile = "libtardello_composer.so";
constexpr const char *ComposerCallsSymbol = "tardello_composer_calls";

// The module's calls, loaded on first use (tried again on each call until it
// loads); null with the loader's reason when it cannot be.
const ComposerCalls *composer(std::string *error = nullptr);

// What a hand-over raises when the module is missing or unreadable.
class ComposerUnavailable : public automation::Failure
{
public:
    explicit ComposerUnavailable(const std::string &reason) : automation::Failure("Send", reason), reason_(reason) {}
    const std::string &reason() const { return reason_; }

private:
    std::string reason_;
};
