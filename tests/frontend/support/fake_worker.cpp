// A stand-in for any worker program, for tests of the callers' time-outs, late completions and
// failures. Installed in a program folder under a worker's name ("Compose"), it reads
// "<name>.fake" in its current folder, one setting a line:
//   delay_ms=1500          wait this long before answering
//   code=58 | none         the completion code to post, or no completion at all
//   failed=1               post it with the failure flag
//   error_file=Error3.msg  write error_text (\n, \r and \\ escapes) into this file
//   error_text=...
//   copy=SOURCE TARGET     copy a prepared file into place before answering (repeatable)
//   handle_token=13        which token is the caller's handle (by default the worker's own)
// and logs "start <arguments>" and "done <code> <failed>" (or "done none") to "<name>.fake.log",
// so tests see the command line and know when the fake has read its settings; its process id
// goes to "<name>.fake.pid" before the log line, so a test can tell whether the caller ended
// it. Without a settings file it ends at once and posts nothing.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/completion.h"

namespace {

int DefaultHandleToken(const std::string& program) {
    static const std::map<std::string, int> tokens = {
        {"Ambrel", 3}, {"Sorvik", 1}, {"Tressil", 2}, {"Compose", 13}, {"Quenby", 12}};
    const auto it = tokens.find(program);
    return it == tokens.end() ? 1 : it->second;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

void Log(const std::string& program, const std::string& line) {
    std::ofstream log(program + ".fake.log", std::ios::app);
    log << line << '\n';
}

bool Copy(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    return static_cast<bool>(out);
}

}  // namespace

int Run(int argc, char** argv) {
    std::string program = argv[0];
    program = program.substr(program.find_last_of('/') + 1);
    std::vector<std::string> args(argv + 1, argv + argc);

    std::ifstream settingsFile(program + ".fake");
    if (!settingsFile) return 2;
    std::map<std::string, std::string> settings;
    std::vector<std::pair<std::string, std::string>> copies;
    for (std::string line; std::getline(settingsFile, line);) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "copy") {
            const std::size_t blank = value.find(' ');
            copies.emplace_back(value.substr(0, blank), value.substr(blank + 1));
        } else {
            settings[key] = value;
        }
    }
    std::string joined;
    for (const std::string& arg : args) joined += (joined.empty() ? "" : " ") + arg;
    std::ofstream(program + ".fake.pid", std::ios::trunc) << ::getpid() << '\n';
    Log(program, "start " + joined);

    if (settings.count("delay_ms"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(settings["delay_ms"])));
    for (const auto& [from, to] : copies) Copy(from, to);
    if (settings.count("error_file")) {
        std::ofstream error(settings["error_file"], std::ios::binary | std::ios::trunc);
        error << Unescape(settings["error_text"]);
    }
    const bool failed = settings["failed"] == "1";
    const std::string code = settings.count("code") ? settings["code"] : "none";
    if (code == "none") {
        Log(program, "done none");
        return failed ? 1 : 0;
    }
    const int handleToken = settings.count("handle_token") ? std::stoi(settings["handle_token"])
                                                           : DefaultHandleToken(program);
    const platform::Hwnd handle =
        handleToken >= 1 && handleToken <= static_cast<int>(args.size())
            ? static_cast<platform::Hwnd>(std::stoul(args[handleToken - 1]))
            : 0;
    platform::Completion completion;
    completion.message = platform::WM_KEYUP;
    completion.wParam = static_cast<std::uint32_t>(std::stoul(code));
    completion.lParam = failed ? platform::kCompletionFailed : 0;
    if (handle != 0) platform::SendCompletion(handle, completion);
    Log(program, "done " + code + (failed ? " 1" : " 0"));
    return failed ? 1 : 0;
}

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception&) {
        return 3;  // a setting or a handle that is not a number
    }
}
