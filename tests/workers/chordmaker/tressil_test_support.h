// Runs Tressil in a temporary program folder and reads back what it wrote: the decoded chord
// data records (with the key its completion reported), Error2.msg and the path-score dump.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/completion.h"
#include "tests/support/program_folder.h"
#include "tests/workers/chordmaker/song_fixture.h"

namespace chordmaker::testing {

struct TressilResult {
    int exitCode = -1;
    std::optional<platform::Completion> completion;
    std::string errorText;   // Error2.msg with CR LF turned back into LF
    std::string pathScores;  // Error1.msg
    bool dataWritten = false;
    std::vector<std::string> records;  // Data.aco decoded with the completion's key
};

void WriteSong(const testsupport::TempProgramFolder& folder, const SongFiles& files,
               const std::string& keysData);

// `args` with "{hwnd}" for the receiver's handle.
TressilResult RunTressil(const testsupport::TempProgramFolder& folder, const std::string& args);

std::vector<std::string> DecodeRecords(const std::vector<std::uint8_t>& stored, std::uint8_t key);

}  // namespace chordmaker::testing
