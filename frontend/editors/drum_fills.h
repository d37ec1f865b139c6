// The automatic drum fills of the chord list: four modes that rewrite every measure's drum
// section code from the list as last loaded or saved. "No", "Less" and "More" alternate the two
// plain patterns Normal1 ("0") and Normal2 ("5") and differ in which codes they keep; "Full"
// keeps every code.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frontend/editors/chord_data.h"

namespace corvane::editors {

enum class DrumMode { kNo = 0, kLess = 1, kMore = 2, kFull = 3 };
constexpr int kDrumModeCount = 4;

// The drum codes of the measures in order, one character each, rewritten by `mode`.
std::string ApplyDrumMode(DrumMode mode, std::string_view codes);

// Where a ChordListLine keeps its drum code (character 20).
constexpr std::size_t kLineDrumAt = 19;

// The measure of line `index` (from 0) of the line list, as the grid shows it.
ChordRecord SplitChordListLine(std::string_view line, int index);

// The line list with each line's drum code rewritten by `mode`.
std::vector<std::string> ApplyDrumMode(DrumMode mode, const std::vector<std::string>& lines);

}  // namespace corvane::editors
