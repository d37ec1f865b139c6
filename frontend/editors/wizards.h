// The choices of the chord builder and the drum fill wizard, without their windows: the chord
// text the builder's options compose, the options that exclude each other, and the wizards'
// requests (their Tags), code pairs and button rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane::editors {

// The chord builder's five groups; 0 is "None" in groups 2 to 5.
struct ChordBuilderChoice {
    int root = 0;        // "A" .. "G"
    int accidental = 0;  // None, "#", "b"
    int quality = 0;     // None, "M", "m", "s", "o"
    int added = 0;       // None, "6", "7", "9"
    int alteration = 0;  // None, "+", "-"

    static constexpr int kDiminished = 4;

    // A diminished chord has no augmented or diminished fifth: choosing one drops the other.
    void SelectQuality(int option);
    void SelectAlteration(int option);
};

std::string BuildChordName(const ChordBuilderChoice& choice);

// The builder's Tag "1,012": the target column's digit and the grid row.
struct ChordBuilderTarget {
    char column = 0;  // '1' Chord1, '2' Chord2, anything else writes nothing
    int row = 0;
};
ChordBuilderTarget ParseChordBuilderTag(std::string_view tag);
// The Tag and caption the chord list gives the builder for `column` (1 or 2) and `row`.
std::string ChordBuilderTag(int column, int row);
std::string ChordBuilderCaption(int column, int row);

// The drum fill wizard's options in their order on the form.
enum class DrumFillOption { kFill1, kFill2, kIntro1, kIntro2, kNormal1, kNormal2, kPause };
struct DrumFillCodes {
    std::string before;  // written into the measure before, when not empty
    std::string at;      // written into the measure itself
};
DrumFillCodes CodesOf(DrumFillOption option);

// The wizard's Tag "012,04": grid row and column. Nothing when the Tag is blank.
struct DrumWizardTarget {
    int row = 0;
    int column = 0;
};
std::optional<DrumWizardTarget> ParseDrumWizardTag(std::string_view tag);
std::string DrumWizardTag(int row, int column);
std::string DrumWizardCaption(int row, int column);

// "Make" serves the Drum and Inst columns; "Set" the measures where a style may switch: not the
// first, nor the last two.
bool DrumMakeEnabled(int column);
bool StyleSetEnabled(int row, int chordMsCount);

}  // namespace corvane::editors
