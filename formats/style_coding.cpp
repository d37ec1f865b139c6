#include "formats/style_coding.h"

#include <algorithm>

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
    // at once, and the end mark looked for only behind its last letter.
    block.text.reserve(block.text.size() + (file.size() - at));
    std::uint8_t t = 1;
    while (at < file.size()) {
        const std::uint8_t plain = DecodeStyleByte(file[at++], key, t);
        block.text.push_back(plain);
        t = static_cast<std::uint8_t>(t + 1);
        if (plain != static_cast<std::uint8_t>(kStyleEndOfBlock[2])) continue;
        const std::size_t n = block.text.size();
        if (n >= kStyleEndOfBlock.size() && block.text[n - 3] == kStyleEndOfBlock[0] &&
            block.text[n - 2] == kStyleEndOfBlock[1]) {
            block.complete = true;
            at = std::min(file.size(), at + kBytesAfterEndOfBlock);
            break;
        }
    }
    pos = at;
    return true;
}

}  // namespace formats
