// Reading the comma-separated numbers of a style row the way the C library's formatted input
// reads them with the formats "%d,%d,...," and "%lf,%lf,...,": each number may follow white
// space, the comma after it must come right behind it, and reading stops at the first thing
// that does not fit. The style loader reads thousands of rows per run; these scanners do it
// without the format machinery, and give the same counts and values, overflow included.
#pragma once

#include <span>

namespace composer {

// Reads up to values.size() integers from the NUL-terminated `text`, as "%d," repeated that
// many times would. Returns how many were stored, or -1 when the text ends (or holds only white
// space) before the first one. Values beyond the range of a long are held at its limit and then
// cut to an int, as the C library does.
int ScanIntRow(const char* text, std::span<int> values);

// Reads up to values.size() numbers, as "%lf," repeated that many times would; the same counts.
int ScanDoubleRow(const char* text, std::span<double> values);

}  // namespace composer
