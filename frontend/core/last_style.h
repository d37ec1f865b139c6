// Restoring the style of the first slot at start-up: the remembered style file, found in the
// library without regard to letter case, or library row 0 when it is gone; and its row in the
// style manager's sorted list, which the slots are written with.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct RestoredStyle {
    int sectStyleIdx = 0;   // library row (StyleNames / StyleFiles)
    int styleListIdx = -1;  // row of the same entry in the sorted list
    std::string entry;      // the style's list entry
    // Set when even library row 0 is not in the sorted list; the program ends with it.
    std::optional<std::string> fatalText;
};

// `sortedList` holds the rows of the style manager's hidden sorted list (its first
// StyleCount rows are searched).
RestoredStyle RestoreLastStyle(std::string_view rememberedFile,
                               const std::vector<std::string>& styleFiles,
                               const std::vector<std::string>& styleNames,
                               const std::vector<std::string>& sortedList);

}  // namespace corvane
