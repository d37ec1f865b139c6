// The five workers as the file-layer suite drives them: each one's command line, error file and
// failure code, the files it reads and writes, and what the worker makes of each file when it
// cannot be read, cannot be created, or cannot be written completely. The inputs of a good run
// come from running the chain on the demo melody once per test program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/program_folder.h"

namespace filelayer {

using Bytes = std::vector<std::uint8_t>;
using Files = std::map<std::string, Bytes>;

enum class Outcome {
    kSuccess,        // success completion, exit code 0
    kFailure,        // the worker's failure completion, exit code 1
    kSilentFailure,  // exit code 1 and no completion: the caller's handle is not read yet
};

struct Expectation {
    Outcome outcome = Outcome::kSuccess;
    // The whole error file afterwards; nullopt where it cannot be checked (the error file is
    // the file that failed, or it holds the diagnostics of a run that went on).
    std::optional<std::string> errorText;
    // The run failed because of the file, and its message says why the file system refused it.
    bool saysWhy = false;
};

// The error file a case expects, where `reason` is why the file system refused the file
// ("No space left on device").
std::string ExpectedErrorText(const Expectation& expected, const std::string& reason);

struct InputFile {
    std::string name;
    Expectation whenUnreadable;  // missing, a folder, a FIFO ...
};

struct OutputFile {
    std::string name;
    Expectation whenNotCreatable;  // a folder or a FIFO at its name
    Expectation whenNotWritable;   // the disk is full for it
    // An output written in steps may have another message for a step after its first.
    std::optional<Expectation> whenALaterStepFails;
    // Written through a temporary file and a rename: a failed run leaves the previous one.
    bool replacedWhole = false;
    // Made anew, empty, by every failed run (the composer's scratch file); other plain outputs
    // of a run that failed for want of room are gone.
    bool emptyAfterFailure = false;
    // A run may go on without it, so a successful run may lack it.
    bool optional = false;
};

struct Worker {
    std::string program;
    std::function<std::string(platform::Hwnd)> arguments;
    std::string errorFile;
    std::uint32_t failureCode = 0;
    std::vector<InputFile> inputs;
    std::vector<OutputFile> outputs;
    Files prepared;  // the inputs of a good run
};

// Every error file that a run of `worker` which failed on a full disk can leave: the message of
// the output that met it, with why.
std::vector<std::string> FullDiskErrorTexts(const Worker& worker, const std::string& reason);

// The workers by program name; their prepared inputs are made on first use.
const std::vector<std::string>& WorkerNames();
const Worker& WorkerNamed(const std::string& program);

// The options every run of the suite uses (a fixed chord data key), plus `fault`, the value of
// ORVELLA_FILE_FAULT when not empty.
testsupport::RunOptions SuiteRunOptions(const std::string& fault = "");

// Runs the worker in `folder`.
testsupport::WorkerRun RunIn(const Worker& worker, const std::filesystem::path& folder,
                             const std::string& fault = "");

// The outputs as a caller reads them: the composer's output decoded with the run code it
// reported, the other files as they stand. Missing files are left out.
Files ReadOutputs(const Worker& worker, const std::filesystem::path& folder,
                  const testsupport::WorkerRun& run);

// The outputs of a good run in a fresh folder (made once per worker).
const Files& CleanOutputs(const Worker& worker);

// What a replaced output held before the run, so the suite can tell it was kept.
Bytes PreviousContent(const std::string& name);

}  // namespace filelayer
