#include "workers/composer/style_row_scan.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace composer {

namespace {

// The white space the C library skips before a number (the "C" locale's).
bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');  // tab, line feed, \v, \f, carriage return
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* SkipSpace(const char* at) {
    while (IsSpace(*at)) ++at;
    return at;
}

// The place behind the comma that must follow a stored number; nullptr when anything else (or
// the end of the text) comes there, which ends the row.
const char* AfterComma(const char* at) {
    return *at == ',' ? at + 1 : nullptr;
}

// One integer at `at` (white space already skipped); nullptr when there is no digit.
const char* ScanInt(const char* at, int& value) {
    const bool negative = *at == '-';
    if (*at == '-' || *at == '+') ++at;
    if (!IsDigit(*at)) return nullptr;
    // Magnitudes beyond a long stop at its limit, which the cut to an int then wraps.
    constexpr std::uint64_t kLongMax = std::numeric_limits<long>::max();
    const std::uint64_t limit = negative ? kLongMax + 1 : kLongMax;
    std::uint64_t magnitude = 0;
    for (; IsDigit(*at); ++at) {
        const auto digit = static_cast<std::uint64_t>(*at - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    const std::uint64_t bits = negative ? ~magnitude + 1 : magnitude;
    value = static_cast<int>(static_cast<std::uint32_t>(bits));
    return at;
}

// Digits of a decimal that a double holds exactly, and the powers of ten it holds exactly.
constexpr int kExactDigits = 15;
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The plain decimal shapes of a style row ("36", "-6.3"); nullptr for anything else
// (exponents, hexadecimal, infinities, a lone point), which the C library reads with its own
// rules. Up to 15 digits the value is the digits over a power of ten, both exact, and one
// correctly rounded division gives the correctly rounded value the library gives; longer
// numbers go through from_chars.
const char* ScanPlainDouble(const char* at, double& value) {
    const char* begin = *at == '+' ? at + 1 : at;
    const bool negative = *at == '-';
    const char* p = *at == '-' || *at == '+' ? at + 1 : at;
    if (!IsDigit(*p)) return nullptr;
    std::uint64_t digits = 0;
    int count = 0;
    int fraction = 0;
    for (; IsDigit(*p); ++p, ++count) digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    if (*p == '.') {
        ++p;
        if (!IsDigit(*p)) return nullptr;
        for (; IsDigit(*p); ++p, ++count, ++fraction) {
            digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
        }
    }
    if (*p != ',' && *p != '\0' && !IsSpace(*p)) return nullptr;
    if (count <= kExactDigits) {
        const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[fraction];
        value = negative ? -magnitude : magnitude;
        return p;
    }
    const auto [end, error] = std::from_chars(begin, p, value);
    if (error != std::errc() || end != p) return nullptr;
    return p;
}

const char* ScanDouble(const char* at, double& value) {
    if (const char* end = ScanPlainDouble(at, value)) return end;
    int used = 0;
    double scanned = 0;
    if (std::sscanf(at, "%lf%n", &scanned, &used) != 1) return nullptr;
    value = scanned;
    return at + used;
}

template <typename T, typename Scan>
int ScanRow(const char* text, std::span<T> values, Scan scan) {
    const char* at = text;
    int stored = 0;
    for (T& value : values) {
        // Most cells of a style are empty: a lone "0" and its comma, read here at once.
        if (at[0] == '0' && at[1] == ',') {
            value = T{0};
            ++stored;
            at += 2;
            continue;
        }
        at = SkipSpace(at);
        if (*at == '\0') return stored == 0 ? -1 : stored;
        at = scan(at, value);
        if (at == nullptr) return stored;
        ++stored;
        at = AfterComma(at);
        if (at == nullptr) return stored;
    }
    return stored;
}

}  // namespace

int ScanIntRow(const char* text, std::span<int> values) {
    return ScanRow(text, values, [](const char* at, int& value) { return ScanInt(at, value); });
}

int ScanDoubleRow(const char* text, std::span<double> values) {
    return ScanRow(text, values,
                   [](const char* at, double& value) { return ScanDouble(at, value); });
}

}  // namespace composer
