// The composer's job: reads the command line, the play options, the song inputs and the five
// styles from the program folder (the current directory), composes, and writes the output
// song, the section table and the scratch files. Returns 0 on success and 1 on failure, with
// every message in "Error3.msg"; the skeleton turns that into the completion and exit code.
#pragma once

#include <cstdint>
#include <ctime>
#include <string_view>

#include "workers/common/worker_skeleton.h"

namespace composer {

// The run with an explicit clock reading (the run code follows from it).
int RunComposeAt(std::string_view commandLine, std::time_t now);

// The job of the program: the stored command line and the current time.
int RunCompose();

// Creates "sty.err" empty after a failed run.
void RecreateScratchOnFailure(bool failed);

extern const worker::WorkerConfig kWorkerConfig;

}  // namespace composer
