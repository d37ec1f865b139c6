// Bytes as a chord text. Every text the grammar accepts turns into a 5-character code whose
// text is accepted again and gives the same code; a committed text is a blank or accepted; the
// typing filter keeps every cell within its column's limit and no comment takes a ";".
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frontend/editors/chord_code.h"

using namespace corvane::editors;

namespace {

std::string Padded(std::string_view text) {
    std::string padded(text);
    if (padded.size() < 5) padded.append(5 - padded.size(), ' ');
    return padded;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (CheckChordString(text) && !text.empty()) {
        const std::string code = ChordTextToCode(Padded(text));
        if (code.size() != 5) std::abort();
        const std::string back = ChordCodeToText(code, 5);
        if (back.size() != 5) std::abort();
        if (!CheckChordString(Trimmed(back))) std::abort();
        if (ChordTextToCode(back) != code) std::abort();
    }
    const std::string committed = ValidateChordText(text);
    if (committed != " " && (committed.size() > 5 || !CheckChordString(committed))) std::abort();

    // The typing filter: the first byte picks the column, the rest are typed keys.
    if (size == 0) return 0;
    const int column = data[0] % kGridColumns;
    const ColumnLimits limits = ColMaxLen();
    std::string cell;
    for (std::size_t i = 1; i < size; ++i) {
        const auto typed = FilterTypedKey(column, 3, 40, cell, data[i]);
        if (!typed) continue;
        cell = typed->text;
        if (cell.size() > static_cast<std::size_t>(limits[static_cast<std::size_t>(column)]))
            std::abort();
        if (column == kColComments && cell.find(';') != std::string::npos) std::abort();
    }
    return 0;
}
