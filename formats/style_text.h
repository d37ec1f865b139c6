// The readable description of a style: a line-based text with the header, the file's code and
// version, and per track its channel line values and its modes, each mode written as step
// lanes (one line per cell column, one token per step). tools/stylec/GUIDE.md is the
// authors' reference; this unit reads such a text into the model and writes a model back.
#pragma once

#include <string>
#include <string_view>

#include "formats/style_model.h"

namespace formats {

// Reads a description and checks it against every rule of the style readers; a problem names
// the line it was found on.
[[nodiscard]] Result<Style> ParseStyleText(std::string_view text);

// Writes a model as a description that ParseStyleText reads back to the same model.
std::string FormatStyleText(const Style& style);

// One cell as a lane token ("." for an empty cell, else note, "v" velocity, "@" offset,
// ":" length) and back; nullopt for a token that is no cell.
std::string FormatCell(const Cell& cell);
std::optional<Cell> ParseCell(std::string_view token);

}  // namespace formats
