// The skeleton every worker program shares: an invisible window whose creation message runs the
// worker's job once, the completion message (DoneMessage) posted to the caller's window, the
// stored command line and its splitter, the end of a run that a WorkerFatal cut short, and the
// removal of a failed run's outputs when one of them could not be written, after which the
// error file gets the words a full disk kept from it.
// A worker describes itself with one WorkerConfig, which its driver defines as kWorkerConfig,
// and main() hands it to RunWorker.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace worker {

// A command line this long or longer is stored as the empty string.
constexpr std::size_t kCommandLineLimit = 500;
constexpr int kDefaultFieldLimit = 7;
constexpr std::int32_t kVersionStamp = 2426;

struct WorkerConfig {
    // The job: 0 for success, non-zero for failure (the process exit code). A WorkerFatal that
    // leaves it is a failure with the fatal's exit code.
    int (*job)() = nullptr;
    // The file that holds the run's messages: a run that fails because an output could not be
    // written removes every other output it wrote, never this one.
    const char* errorFile = "";
    std::uint32_t successDoneCode = 0;
    std::uint32_t failureDoneCode = 0;
    // The song loader, the chord maker and the composer end on a right-button release; the key
    // detector and the melody importer ignore it.
    bool quitOnRightButton = true;
    // Runs just before any completion is posted, with the job's failure state; the composer
    // recreates its scratch file here on failure.
    void (*beforeCompletion)(bool failed) = nullptr;
};

// The caller's window; 0 until the driver parses it, and while 0 nothing is posted.
extern platform::Hwnd CallerWindow;

// Joins argv[1..] with single spaces, the way the platform hands a command line to a program.
std::string JoinCommandLine(int argc, char** argv);

// Stores the command line (empty when kCommandLineLimit characters or longer).
void StoreCommandLine(std::string_view line);
// The stored line; after splitting, its first field only.
const char* StoredCommandLine();
// The buffer itself, for a worker with a splitter of its own.
char* StoredCommandLineBuffer();

// Splits the stored line in place at single spaces. Returns the number of fields plus 1, 0 for
// an empty line or one that begins with a space; a line with more than `fieldLimit` fields
// returns fieldLimit + 2 and keeps only the first fieldLimit fields.
int SplitCommandLine(int fieldLimit = kDefaultFieldLimit);
// Field n (from 1) of the last split; "" when there is no such field.
const char* Field(int n);

// The chord maker and the composer report a per-run code on success.
void SetSuccessDoneCode(std::uint32_t code);

// The window procedure of every worker: runs the job on the first WM_CREATE, posts the
// DoneMessage and the quit message with the job's result.
platform::LResult WorkerWndProc(platform::Hwnd window, std::uint32_t message,
                                platform::WParam wParam, platform::LParam lParam);

// The entry: stores the command line, registers "MyWinClass" with WorkerWndProc, creates the
// "Window Skeleton" window (the job runs inside) and runs the message loop; returns the exit
// code. `config` must outlive the call.
int RunWorker(std::string_view commandLine, const WorkerConfig& config);

}  // namespace worker
