// The byte coding of a style file's blocks. A block is a plain record line ("Mtrk," and its
// fields, ended by a line feed) followed by the coded text of the track's modes up to "Eoi" and
// two bytes behind it. Coded byte number t of a block (t = 1, 2, ..., counted in 8 bits) is
// stored as plain + key + t + 1, with the key of the style's version family (style_keys.h).
// The composer's loader, the style compiler and the tests all code and read blocks here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace formats {

inline constexpr std::string_view kStyleRecordTag = "Mtrk,";
inline constexpr std::string_view kStyleEndOfBlock = "Eoi";
// The line end behind "Eoi", which belongs to no block.
inline constexpr std::size_t kBytesAfterEndOfBlock = 2;

constexpr std::uint8_t CodeStyleByte(std::uint8_t plain, std::uint8_t key, std::uint8_t t) {
    return static_cast<std::uint8_t>(plain + key + t + 1);
}
constexpr std::uint8_t DecodeStyleByte(std::uint8_t stored, std::uint8_t key, std::uint8_t t) {
    return static_cast<std::uint8_t>(stored - key - t - 1);
}

// Codes the text of one block (what follows its record line), counting t from 1.
void AppendCodedStyleText(std::string_view plain, std::uint8_t key, std::vector<std::uint8_t>& out);

struct StyleBlock {
    std::vector<std::uint8_t> text;  // the record line as stored, then the decoded text
    std::size_t recordLength = 0;    // bytes of the record line, its line feed included
    bool complete = false;           // "Eoi" was met
};

// Reads the block that starts at `pos` and moves `pos` behind it (behind the two bytes after
// "Eoi", or to the end of the file when the block is cut short). False, with `pos` unchanged,
// when the file ends inside the record line: there is no further block.
[[nodiscard]] bool ReadStyleBlock(std::span<const std::uint8_t> file, std::size_t& pos,
                                  std::uint8_t key, StyleBlock& block);

}  // namespace formats
