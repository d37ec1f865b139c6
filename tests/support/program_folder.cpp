#include "tests/support/program_folder.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace testsupport {

std::filesystem::path BinDir() {
    return ORVELLA_BIN_DIR;
}
std::filesystem::path SourceDir() {
    return ORVELLA_SOURCE_DIR;
}
std::filesystem::path StylePath(const std::string& fileName) {
    const std::filesystem::path test = std::filesystem::path(ORVELLA_TEST_STYLE_DIR) / fileName;
    return std::filesystem::exists(test) ? test : BinDir() / fileName;
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

CommandRun RunCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.output.append(buffer, got);
    }
    const int status = pclose(pipe);
    if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

std::string CommandOutput(const std::string& command) {
    return RunCommand(command).output;
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

WorkerRun RunWorker(const std::string& program, const std::filesystem::path& folder,
                    const std::function<std::string(platform::Hwnd)>& makeArgs,
                    const RunOptions& options) {
    const std::filesystem::path executable = program.find('/') == std::string::npos
                                                 ? BinDir() / program
                                                 : std::filesystem::path(program);
    const auto splitArgs = [&](platform::Hwnd handle) {
        const std::string line = makeArgs(handle);
        std::vector<std::string> words;
        if (line.empty()) return words;
        for (std::size_t start = 0;;) {
            const std::size_t space = line.find(' ', start);
            words.push_back(line.substr(start, space - start));
            if (space == std::string::npos) break;
            start = space + 1;
        }
        return words;
    };
    return platform::RunWorkerProcess(executable, folder, splitArgs, options);
}

WorkerRun RunWorker(const std::string& program, const std::filesystem::path& folder,
                    std::string_view args, const RunOptions& options) {
    const std::string pattern(args);
    return RunWorker(
        program, folder,
        [&](platform::Hwnd handle) { return platform::WithHandle(pattern, handle); }, options);
}

}  // namespace testsupport
