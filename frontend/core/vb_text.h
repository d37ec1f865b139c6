// Small text rules that the front end's stored formats and captions rely on everywhere: numbers
// written with leading zeros, the leading number of a text, blanks trimmed, names compared
// without letter case, and rounding. One home, so every form agrees.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// `value` written with at least `width` digits ("000" gives "007", "-007"; wider values whole).
std::string ZeroPad(long long value, int width);

// The number a text starts with after leading blanks: an optional sign and decimal digits,
// 0 when there is none. Digits beyond what fits in 32 bits saturate, so no text overflows.
long LeadingNumber(std::string_view text);

// Leading and trailing blanks (spaces only, not tabs) removed.
std::string_view TrimBlanks(std::string_view text);

// ASCII letters compared without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Round to the nearest integer, halves to the even neighbour.
long RoundHalfEven(double value);

}  // namespace corvane
