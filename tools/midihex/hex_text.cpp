#include "tools/midihex/hex_text.h"

#include <cctype>
#include <string>

namespace midihex {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ParseHexText(std::string_view text, std::string* error) {
    std::vector<std::uint8_t> bytes;
    int line = 1;
    auto fail = [&](const std::string& reason) -> std::optional<std::vector<std::uint8_t>> {
        if (error != nullptr) *error = "line " + std::to_string(line) + ": " + reason;
        return std::nullopt;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (c == '"') {
            ++i;
            while (i < text.size() && text[i] != '"') {
                if (text[i] == '\n') return fail("unterminated string");
                bytes.push_back(static_cast<std::uint8_t>(text[i]));
                ++i;
            }
            if (i == text.size()) return fail("unterminated string");
            ++i;
        } else {
            const int high = HexDigit(c);
            const int low = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            if (high < 0 || low < 0) return fail(std::string("not a hex byte near '") + c + "'");
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
            i += 2;
        }
    }
    return bytes;
}

}  // namespace midihex
