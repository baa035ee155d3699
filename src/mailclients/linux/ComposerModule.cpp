#include "ComposerModule.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <dlfcn.h>
#include <functional>
#include <memory>
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

namespace {

// One call into the module at a time: a composition runs on a thread of its
// own while the user-interface thread may name a message of the outbox.
std::mutex &moduleInUse()
{
    static std::mutex mutex;
    return mutex;
}

// Runs task on a thread of its own while the user-interface thread turns its
// event loop, so that reading and encoding an attachment of megabytes keeps
// the windows painted and answering; a scheduler tick meanwhile finds its
// pass still running and does nothing. The user's clicks and keys wait for
// the end (half a second for the largest attachment): an edit or a deletion
// of the mail being handed over cannot slip in before its row is released.
// Without an application, or off its thread, in place.
void runBesideEventLoop(const std::function<void()> &task)
{
    const QCoreApplication *application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread()) {
        task();
        return;
    }
    const std::unique_ptr<QThread> worker(QThread::create(task));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // Quitting leaves every event loop at once: the composition still ends first.
    worker->wait();
}

} // namespace

std::string ComposeMessage(const MailDraft &draft, const SenderIdentity &sender)
{
    std::string error;
    const ComposerCalls *calls = composer(&error);
    if (!calls)
        throw ComposerUnavailable("le module qui compose les mails n'a pas pu être chargé (" + error +
                                  ") ; réinstallez Tardello");
    std::string message, reason;
    bool composed = false;
    runBesideEventLoop([&] {
        const std::lock_guard lock(moduleInUse());
        composed = calls->compose(draft, sender, message, reason);
    });
    if (!composed)
        throw automation::Failure("Send", reason);
    return message;
}

MessageSummary SummarizeMessage(const std::string &message)
{
    const ComposerCalls *calls = composer();
    if (!calls)
        return {};
    const std::lock_guard lock(moduleInUse());
    return calls->summarize(message);
}
