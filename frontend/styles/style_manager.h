// What the style manager does without its window: the text search through its sorted style
// list, the duplicate check over that list, and the text of the library listing it exports.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/core/style_library.h"

namespace corvane::styles {

constexpr const char* kStyleListFile = "StyleList.txt";
constexpr const char* kDuplicateStylesNotice =
    "There are some styles with the same name in the Style List.";

// The search text, without outer blanks, in three parts: up to the first blank, from there to
// the next blank, and all the rest (blanks included). A missing part is empty, and two blanks
// in a row give an empty second part.
std::array<std::string, 3> SearchParts(std::string_view text);

struct StyleMatch {
    int row = -1;
    std::string part;  // the part of the search text that matched
};

// The first row from `startRow` on that holds any non-empty part of `text`, compared without
// regard to letter case; parts are tried in order for each row. Nothing for an empty text.
std::optional<StyleMatch> FindStyle(const std::vector<std::string>& rows, int startRow,
                                    std::string_view text);

// The first row whose name, without outer blanks and letter case, equals the row before it
// (the first row is compared with the empty text); -1 when all differ. The list is sorted, so
// equal names are neighbours.
int FirstDuplicateRow(const std::vector<std::string>& rows);

// One line "Bl4412.sty =  4/4 Slow Ballad" per library style in scan order, then
// "Total = N styles."; CR LF line ends.
std::string StyleListText(const StyleLibrary& library);

std::string StyleListSavedText();

}  // namespace corvane::styles
