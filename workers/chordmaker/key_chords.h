// The per-key chord tables of the chord engine and the candidate codes (`Bac`) that stand for
// their entries. `KeyChords7` holds I, V7, IV, V and three colour chords per key code,
// `KeyChords5` five further chords, and `NoteChords13` the chord for a second half's main note
// by key signature and mode.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "formats/key_table.h"

namespace chordmaker {

using formats::KeyCode;
using formats::kKeyCount;

// `KeyChords7` entries by their role.
enum KeyChordEntry { kTonic = 0, kDominantSeventh = 1, kSubdominant = 2, kDominant = 3 };

std::string_view KeyChord7(KeyCode key, int entry);
std::string_view KeyChord5(KeyCode key, int entry);

bool IsMinorKey(KeyCode key);
// The relative key: code + 1 for a major key, code - 1 for a minor key.
KeyCode RelativeKey(KeyCode key);

// Candidate codes: 1, 4, 5, 25, 21, 41 name entries 0, 2, 3, 4, 5, 6 of the key's row,
// 11, 14, 15, 35, 31, 51 the same entries of the relative key's row.
inline constexpr int kCodeTonic = 1;
inline constexpr int kCodeSubdominant = 4;
inline constexpr int kCodeDominant = 5;
std::optional<std::string_view> ChordOfCode(KeyCode key, int code);

// The `NoteChords13` row for a key signature: entry 0 is the tonic chord, entries 1 to 12 the
// chord for a main note of pitch class C, C# ... B.
const std::array<std::string_view, 13>& NoteChordRow(bool sharps, bool minor, int accidentals);

}  // namespace chordmaker
