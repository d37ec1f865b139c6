// The rules of the workflow's worker control that need no window: where a completion goes, and
// what the box shows for a worker's error file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// CmdRunning: which command waits for its worker.
enum CommandRunning { kNoCommand = 0, kLoadInCommand = 1, kProceedCommand = 2, kMakeCommand = 3 };

enum class CompletionRoute {
    kTimedOutWorker,  // the one late completion of the worker that timed out
    kNobodyWaits,     // a command's code while no command runs: ignored
    kLoadIn,
    kProceed,
    kMake,
    kForeign,  // a code that belongs to no command of the main window
};

// `keyCode` is the completion code. A late completion after a time-out is recognised first;
// a code of one of the three commands counts only while a command runs, so a stray completion
// can never finish a command twice or let two workers run at once.
CompletionRoute RouteCompletion(int keyCode, int cmdRunning, bool cmdTimedOut);

// How many bytes of a worker's error file the box shows.
constexpr std::size_t kWorkerErrorBytes = 120;

// Only Load In may hold a message back; the melody importer dialog's box is always shown.
enum class WorkerErrorMode { kLoadIn = 1, kProceed = 2, kMake = 3, kMelodyImport = 4 };

struct WorkerErrorBox {
    int result = 1;    // 1 a box was shown, 2 the message was held back
    std::string text;  // the box's text (empty when held back)
};

// `head` is at most the first kWorkerErrorBytes bytes of the error file, nullopt when it could
// not be read. Line ends CR LF are shown as line feeds.
WorkerErrorBox WorkerErrorMessage(const std::optional<std::vector<std::uint8_t>>& head,
                                  WorkerErrorMode mode, bool melodyWorkerBusy);

extern const char* const kUnexpectedErrorText;

}  // namespace corvane
