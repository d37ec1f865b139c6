// runworker FOLDER PROGRAM [ARG ...]: runs a worker program with FOLDER as its current directory
// and a fresh completion handle in place of every "{hwnd}" argument, then prints what came back:
//   completion: <message> <wParam> <lParam hex>   (or "completion: none")
//   exit: <code>
// It serves tests, the README's main job and anyone checking a worker from the shell.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/completion.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: runworker FOLDER PROGRAM [ARG ...]   ({hwnd} = the handle)\n");
        return 2;
    }
    auto receiver = platform::CompletionReceiver::Open();
    if (!receiver) {
        std::fprintf(stderr, "runworker: cannot open a completion receiver\n");
        return 2;
    }
    const std::string handle = std::to_string(receiver->handle());
    std::vector<std::string> words;
    for (int i = 2; i < argc; ++i) {
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
        if (chdir(argv[1]) != 0) _exit(127);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    const auto completion = receiver->Receive(std::chrono::milliseconds(100));
    if (completion) {
        std::printf("completion: %u %u 0x%08X\n", completion->message, completion->wParam,
                    completion->lParam);
    } else {
        std::printf("completion: none\n");
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("exit: %d\n", code);
    return 0;
}
