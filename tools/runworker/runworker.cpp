// runworker [--timeout=SECONDS] FOLDER PROGRAM [ARG ...]: runs a worker program with FOLDER as
// its current directory and a fresh completion handle in place of every "{hwnd}" argument, then
// prints what came back:
//   completion: <message> <wParam> <lParam hex>   (or "completion: none")
//   exit: <code>                                  (or "exit: timeout")
// A worker still running after the time-out (10 seconds unless given, as long as the front end
// waits) is killed. It serves tests, the README's main job and anyone checking a worker from
// the shell.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/completion.h"

namespace {

constexpr int kDefaultTimeoutSeconds = 10;

// Waits for the child; false when it had to be killed at the deadline.
bool WaitOrKill(pid_t child, std::chrono::seconds timeout, int& status) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child || (done < 0 && errno != EINTR)) return true;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    int timeoutSeconds = kDefaultTimeoutSeconds;
    constexpr std::string_view kTimeoutOption = "--timeout=";
    if (argc > 1 && std::string_view(argv[1]).starts_with(kTimeoutOption)) {
        const std::string_view value = std::string_view(argv[1]).substr(kTimeoutOption.size());
        const auto [end, ec] =
            std::from_chars(value.data(), value.data() + value.size(), timeoutSeconds);
        if (ec != std::errc() || end != value.data() + value.size() || timeoutSeconds < 1) {
            std::fprintf(stderr, "runworker: the time-out must be a number of seconds, not %s\n",
                         argv[1]);
            return 2;
        }
        first = 2;
    }
    if (argc < first + 2) {
        std::fprintf(stderr,
                     "usage: runworker [--timeout=SECONDS] FOLDER PROGRAM [ARG ...]   ({hwnd} = "
                     "the handle)\n");
        return 2;
    }
    auto receiver = platform::CompletionReceiver::Open();
    if (!receiver) {
        std::fprintf(stderr, "runworker: cannot open a completion receiver\n");
        return 2;
    }
    const std::string handle = std::to_string(receiver->handle());
    std::vector<std::string> words;
    for (int i = first + 1; i < argc; ++i) {
        std::string word = argv[i];
        for (auto at = word.find("{hwnd}"); at != std::string::npos; at = word.find("{hwnd}", at)) {
            word.replace(at, 6, handle);
        }
        words.push_back(word);
    }
    std::vector<char*> args;
    for (auto& word : words) args.push_back(word.data());
    args.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        if (chdir(argv[first]) != 0) _exit(127);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    const bool ended = WaitOrKill(child, std::chrono::seconds(timeoutSeconds), status);
    const auto completion = receiver->Receive(std::chrono::milliseconds(100));
    if (completion) {
        std::printf("completion: %u %u 0x%08X\n", completion->message, completion->wParam,
                    completion->lParam);
    } else {
        std::printf("completion: none\n");
    }
    if (!ended) {
        std::printf("exit: timeout\n");
        return 0;
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("exit: %d\n", code);
    return 0;
}
