#include "formats/style_coding.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace formats {

void AppendCodedStyleText(std::string_view plain, std::uint8_t key,
                          std::vector<std::uint8_t>& out) {
    std::uint8_t t = 1;
    for (const char c : plain) {
        out.push_back(CodeStyleByte(static_cast<std::uint8_t>(c), key, t));
        t = static_cast<std::uint8_t>(t + 1);
    }
}

bool ReadStyleBlock(std::span<const std::uint8_t> file, std::size_t& pos, std::uint8_t key,
                    StyleBlock& block) {
    block.text.clear();
    block.complete = false;
    std::size_t at = pos;
    while (true) {
        if (at >= file.size()) return false;
        const std::uint8_t b = file[at++];
        block.text.push_back(b);
        if (b == '\n') break;
    }
    block.recordLength = block.text.size();
    // The composer decodes every byte of its five styles here: room for the rest of the file
    // at once, then the bytes a piece at a time, and in each piece the end mark looked for
    // where its last letter stands. The count t of a byte is its place from 1, so what decoding
    // adds to a byte repeats every 256 bytes: one table of it makes the decoding a loop the
    // compiler turns into vector instructions.
    block.text.reserve(block.text.size() + (file.size() - at));
    std::array<std::uint8_t, 256> added;
    for (std::size_t i = 0; i < added.size(); ++i) {
        added[i] = DecodeStyleByte(0, key, static_cast<std::uint8_t>(i + 1));
    }
    constexpr std::size_t kPiece = 16 * 256;
    std::array<std::uint8_t, kPiece> piece;
    const auto last = static_cast<std::uint8_t>(kStyleEndOfBlock.back());
    while (at < file.size()) {
        const std::size_t count = std::min(kPiece, file.size() - at);
        // Pieces start at multiples of the table's length from the first coded byte; whole
        // stretches of it first, in loops of a fixed length, then what is left.
        const std::uint8_t* in = file.data() + at;
        std::size_t from = 0;
        for (; from + added.size() <= count; from += added.size()) {
            for (std::size_t i = 0; i < added.size(); ++i) {
                piece[from + i] = static_cast<std::uint8_t>(in[from + i] + added[i]);
            }
        }
        for (std::size_t i = 0; from + i < count; ++i) {
            piece[from + i] = static_cast<std::uint8_t>(in[from + i] + added[i]);
        }
        // The byte `back` places before piece[j], which may still be in the text before it.
        const auto before = [&](std::size_t j, std::size_t back) -> int {
            if (j >= back) return piece[j - back];
            const std::size_t fromText = back - j;
            return fromText <= block.text.size() ? block.text[block.text.size() - fromText] : -1;
        };
        std::size_t take = count;
        for (const void* found = std::memchr(piece.data(), last, count); found != nullptr;) {
            const auto j =
                static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - piece.data());
            if (before(j, 2) == kStyleEndOfBlock[0] && before(j, 1) == kStyleEndOfBlock[1]) {
                take = j + 1;
                block.complete = true;
                break;
            }
            found = std::memchr(piece.data() + j + 1, last, count - j - 1);
        }
        block.text.insert(block.text.end(), piece.begin(),
                          piece.begin() + static_cast<std::ptrdiff_t>(take));
        at += take;
        if (block.complete) {
            at = std::min(file.size(), at + kBytesAfterEndOfBlock);
            break;
        }
    }
    pos = at;
    return true;
}

}  // namespace formats
