// The melody importer's run: the job that checks the command line and either imports a track or
// channel of "InpMel.bin" or generates a random melody into "InPut.bin". Only this unit touches
// files; the skeleton posts the completion.
#pragma once

#include <cstdint>
#include <string>

#include "formats/exchange_files.h"
#include "workers/common/worker_skeleton.h"

namespace melody {

constexpr std::uint32_t kQuenbyDoneCode = 51;  // the character code of "3"
constexpr const char* kErrorFileName = formats::files::kError4;
constexpr const char* kListingFileName = formats::files::kKqList;
constexpr const char* kTemposFileName = formats::files::kTempos;
constexpr const char* kEventsFileName = formats::files::kEvents;
constexpr const char* kSourceFileName = formats::files::kInpMel;
constexpr const char* kSongInputFileName = formats::files::kInPut;

// The job: 0 on success, 1 on failure.
int QuenbyMain();

extern const worker::WorkerConfig kWorkerConfig;

}  // namespace melody
