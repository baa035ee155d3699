#include "ComposerModule.h"

#include <dlfcn.h>
#include <mutex>

namespace {

struct Loaded
{
    const ComposerCalls *calls = nullptr;
    std::string error;
};

} // namespace

// Found through the program's run path: beside the installed program, in the
// build tree for the tests. Tried again on each hand-over until it loads, so
// a module put back is used without a restart.
const ComposerCalls *composer(std::string *error)
{
    static std::mutex mutex;
    static Loaded loaded;
    const std::lock_guard lock(mutex);
    if (!loaded.calls) {
        void *module = ::dlopen(ComposerModuleFile, RTLD_NOW | RTLD_LOCAL);
        using Entry = const ComposerCalls *(*)();
        const auto entry = module ? reinterpret_cast<Entry>(::dlsym(module, ComposerCallsSymbol)) : nullptr;
        const ComposerCalls *calls = entry ? entry() : nullptr;
        if (calls && calls->version == ComposerCallsVersion) {
            loaded.calls = calls;
        } else {
            const char *reason = ::dlerror();
            loaded.error = reason ? reason : std::string(ComposerModuleFile) + " d'une autre version";
            if (module)
                ::dlclose(module);
        }
    }
    if (!loaded.calls && error)
        *error = loaded.error;
    return loaded.calls;
}

std::string ComposeMessage(const MailDraft &draft, const SenderIdentity &sender)
{
    std::string error;
    const ComposerCalls *calls = composer(&error);
    if (!calls)
        throw ComposerUnavailable("le module qui compose les mails n'a pas pu être chargé (" + error +
                                  ") ; réinstallez Tardello");
    std::string message, reason;
    if (!calls->compose(draft, sender, message, reason))
        throw automation::Failure("Send", reason);
    return message;
}

MessageSummary SummarizeMessage(const std::string &message)
{
    const ComposerCalls *calls = composer();
    return calls ? calls->summarize(message) : MessageSummary{};
}
