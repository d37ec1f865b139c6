#include "tests/support/program_folder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testsupport {

std::filesystem::path BinDir() {
    return ORVELLA_BIN_DIR;
}
std::filesystem::path SourceDir() {
    return ORVELLA_SOURCE_DIR;
}

TempProgramFolder::TempProgramFolder() {
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate =
            std::filesystem::temp_directory_path() / ("orvella-test-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary program folder");
}

TempProgramFolder::~TempProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempProgramFolder::Write(const std::string& name, std::span<const std::uint8_t> bytes) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void TempProgramFolder::Write(const std::string& name, std::string_view text) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string ReadTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    pclose(pipe);
    return out;
}

std::string TempProgramFolder::ReadText(const std::string& name) const {
    return ReadTextFile(path_ / name);
}

std::vector<std::uint8_t> TempProgramFolder::ReadBytes(const std::string& name) const {
    const std::string text = ReadText(name);
    return {text.begin(), text.end()};
}

bool TempProgramFolder::Exists(const std::string& name) const {
    return std::filesystem::exists(path_ / name);
}

namespace {

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

WorkerRun RunWorker(const std::string& program, const std::filesystem::path& folder,
                    const std::function<std::string(platform::Hwnd)>& makeArgs,
                    const RunOptions& options) {
    WorkerRun run;
    auto receiver = platform::CompletionReceiver::Open();
    if (!receiver) return run;
    const std::string line = makeArgs(receiver->handle());

    std::vector<std::string> words;
    if (!line.empty()) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t space = line.find(' ', start);
            words.push_back(line.substr(start, space - start));
            if (space == std::string::npos) break;
            start = space + 1;
        }
    }
    const std::filesystem::path executable = program.find('/') == std::string::npos
                                                 ? BinDir() / program
                                                 : std::filesystem::path(program);
    std::vector<char*> argv;
    std::string name = executable.string();
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
    const int status = WaitForChild(child, options.timeout, run.timedOut);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    // The worker sent before it ended, so the datagram is already queued if there is one.
    run.completion = receiver->Receive(std::chrono::milliseconds(50));
    return run;
}

WorkerRun RunWorker(const std::string& program, const std::filesystem::path& folder,
                    std::string_view args, const RunOptions& options) {
    const std::string pattern(args);
    return RunWorker(
        program, folder,
        [&](platform::Hwnd handle) {
            std::string line = pattern;
            const std::string value = std::to_string(handle);
            for (std::size_t at = line.find("{hwnd}"); at != std::string::npos;
                 at = line.find("{hwnd}", at + value.size())) {
                line.replace(at, 6, value);
            }
            return line;
        },
        options);
}

}  // namespace testsupport
