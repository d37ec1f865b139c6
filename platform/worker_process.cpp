#include "platform/worker_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace platform {

namespace {

constexpr std::string_view kHandlePlaceholder = "{hwnd}";
// The worker posts before it exits, so its datagram is queued by the time it has ended.
constexpr std::chrono::milliseconds kCompletionWait{50};

// Waits for the child's end; kills it when it outlives `timeout`. Returns its wait status.
int WaitForChild(pid_t child, std::chrono::milliseconds timeout, bool& timedOut) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::microseconds(100);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child || (done < 0 && errno != EINTR)) return status;
        if (std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            kill(child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return status;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
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
    const int status = WaitForChild(child, options.timeout, run.timedOut);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    run.completion = receiver->Receive(kCompletionWait);
    return run;
}

}  // namespace platform
