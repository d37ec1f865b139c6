// The composer's section table "cPara.dat" as Make Output reads it. Its first line holds, per
// style slot, six pairs (program + 1, volume) of which the first five are the parts' values the
// composer used; every further line is a style switch point "017:2" (measure + 1, slot digit).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct SectionTable {
    // [slot][part]: the programs (program + 1, 0 = the style's own) and volumes of the run.
    std::array<std::array<std::int16_t, 5>, 5> programs{};
    std::array<std::array<std::int16_t, 5>, 5> volumes{};
    std::vector<std::string> switchLines;  // each further line without its line end
};

// nullopt when the first line does not hold 60 numbers (each a 16-bit value); nothing of a
// damaged table is used, so the caller's tables stay as they were.
std::optional<SectionTable> ParseSectionTable(std::string_view text);

// The section list entry of a switch line: its first three characters, ": ", its last
// character (the slot digit), "-" and that slot's name; a digit outside 1..6 gets no name.
std::string SectionListEntry(std::string_view switchLine,
                             const std::array<std::string, 6>& slotNames);

}  // namespace corvane
