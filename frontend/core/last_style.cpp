#include "frontend/core/last_style.h"

#include <algorithm>

#include "frontend/core/vb_text.h"

namespace corvane {
namespace {

int FindRow(const std::vector<std::string>& rows, std::size_t count, const std::string& text) {
    const auto end = rows.begin() + static_cast<std::ptrdiff_t>(std::min(count, rows.size()));
    const auto it = std::find(rows.begin(), end, text);
    return it == end ? -1 : static_cast<int>(it - rows.begin());
}

}  // namespace

RestoredStyle RestoreLastStyle(std::string_view rememberedFile,
                               const std::vector<std::string>& styleFiles,
                               const std::vector<std::string>& styleNames,
                               const std::vector<std::string>& sortedList) {
    RestoredStyle restored;
    const std::size_t count = styleNames.size();
    if (!rememberedFile.empty()) {
        for (std::size_t row = 0; row < count && row < styleFiles.size(); ++row) {
            if (EqualsNoCase(styleFiles[row], rememberedFile)) {
                restored.sectStyleIdx = static_cast<int>(row);
                restored.entry = styleNames[row];
                restored.styleListIdx = FindRow(sortedList, count, restored.entry);
                if (restored.styleListIdx >= 0) return restored;
                break;
            }
        }
    }
    restored.sectStyleIdx = 0;
    restored.entry = count > 0 ? styleNames[0] : std::string();
    restored.styleListIdx = FindRow(sortedList, count, restored.entry);
    if (restored.styleListIdx < 0) {
        restored.fatalText = "Fatal Error: StyName <" + restored.entry + "> not found in the list.";
    }
    return restored;
}

}  // namespace corvane
