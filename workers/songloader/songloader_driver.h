// The song loader's job: reads the melody of the song input with the shared MIDI reader and
// writes the measure exchange files that the chord maker, the composer and the front end read.
#pragma once

#include "workers/common/worker_skeleton.h"

namespace songloader {

constexpr std::uint32_t kDoneCode = 47;

// The job routine; 0 for success, 1 for failure.
int LoadSong();

extern const worker::WorkerConfig kWorkerConfig;

}  // namespace songloader
