#include "Sendmail.h"

#include "SendmailCommand.h"

#include "automation/Object.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

[[noreturn]] void fail(const std::string &reason)
{
    throw automation::Failure("Send", reason);
}

bool isExecutable(const std::string &path)
{
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline, for poll().
int msLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : int(std::min<long long>(left, 1 << 30));
}

// Waits until fd is ready for events; false when the deadline passed first.
bool readyBefore(int fd, short events, Clock::time_point deadline)
{
    pollfd watched{fd, events, 0};
    int ready = 0;
    while ((ready = poll(&watched, 1, msLeft(deadline))) < 0 && errno == EINTR) {
    }
    return ready != 0;
}

// A descriptor that becomes readable when the child ends (-1 on kernels without it).
int exitDescriptor(pid_t child)
{
    return int(syscall(SYS_pidfd_open, child, 0));
}

// Writes everything to a non-blocking fd; false when the reader went away first
// or did not take it all before the deadline. SIGPIPE is held back meanwhile so
// that a sendmail that quits early cannot end the program.
bool writeAll(int fd, const std::string &data, Clock::time_point deadline)
{
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    bool complete = true;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = write(fd, data.data() + done, data.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EAGAIN && readyBefore(fd, POLLOUT, deadline))
            continue;
        if (written <= 0) {
            complete = false;
            break;
        }
        done += std::size_t(written);
    }
    if (!complete) {
        const timespec immediately{0, 0};
        sigtimedwait(&pipeSignal, nullptr, &immediately);  // drop the SIGPIPE we caused
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return complete;
}

} // namespace

std::string FindSendmail()
{
    if (const char *path = std::getenv("PATH")) {
        const std::string directories(path);
        std::size_t start = 0;
        while (start <= directories.size()) {
            std::size_t end = directories.find(':', start);
            if (end == std::string::npos)
                end = directories.size();
            const std::string directory = directories.substr(start, end - start);
            const std::string candidate = (directory.empty() ? std::string(".") : directory) + "/sendmail";
            if (isExecutable(candidate))
                return candidate;
            start = end + 1;
        }
    }
    for (const char *candidate : {"/usr/sbin/sendmail", "/usr/lib/sendmail"})
        if (isExecutable(candidate))
            return candidate;
    return {};
}

void RunSendmail(const std::string &message, std::chrono::milliseconds timeLimit)
{
    const Clock::time_point deadline = Clock::now() + timeLimit;
    std::vector<std::string> command = SendmailCommand(CurrentSender());
    if (command.empty())
        fail("aucun programme sendmail");
    const std::string program = command.front();

    int input[2];
    if (pipe2(input, O_CLOEXEC) != 0)
        fail(std::string("tube impossible : ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    std::vector<char *> argv;
    for (std::string &word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    if (spawned != 0) {
        close(input[1]);
        fail(program + " n'a pas pu être lancé : " + std::strerror(spawned));
    }

    fcntl(input[1], F_SETFL, O_NONBLOCK);
    const bool complete = writeAll(input[1], message, deadline);
    close(input[1]);
    const int exited = exitDescriptor(child);
    const bool inTime = exited < 0 || readyBefore(exited, POLLIN, deadline);
    if (exited >= 0)
        close(exited);
    if (!inTime)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!inTime)
        fail(program + " ne répond pas (délai dépassé)");
    if (!WIFEXITED(status))
        fail(program + " s'est arrêté anormalement");
    if (WEXITSTATUS(status) != 0)
        fail(program + " a échoué (code " + std::to_string(WEXITSTATUS(status)) + ")");
    if (!complete)
        fail(program + " n'a pas lu tout le message");
}
