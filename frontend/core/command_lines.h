// The command lines the workflow starts its workers with. Each is the bare program name on disk
// followed by the worker's tokens, separated by single blanks (the workers split at every blank
// and know no quoting). A few tokens are written with a sign position: a non-negative number
// gets its blank in front, which is the separating blank.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "frontend/core/version_stamp.h"

namespace corvane {

constexpr const char* kSongLoaderProgram = "Ambrel";
constexpr const char* kChordMakerProgram = "Tressil";
constexpr const char* kComposerProgram = "Compose";
// The composer's line is refused above this many characters (260 bytes of two-byte characters).
constexpr std::size_t kComposeArgsLimit = 130;

// A token written with a sign position: " 5" for 5. A negative number keeps a blank in front of
// its sign too (" -1"), so that it never runs into the token before it.
std::string SignToken(long value);

// "Ambrel /2 InPut.bin 1704 2426": the chord option mode, the song input, the caller's handle.
std::string AmbrelArgs(int chordOptMode, std::uint32_t handle);

// "Tressil 3 1704 2426 0": the make mode with a sign position, the handle, the version stamp
// and the section length index, "0" when the index is negative.
std::string TressilArgs(int makeOptMode, std::uint32_t handle, int sectLenIdx);

// 4 for a tempo of 100 or more, 2 from 90 to 99, 1 below 90.
int TempoClass(int songTempo);

struct ComposeInputs {
    int songTempo = 120;
    std::array<int, 2> echoSlider{};  // CanGatEcho values 0..9; the composer gets 9 - value
    std::array<std::string, 5> styleFiles;
    std::array<int, 2> echoVoice{};  // the numbers shown in LblEcho; the composer gets voice - 1
    int myVmCode = 0;
    std::uint32_t handle = 0;
    int autoOctave = 0;
};

// The composer's 18 tokens after its name.
std::string ComposeArgs(const ComposeInputs& inputs);

// The refusal text for a composer line longer than kComposeArgsLimit, nullopt when it fits:
// "Error: <line>" LF "Length: " and the length in bytes of two-byte characters.
std::optional<std::string> ComposeArgsRefusal(const std::string& commandLine);

}  // namespace corvane
