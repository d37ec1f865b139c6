#include "workers/common/command_line.h"

#include <cctype>
#include <limits>

namespace worker {

std::int64_t ParseLeadingInteger(const char* text) {
    if (text == nullptr) return 0;
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\f' ||
           *text == '\v') {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    constexpr std::int64_t kCap = std::int64_t{1} << 40;  // far beyond every field's range
    std::int64_t value = 0;
    while (std::isdigit(static_cast<unsigned char>(*text))) {
        if (value < kCap) value = value * 10 + (*text - '0');
        ++text;
    }
    return negative ? -value : value;
}

std::int32_t ParseInt32(const char* text) {
    const std::int64_t value = ParseLeadingInteger(text);
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::int16_t ParseInt16(const char* text) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(ParseInt32(text)));
}

platform::Hwnd ParseHandle(const char* text) {
    return static_cast<platform::Hwnd>(ParseInt32(text));
}

}  // namespace worker
