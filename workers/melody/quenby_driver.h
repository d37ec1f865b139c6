// The melody importer's run: its window procedure, the job that checks the command line and
// either imports a track or channel of "InpMel.bin" or generates a random melody into
// "InPut.bin", and the fatal exit. Only this unit touches files and the completion message.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"
#include "workers/common/worker_skeleton.h"

namespace quenby {

constexpr std::uint32_t kQuenbyDoneCode = 51;  // the character code of "3"
constexpr char kErrorFileName[] = "Error4.msg";
constexpr char kListingFileName[] = "KqList.dat";
constexpr char kTemposFileName[] = "Tempos.dat";
constexpr char kEventsFileName[] = "Events.dat";
constexpr char kSourceFileName[] = "InpMel.bin";
constexpr char kSongInputFileName[] = "InPut.bin";

extern const worker::WorkerConfig kQuenbyConfig;

// The job: 0 on success, 1 on failure.
int QuenbyMain();

platform::LResult QuenbyWndProc(platform::Hwnd window, std::uint32_t message,
                                platform::WParam wParam, platform::LParam lParam);

// Closes every file, posts the failure completion and ends the process with `exitCode`.
[[noreturn]] void QuenbyFatalExit(int exitCode);

}  // namespace quenby
