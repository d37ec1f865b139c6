// The chord maker's job (`GetParam`): checks the command line, reads the song loader's measure
// files and the key list from the program folder, makes the chord data and writes Data.aco,
// Error2.msg, MsInfo.dat and the path-score dump Error1.msg. Returns 0 for success, 1 for failure;
// the worker skeleton turns that into the completion and the exit code.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "workers/chordmaker/chord_engine.h"
#include "workers/chordmaker/song_input.h"
#include "workers/common/worker_skeleton.h"

namespace chordmaker {

inline constexpr unsigned kFailureDoneCode = 49;

// The command line's AcMode and phrase token as the engine's run parameters.
RunParameters RunParametersFor(std::int32_t acMode, std::int32_t phraseToken);

// The job's steps from the song it read to the plain chord data, without a file, so that tests
// can run many songs in one process: the chord sheet of the key list "KeysData.Aco" with the
// last key run's path scores for Error1.msg (none when no key run happened), then its records.
// False when the run ends here; either way every message for Error2.msg is appended to `log`.
[[nodiscard]] bool MakeChordData(const SongInput& song, std::span<const std::uint8_t> keysData,
                                 const RunParameters& params,
                                 std::optional<std::string>& pathScores, std::string& plain,
                                 std::string& log);

int GetParam();

extern const worker::WorkerConfig kWorkerConfig;

}  // namespace chordmaker
