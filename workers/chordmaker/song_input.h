// The song as the chord maker reads it from the song loader's measure files: the header line of
// Notes.aco (key signature and last note, checked against the key table), one main-note line per
// measure, the measure statistics of Temps2.aco and the half-measure note lists of Notes.dat.
// Readers take bytes and append the error file's text to `log`; a false result ends the run.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/song_limits.h"
#include "workers/chordmaker/chord_string.h"

namespace chordmaker {

using formats::kMaxMeasures;
inline constexpr int kNotesPerHalf = 20;
inline constexpr int kPitchClasses = 12;

// `NoteNameToPitch` gives the PitchCode ('0'..'9', 'A', 'B'), `NoteNameToCdKet` the pitch class
// plus 1; both -1 for a name that is not one of the 21 note names.
int NoteNameToPitch(std::string_view name);
int NoteNameToCdKet(std::string_view name);

// How many notes of a half measure count for fit scores (values of 60 and more) and how many of
// them fall on each pitch class.
struct NoteProfile {
    int counted = 0;
    std::array<int, kPitchClasses> perClass{};
};

struct HalfMeasureInput {
    std::string mainName;                    // at most 2 characters, empty without a main note
    int mainNote = kNoNote;                  // its pitch class
    int mainPosition = -1;                   // in 32nd-note steps
    int pitchClassCount = 0;                 // of the whole measure
    std::array<int, kNotesPerHalf> notes{};  // as read, 0 for an empty place
    NoteProfile profile;
};

struct SongInput {
    std::vector<HalfMeasureInput> halves;  // two per measure, NuaMsIdx = 2 x measure + half
    std::array<bool, kPitchClasses> songPitchClasses{};

    int MeasureCount() const { return static_cast<int>(halves.size() / 2); }
    const HalfMeasureInput& Half(int index) const { return halves.at(index); }
};

// The header line of Notes.aco.
[[nodiscard]] bool ReadSongHeader(std::string_view line, std::string& log);

// Notes.aco (header and measure lines) with Temps2.aco beside it.
[[nodiscard]] bool ReadMeasureFiles(std::span<const std::uint8_t> notesAco,
                                    std::span<const std::uint8_t> temps2, SongInput& song,
                                    std::string& log);

// Notes.dat: two lines per measure; missing lines leave their halves empty.
void ReadNotesDat(std::span<const std::uint8_t> notesDat, SongInput& song);

}  // namespace chordmaker
