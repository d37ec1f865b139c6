#include "platform/worker_process.h"

#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kHandlePlaceholder = "{hwnd}";
// Where the kernel offers no process descriptor, the child's end is looked for this often.
constexpr std::chrono::milliseconds kEndCheckWithoutDescriptor{2};

// Waits for the child's end and takes its completion meanwhile; kills it when it outlives
// `timeout`. One poll watches both the child (through a process descriptor) and the completion
// socket: the worker's datagram is taken as it comes, and whatever else a neighbour of the same
// user queued there is read away with it, so that it can neither fill the queue nor pass for the
// worker's answer. Returns the child's wait status.
int WaitForChild(pid_t child, CompletionReceiver& receiver, std::chrono::milliseconds timeout,
                 bool& timedOut, std::optional<Completion>& completion) {
    const auto take = [&] {
        std::optional<Completion> got = receiver.TakeQueued(child);
        if (!completion) completion = got;
    };
    const auto deadline = Clock::now() + timeout;
    const int end = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child || (done < 0 && errno != EINTR)) break;
        const auto now = Clock::now();
        if (now >= deadline) {
            timedOut = true;
            kill(child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        if (end < 0) wait = std::min(wait, kEndCheckWithoutDescriptor);
        std::array<pollfd, 2> watched{pollfd{receiver.fd(), POLLIN, 0}, pollfd{end, POLLIN, 0}};
        const int ready = poll(watched.data(), end >= 0 ? 2 : 1, static_cast<int>(wait.count()));
        if (ready > 0 && (watched[0].revents & POLLIN) != 0) take();
    }
    if (end >= 0) close(end);
    // The worker posts before it ends, so its datagram is queued by now.
    take();
    return status;
}

}  // namespace

std::string WithHandle(std::string_view text, Hwnd handle) {
    std::string line(text);
    const std::string value = std::to_string(handle);
    for (std::size_t at = line.find(kHandlePlaceholder); at != std::string::npos;
         at = line.find(kHandlePlaceholder, at + value.size())) {
        line.replace(at, kHandlePlaceholder.size(), value);
    }
    return line;
}

WorkerProcessRun RunWorkerProcess(const std::filesystem::path& program,
                                  const std::filesystem::path& folder,
                                  const std::function<std::vector<std::string>(Hwnd)>& makeArgs,
                                  const WorkerProcessOptions& options) {
    WorkerProcessRun run;
    auto receiver = CompletionReceiver::Open();
    if (!receiver) return run;
    std::vector<std::string> words = makeArgs(receiver->handle());
    std::string name = program.string();
    std::vector<char*> argv;
    argv.push_back(name.data());
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) return run;
    if (child == 0) {
        for (const auto& [variable, value] : options.environment) {
            setenv(variable.c_str(), value.c_str(), 1);
        }
        if (chdir(folder.c_str()) != 0) _exit(127);
        execv(name.c_str(), argv.data());
        _exit(127);
    }
    run.started = true;
    const int status =
        WaitForChild(child, *receiver, options.timeout, run.timedOut, run.completion);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    return run;
}

}  // namespace platform
