// Chord texts as the user types them (Am, F#m7, Bb) and the five-slot chord code the chord data
// file stores them in (root, accidental, quality, added note, alteration; "." in an empty slot),
// the section codes of the drum and instrument columns and what the chord list grid lets the
// user type into each column.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::editors {

// The columns of the chord list grid; column 0 is the fixed, empty one.
enum GridColumn : int {
    kColFixed = 0,
    kColMsNo = 1,
    kColChord1 = 2,
    kColChord2 = 3,
    kColDrum = 4,
    kColInst = 5,
    kColSty = 6,
    kColComments = 7,
};
constexpr int kGridColumns = 8;

// Text limits per grid column while typing; index 8 belongs to no column.
using ColumnLimits = std::array<std::int16_t, 9>;
ColumnLimits ColMaxLen();

// True when `chord` is empty or a valid chord text. The rules run in a fixed order and the
// first that fails decides, so the verdict for odd texts is stable across versions.
bool CheckChordString(std::string_view chord);

// A typed or pasted chord text with its root upper-cased and a "BB" read as "Bb", or " " when
// it is not a valid chord.
std::string ValidateChordText(std::string_view text);

// A chord cell of the grid as its commit (or a paste) leaves it: a text, without its outer
// blanks, is checked and normalised by ValidateChordText (an invalid chord becomes a blank); a
// cell of blanks only stays as it is.
std::string CheckedChordCell(std::string_view cell);

// Text to the 5-character code: each modifier group is searched on its own, so "C7m" and "Cm7"
// both give "C.m7."; blanks give five dots.
std::string ChordTextToCode(std::string_view text);

// True when slot 1 of `code` is a root the composer can read (C D E F G A B) or "." for no chord.
bool HasReadableRoot(std::string_view code);

// A code of `n` characters as the user reads it: the dots dropped and as many blanks appended
// ("A.m.." gives "Am   ").
std::string ChordCodeToText(std::string_view code, std::size_t n);

// The name of a section code digit ("Normal1" .. "Pause"); empty for anything else.
std::string SectionName(std::string_view code);
// Drum codes the main window's visualiser flashes on: Variation, Stop and Ending.
bool FlashesSection(std::string_view drumCode);

// What one typed character does to a cell (the typing filter). Enter, Space and the keys that
// act on key-down (Backspace, Delete, Ctrl+Enter, Ctrl+C, Ctrl+V) never come here.
struct TypedCell {
    std::string text;           // the cell's new text
    bool refreshNames = false;  // a section code changed: the names below the grid follow
};
// `cell` is the cell's text, `row` its grid row and `lastRow` the last measure's row. Nothing
// when the character is refused.
std::optional<TypedCell> FilterTypedKey(int column, int row, int lastRow, std::string_view cell,
                                        int keyAscii);

}  // namespace corvane::editors
