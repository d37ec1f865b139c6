// The chord maker's job (`GetParam`): checks the command line, reads the song loader's measure
// files and the key list from the program folder, makes the chord data and writes Data.aco,
// Error2.msg, MsInfo.dat and the path-score dump Error1.msg. Returns 0 for success, 1 for failure;
// the worker skeleton turns that into the completion and the exit code.
#pragma once

#include "workers/common/worker_skeleton.h"

namespace chordmaker {

inline constexpr unsigned kFailureDoneCode = 49;

int GetParam();

extern const worker::WorkerConfig kWorkerConfig;

}  // namespace chordmaker
