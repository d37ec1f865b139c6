// A fresh temporary program folder for a worker run, removed again at the end of the test, and
// the runner that starts a worker there with a new completion handle.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/completion.h"

namespace testsupport {

// The ready program folder of the build (where the programs are) and the source tree.
std::filesystem::path BinDir();
std::filesystem::path SourceDir();

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

struct WorkerRun {
    int exitCode = -1;  // -1 when the program could not be started or died by a signal
    std::optional<platform::Completion> completion;
};

// Runs `program` (a path, or a bare name taken from BinDir()) with `folder` as its current
// directory and the command line `makeArgs(handle)` split at single spaces, where `handle` is a
// fresh receiver's; waits for its end and collects the completion it sent, if any.
WorkerRun RunWorker(const std::string& program, const std::filesystem::path& folder,
                    const std::function<std::string(platform::Hwnd)>& makeArgs);
// The same, with every "{hwnd}" in `args` replaced by the handle.
WorkerRun RunWorker(const std::string& program, const std::filesystem::path& folder,
                    std::string_view args);

// Reads a file as text; empty when missing.
std::string ReadTextFile(const std::filesystem::path& path);

}  // namespace testsupport
