#include "frontend/editors/chord_code.h"

#include <algorithm>

#include "frontend/core/vb_text.h"

namespace corvane::editors {
namespace {

bool Has(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

bool HasAny(std::string_view text, std::string_view set) {
    return text.find_first_of(set) != std::string_view::npos;
}

// Everything after the first `sign` must be blank: an alteration closes the chord text.
bool NothingAfter(std::string_view chord, char sign) {
    const std::size_t at = chord.find(sign);
    if (at == std::string_view::npos) return true;
    return chord.find_first_not_of(' ', at + 1) == std::string_view::npos;
}

char Fold(char c) {
    if (c == 'O' || c == 'o') return 'o';
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr std::string_view kRoots = "CDEFGAB";
constexpr std::string_view kChordKeys = "679AaBCcDdEeFfGg#bMmso+-";
constexpr std::string_view kSectionDigits = "0123456789";
constexpr std::string_view kStyleSlots = "12345";
constexpr std::size_t kChordCodeLength = 5;

const std::array<const char*, 10> kSectionNames = {
    "Normal1", "Variation", "Break1", "Intro2", "Intro1",
    "Normal2", "Stop",      "Break2", "Ending", "Pause",
};

}  // namespace

ColumnLimits ColMaxLen() {
    return {1, 3, 5, 5, 1, 1, 1, 10, 0};
}

bool CheckChordString(std::string_view chord) {
    if (chord.empty()) return true;
    // One added note at most: a sixth, a seventh or a ninth.
    if (static_cast<int>(Has(chord, '6')) + Has(chord, '7') + Has(chord, '9') > 1) return false;
    if (HasAny(chord, "sS") && HasAny(chord, "mM")) return false;
    if (HasAny(chord, "oO") && HasAny(chord, "mMs+-")) return false;
    if (!NothingAfter(chord, '+') || !NothingAfter(chord, '-')) return false;
    if (!Has(kRoots, chord[0])) return false;
    static constexpr std::array<std::string_view, 4> kAllowedAt = {"#bmMs679o+-", "mMs679o+-",
                                                                   "679o+-", "o+-"};
    for (std::size_t i = 1; i < chord.size() && i <= kAllowedAt.size(); ++i) {
        if (!Has(kAllowedAt[i - 1], chord[i])) return false;
    }
    // No modifier twice; "Bb" folds to "BB" and is the one repetition that is a chord.
    std::string folded(chord);
    std::transform(folded.begin(), folded.end(), folded.begin(), Fold);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        for (std::size_t j = i + 1; j < folded.size(); ++j) {
            if (folded[i] == folded[j] && !(i == 0 && j == 1 && folded[i] == 'B')) return false;
        }
    }
    return true;
}

std::string ValidateChordText(std::string_view text) {
    std::string chord(text.substr(0, kChordCodeLength));
    if (chord.empty()) return " ";
    if (chord[0] >= 'a' && chord[0] <= 'z') chord[0] = static_cast<char>(chord[0] - 'a' + 'A');
    if (chord.size() > 1 && chord[1] == 'B') chord[1] = 'b';
    return CheckChordString(chord) ? chord : " ";
}

std::string CheckedChordCell(std::string_view cell) {
    const std::string_view trimmed = TrimBlanks(cell);
    return trimmed.empty() ? std::string(cell) : ValidateChordText(trimmed);
}

std::string ChordTextToCode(std::string_view text) {
    std::string code(1, text.empty() || text[0] == ' ' ? '.' : text[0]);
    static constexpr std::array<std::string_view, 4> kGroups = {"#b", "mMs", "976", "+o-"};
    const std::string_view modifiers = text.empty() ? text : text.substr(1);
    for (const std::string_view group : kGroups) {
        const std::size_t at = modifiers.find_first_of(group);
        code += at == std::string_view::npos ? '.' : modifiers[at];
    }
    return code;
}

bool HasReadableRoot(std::string_view code) {
    return !code.empty() && (code[0] == '.' || Has(kRoots, code[0]));
}

std::string ChordCodeToText(std::string_view code, std::size_t n) {
    std::string text;
    std::size_t dots = 0;
    for (std::size_t i = 0; i < n && i < code.size(); ++i) {
        if (code[i] == '.') {
            ++dots;
        } else {
            text += code[i];
        }
    }
    return text + std::string(dots, ' ');
}

std::string SectionName(std::string_view code) {
    const std::string_view digit = TrimBlanks(code);
    if (digit.size() != 1 || !Has(kSectionDigits, digit[0])) return {};
    return kSectionNames[static_cast<std::size_t>(digit[0] - '0')];
}

bool FlashesSection(std::string_view drumCode) {
    const std::string_view digit = TrimBlanks(drumCode);
    return digit == "1" || digit == "6" || digit == "8";
}

std::optional<TypedCell> FilterTypedKey(int column, int row, int lastRow, std::string_view cell,
                                        int keyAscii) {
    if (keyAscii <= 0 || keyAscii > 0x7E) return std::nullopt;
    char key = static_cast<char>(keyAscii);
    const std::string_view trimmed = TrimBlanks(cell);
    const auto limit = static_cast<std::size_t>(ColMaxLen()[static_cast<std::size_t>(column)]);
    switch (column) {
        case kColChord1:
        case kColChord2:
            // The shifted keys of "#" and "+" on a common keyboard, so chords type unshifted.
            if (key == '3') key = '#';
            if (key == '=') key = '+';
            if (!Has(kChordKeys, key) || row == lastRow || trimmed.size() >= limit) break;
            return TypedCell{std::string(trimmed) + key, false};
        case kColDrum:
        case kColInst:
            if (!Has(kSectionDigits, key)) break;
            return TypedCell{std::string(1, key), true};
        case kColSty:
            if (!Has(kStyleSlots, key) || row == 1 || row == lastRow) break;
            return TypedCell{std::string(1, key), false};
        case kColComments:
            // A comment is stored inside a ";"-ended record of plain ASCII: a ";" would end the
            // record early and lose the list, and a blank would be cut as padding.
            if (key < 0x21 || key == ';' || trimmed.size() >= limit) break;
            return TypedCell{std::string(trimmed) + key, false};
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace corvane::editors
