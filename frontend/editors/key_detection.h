// Running the key detector Sorvik from a dialog, and the rules both dialogs that run workers
// share. The key list dialog asks for every key change point (flag 1), the melody importer
// dialog only for the overall key (flag 0). A dialog runs one worker at a time and keeps which
// run it waits for, so a completion is acted on only by the run it belongs to, and the one late
// completion of a run that timed out is dropped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::editors {

constexpr const char* kKeyDetectorProgram = "Sorvik";
constexpr int kKeyDetectorDone = 46;
// The detector accepts a run only when its third token is the handle plus this plus 2426.
constexpr std::int32_t kKeyDetectorHandshake = 31470952;

// handle + 31470952 + 2426 in 32 bits, wrapping as the detector's own sum does.
std::int32_t HandleToken(std::uint32_t handle);

// "Sorvik 1704 2426 31475082 1": the caller's handle, the version stamp, HandleToken and the
// key-change flag.
std::string SorvikArgs(std::uint32_t handle, int keyChangeFlag);

// The key code in the first line of "KeyCode.dat": a missing file or a line without a number
// gives 0 (C major); a number outside 0..27 gives nothing, and the caller keeps its selection.
std::optional<int> DetectedKeyCode(const std::optional<std::vector<std::uint8_t>>& file);

// "Time Out error. Command aborted." LF "You may have an incorrect version of <program>
// installed."
std::string TimeOutText(std::string_view program);

enum class DialogRun { kNone, kKeyDetection, kMelodyImport };

enum class DialogCompletion {
    kLateAfterTimeOut,  // the run timed out; its late completion is dropped once
    kNotWaited,         // nobody waits for this code: nothing changes, not even the timer
    kKeyDetection,
    kMelodyImport,
};

// Where a completion with `keyCode` goes while `pending` runs.
DialogCompletion RouteDialogCompletion(int keyCode, DialogRun pending, bool timedOut);

}  // namespace corvane::editors
