#include "frontend/core/vb_text.h"

#include <cmath>
#include <cstdint>

namespace corvane {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string ZeroPad(long long value, int width) {
    const bool negative = value < 0;
    // Through unsigned so that the smallest value has a magnitude too.
    const unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(value)
                                                  : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return negative ? "-" + digits : digits;
}

long LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = 2147483648;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) return static_cast<long>(-value);
    return static_cast<long>(value >= kLimit ? kLimit - 1 : value);
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

long RoundHalfEven(double value) {
    return static_cast<long>(std::nearbyint(value));
}

}  // namespace corvane
