#include "frontend/core/section_table.h"

#include <charconv>

namespace corvane {
namespace {

constexpr int kPairsPerSlot = 6;
constexpr int kNumbersNeeded = 5 * kPairsPerSlot * 2;

bool IsSeparator(char c) {
    return c == ' ' || c == ';' || c == '\t';
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::optional<std::vector<std::int16_t>> Numbers(std::string_view line, int count) {
    std::vector<std::int16_t> numbers;
    std::size_t i = 0;
    while (static_cast<int>(numbers.size()) < count) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
        if (i == line.size()) return std::nullopt;
        std::size_t end = i;
        while (end < line.size() && !IsSeparator(line[end])) ++end;
        std::int16_t value = 0;
        const char* first = line.data() + i;
        const auto [stop, error] = std::from_chars(first, line.data() + end, value);
        if (error != std::errc() || stop != line.data() + end) return std::nullopt;
        numbers.push_back(value);
        i = end;
    }
    return numbers;
}

}  // namespace

std::optional<SectionTable> ParseSectionTable(std::string_view text) {
    const std::vector<std::string_view> lines = Lines(text);
    if (lines.empty()) return std::nullopt;
    const auto numbers = Numbers(lines.front(), kNumbersNeeded);
    if (!numbers) return std::nullopt;
    SectionTable table;
    for (int slot = 0; slot < 5; ++slot) {
        for (int part = 0; part < 5; ++part) {
            const std::size_t at = static_cast<std::size_t>((slot * kPairsPerSlot + part) * 2);
            table.programs[slot][part] = (*numbers)[at];
            table.volumes[slot][part] = (*numbers)[at + 1];
        }
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (!lines[i].empty()) table.switchLines.emplace_back(lines[i]);
    }
    return table;
}

std::string SectionListEntry(std::string_view switchLine,
                             const std::array<std::string, 6>& slotNames) {
    const char digit = switchLine.empty() ? ' ' : switchLine.back();
    const bool known = digit >= '1' && digit <= '6';
    std::string entry(switchLine.substr(0, 3));
    entry += ": ";
    entry += digit;
    entry += "-";
    if (known) entry += slotNames[digit - '1'];
    return entry;
}

}  // namespace corvane
