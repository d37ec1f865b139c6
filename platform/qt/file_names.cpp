#include "platform/qt/file_names.h"

#include <cstdint>

namespace platform::qt {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // + the byte, for 0x80..0xFF
constexpr char32_t kReplacement = 0xFFFD;

bool Between(std::uint8_t byte, std::uint8_t low, std::uint8_t high) {
    return byte >= low && byte <= high;
}

// The length of the UTF-8 character at the start of `bytes`, or 0 when it does not start with
// one: overlong forms, surrogates and code points beyond U+10FFFF are no characters.
std::size_t CharacterLength(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (Between(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (Between(lead, 0xE0, 0xEF)) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (Between(lead, 0xF0, 0xF4)) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length || !Between(at(1), low, high)) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!Between(at(i), 0x80, 0xBF)) return 0;
    }
    return length;
}

char32_t Decode(std::string_view character) {
    const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(character[i]); };
    switch (character.size()) {
        case 1:
            return at(0);
        case 2:
            return (at(0) & 0x1Fu) << 6 | (at(1) & 0x3Fu);
        case 3:
            return (at(0) & 0x0Fu) << 12 | (at(1) & 0x3Fu) << 6 | (at(2) & 0x3Fu);
        default:
            return (at(0) & 0x07u) << 18 | (at(1) & 0x3Fu) << 12 | (at(2) & 0x3Fu) << 6 |
                   (at(3) & 0x3Fu);
    }
}

void Encode(char32_t code, std::string& out) {
    const auto put = [&](char32_t bits) { out += static_cast<char>(bits); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | code >> 6);
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | code >> 12);
        put(0x80 | (code >> 6 & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | code >> 18);
        put(0x80 | (code >> 12 & 0x3F));
        put(0x80 | (code >> 6 & 0x3F));
        put(0x80 | (code & 0x3F));
    }
}

}  // namespace

QString FileNameText(std::string_view name) {
    QString text;
    text.reserve(static_cast<qsizetype>(name.size()));
    std::size_t i = 0;
    while (i < name.size()) {
        const std::size_t length = CharacterLength(name.substr(i));
        if (length == 0) {
            text += QChar(static_cast<char16_t>(kEscapeBase + static_cast<std::uint8_t>(name[i])));
            ++i;
            continue;
        }
        const char32_t code = Decode(name.substr(i, length));
        if (QChar::requiresSurrogates(code)) {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        } else {
            text += QChar(static_cast<char16_t>(code));
        }
        i += length;
    }
    return text;
}

std::string FileNameBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            Encode(QChar::surrogateToUcs4(unit, text[i + 1].unicode()), bytes);
            ++i;
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            bytes += static_cast<char>(unit - kEscapeBase);
        } else if (QChar::isSurrogate(unit)) {
            // Half a character that no name gave: the file system gets what Qt would give it.
            Encode(kReplacement, bytes);
        } else {
            Encode(unit, bytes);
        }
    }
    return bytes;
}

}  // namespace platform::qt
