#include "ComposerModule.h"
#include "KeyringPasswords.h"

#include <exception>

namespace {

bool compose(const MailDraft &draft, const SenderIdentity &sender, std::string &message, std::string &reason)
{
    try {
        message = ComposeMessage(draft, sender);
        return true;
    } catch (const automation::Failure &failure) {
        // Without the member's name, which the program adds back.
        reason = std::string(failure.what()).substr(failure.member().size() + 2);
    } catch (const std::exception &failure) {
        reason = failure.what();
    }
    return false;
}

MessageSummary summarize(const std::string &message)
{
    try {
        return SummarizeMessage(message);
    } catch (const std::exception &) {
        return {};
    }
}

const ComposerCalls calls{ComposerCallsVersion, compose, summarize, storeKeyringPassword, hasKeyringPassword};

} // namespace

extern "C" __attribute__((visibility("default"))) const ComposerCalls *tardello_composer_calls()
{
    return &calls;
}
