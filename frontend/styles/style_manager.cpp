#include "frontend/styles/style_manager.h"

#include <algorithm>

#include "frontend/core/vb_text.h"

namespace corvane::styles {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    const auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                [](char a, char b) { return Lower(a) == Lower(b); });
    return it != text.end();
}

}  // namespace

std::array<std::string, 3> SearchParts(std::string_view text) {
    std::array<std::string, 3> parts;
    const std::string_view trimmed = TrimBlanks(text);
    const std::size_t first = trimmed.find(' ');
    parts[0] = std::string(trimmed.substr(0, first));
    if (first == std::string_view::npos) return parts;
    const std::string_view rest = trimmed.substr(first + 1);
    const std::size_t second = rest.find(' ');
    parts[1] = std::string(rest.substr(0, second));
    if (second != std::string_view::npos) parts[2] = std::string(rest.substr(second + 1));
    return parts;
}

std::optional<StyleMatch> FindStyle(const std::vector<std::string>& rows, int startRow,
                                    std::string_view text) {
    const std::array<std::string, 3> parts = SearchParts(text);
    if (parts[0].empty() && parts[1].empty() && parts[2].empty()) return std::nullopt;
    for (int row = std::max(startRow, 0); row < static_cast<int>(rows.size()); ++row) {
        for (const std::string& part : parts) {
            if (!part.empty() && ContainsNoCase(rows[row], part)) return StyleMatch{row, part};
        }
    }
    return std::nullopt;
}

int FirstDuplicateRow(const std::vector<std::string>& rows) {
    std::string_view previous;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const std::string_view name = TrimBlanks(rows[row]);
        if (EqualsNoCase(name, previous)) return row;
        previous = name;
    }
    return -1;
}

std::string StyleListText(const StyleLibrary& library) {
    std::string text;
    const int count = library.StyleCount();
    for (int i = 0; i < count; ++i) {
        text += library.StyleFiles.at(i) + " = " + library.StyleNames[i] + "\r\n";
    }
    text += "Total = " + std::to_string(count) + " styles.\r\n";
    return text;
}

std::string StyleListSavedText() {
    return std::string("Your Styles Listing is saved in the file named ") + kStyleListFile;
}

}  // namespace corvane::styles
