#include "frontend/editors/wizards.h"

#include <array>

#include "frontend/core/vb_text.h"
#include "frontend/editors/chord_code.h"

namespace corvane::editors {

void ChordBuilderChoice::SelectQuality(int option) {
    quality = option;
    if (quality == kDiminished) alteration = 0;
}

void ChordBuilderChoice::SelectAlteration(int option) {
    alteration = option;
    if (alteration != 0 && quality == kDiminished) quality = 0;
}

std::string BuildChordName(const ChordBuilderChoice& choice) {
    static constexpr std::array<const char*, 7> kRoots = {"A", "B", "C", "D", "E", "F", "G"};
    static constexpr std::array<const char*, 3> kAccidentals = {"", "#", "b"};
    static constexpr std::array<const char*, 5> kQualities = {"", "M", "m", "s", "o"};
    static constexpr std::array<const char*, 4> kAdded = {"", "6", "7", "9"};
    static constexpr std::array<const char*, 3> kAlterations = {"", "+", "-"};
    const auto pick = [](const auto& table, int index) -> std::string {
        return index >= 0 && static_cast<std::size_t>(index) < table.size() ? table[index] : "";
    };
    return pick(kRoots, choice.root) + pick(kAccidentals, choice.accidental) +
           pick(kQualities, choice.quality) + pick(kAdded, choice.added) +
           pick(kAlterations, choice.alteration);
}

ChordBuilderTarget ParseChordBuilderTag(std::string_view tag) {
    ChordBuilderTarget target;
    if (!tag.empty()) target.column = tag[0];
    if (tag.size() > 2) target.row = static_cast<int>(LeadingNumber(tag.substr(2)));
    return target;
}

std::string ChordBuilderTag(int column, int row) {
    return std::to_string(column) + "," + ZeroPad(row, 3);
}

std::string ChordBuilderCaption(int column, int row) {
    return "Chord" + std::to_string(column) + ", Measure " + ZeroPad(row, 3) + ":";
}

DrumFillCodes CodesOf(DrumFillOption option) {
    switch (option) {
        case DrumFillOption::kFill1:
            return {"2", "1"};
        case DrumFillOption::kFill2:
            return {"7", "6"};
        case DrumFillOption::kIntro1:
            return {"", "4"};
        case DrumFillOption::kIntro2:
            return {"", "3"};
        case DrumFillOption::kNormal1:
            return {"", "0"};
        case DrumFillOption::kNormal2:
            return {"", "5"};
        case DrumFillOption::kPause:
            return {"", "9"};
    }
    return {};
}

std::optional<DrumWizardTarget> ParseDrumWizardTag(std::string_view tag) {
    const std::string_view trimmed = TrimBlanks(tag);
    if (trimmed.empty()) return std::nullopt;
    DrumWizardTarget target;
    target.row = static_cast<int>(LeadingNumber(trimmed.substr(0, 3)));
    if (trimmed.size() > 4) target.column = static_cast<int>(LeadingNumber(trimmed.substr(4, 2)));
    return target;
}

std::string DrumWizardTag(int row, int column) {
    return ZeroPad(row, 3) + "," + ZeroPad(column, 2);
}

std::string DrumWizardCaption(int row, int column) {
    return "Measure " + ZeroPad(row, 3) + ", " + "Column " + ZeroPad(column, 2) + ":";
}

bool DrumMakeEnabled(int column) {
    return column == kColDrum || column == kColInst;
}

bool StyleSetEnabled(int row, int chordMsCount) {
    return row >= 2 && row < chordMsCount - 1;
}

}  // namespace corvane::editors
