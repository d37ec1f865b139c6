// A fresh temporary program folder for a worker run, removed again at the end of the test, and
// the tests' way of starting a worker there (platform/worker_process.h with the ready program
// folder's programs by bare name and a command line split at single spaces).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/completion.h"
#include "platform/worker_process.h"

namespace testsupport {

// The ready program folder of the build (where the programs are) and the source tree.
std::filesystem::path BinDir();
std::filesystem::path SourceDir();
// Where a style file of the build is: the test styles' folder, else the ready program folder
// (the library).
std::filesystem::path StylePath(const std::string& fileName);

class TempProgramFolder {
  public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void Write(const std::string& name, std::span<const std::uint8_t> bytes) const;
    void Write(const std::string& name, std::string_view text) const;
    std::string ReadText(const std::string& name) const;
    std::vector<std::uint8_t> ReadBytes(const std::string& name) const;
    bool Exists(const std::string& name) const;

  private:
    std::filesystem::path path_;
};

using WorkerRun = platform::WorkerProcessRun;

// The options of platform::RunWorkerProcess with a longer time-out: a hang fails its test
// instead of stalling it, and a slow sanitizer build still finishes in time.
struct RunOptions : platform::WorkerProcessOptions {
    RunOptions() { timeout = std::chrono::milliseconds(20000); }
};

// Runs `program` (a path, or a bare name taken from BinDir()) with `folder` as its current
// directory and the command line `makeArgs(handle)` split at single spaces, where `handle` is a
// fresh receiver's; waits for its end and collects the completion it sent, if any.
WorkerRun RunWorker(const std::string& program, const std::filesystem::path& folder,
                    const std::function<std::string(platform::Hwnd)>& makeArgs,
                    const RunOptions& options = {});
// The same, with every "{hwnd}" in `args` replaced by the handle.
WorkerRun RunWorker(const std::string& program, const std::filesystem::path& folder,
                    std::string_view args, const RunOptions& options = {});

// Reads a file as text; empty when missing.
std::string ReadTextFile(const std::filesystem::path& path);

struct CommandRun {
    std::string output;  // what it printed on its standard output
    int exitCode = -1;   // -1 when it could not be started or did not exit by itself
};
// Runs a shell command to its end.
CommandRun RunCommand(const std::string& command);
// What a shell command prints on its standard output (empty when it cannot be started).
std::string CommandOutput(const std::string& command);

}  // namespace testsupport
