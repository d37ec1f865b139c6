// runworker [--timeout=SECONDS] FOLDER PROGRAM [ARG ...]: runs a worker program with FOLDER as
// its current directory and a fresh completion handle in place of every "{hwnd}" argument, then
// prints what came back:
//   completion: <message> <wParam> <lParam hex>   (or "completion: none")
//   exit: <code>                                  (or "exit: timeout")
// A worker still running after the time-out (10 seconds unless given, as long as the front end
// waits) is killed. The completion is the one the started process sent (a shell wrapper must
// exec the worker). It serves tests, the README's main job and anyone checking a worker from
// the shell.
#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/worker_process.h"

namespace {

constexpr int kDefaultTimeoutSeconds = 10;

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
    std::vector<std::string> words;
    for (int i = first + 2; i < argc; ++i) words.push_back(argv[i]);
    platform::WorkerProcessOptions options;
    options.timeout = std::chrono::seconds(timeoutSeconds);
    const auto run = platform::RunWorkerProcess(
        argv[first + 1], argv[first],
        [&](platform::Hwnd handle) {
            std::vector<std::string> args;
            for (const std::string& word : words)
                args.push_back(platform::WithHandle(word, handle));
            return args;
        },
        options);
    if (!run.started) {
        std::fprintf(stderr, "runworker: cannot open a completion receiver\n");
        return 2;
    }
    const auto& completion = run.completion;
    if (completion) {
        std::printf("completion: %u %u 0x%08X\n", completion->message, completion->wParam,
                    completion->lParam);
    } else {
        std::printf("completion: none\n");
    }
    if (run.timedOut) {
        std::printf("exit: timeout\n");
        return 0;
    }
    const int code = run.signal != 0 ? 128 + run.signal : run.exitCode;
    std::printf("exit: %d\n", code);
    return 0;
}
