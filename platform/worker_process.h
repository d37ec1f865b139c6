// Running a worker program the way its caller does: in a program folder, with a fresh completion
// handle on its command line, waiting for its completion and its exit. The tools, the tests and
// the benchmarks start workers through here; the front end starts them with posix_spawn and
// takes the completion on its own (platform/qt/worker_start.h).
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/completion.h"

namespace platform {

struct WorkerProcessOptions {
    // Set in the worker's environment only ("NAME", "value").
    std::vector<std::pair<std::string, std::string>> environment;
    // A worker still running after this is killed, so that a hang cannot stall its caller.
    std::chrono::milliseconds timeout{10000};
};

struct WorkerProcessRun {
    bool started = false;   // the receiver opened and the process was created
    int exitCode = -1;      // -1 when the program could not be run or died by a signal
    int signal = 0;         // the signal that ended it, if one did
    bool timedOut = false;  // it was still running at the time-out and was killed
    std::optional<Completion> completion;
};

// Starts `program` with `folder` as its current directory and the arguments `makeArgs(handle)`
// (after the program's own name), where `handle` is a fresh completion receiver's; waits for its
// end and collects the completion it posted, if any. Only a completion sent by that process
// itself counts (a wrapper script must exec the worker); other datagrams at the handle are read
// and dropped while it runs. A program that cannot be executed exits with 127.
WorkerProcessRun RunWorkerProcess(const std::filesystem::path& program,
                                  const std::filesystem::path& folder,
                                  const std::function<std::vector<std::string>(Hwnd)>& makeArgs,
                                  const WorkerProcessOptions& options = {});

// `text` with every "{hwnd}" replaced by the handle: how command lines name the handle to come.
std::string WithHandle(std::string_view text, Hwnd handle);

}  // namespace platform
