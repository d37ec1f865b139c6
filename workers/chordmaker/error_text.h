// The texts of the chord maker's error file: every message, and the text of every WorkerFatal its
// engine throws, is made with Format.
#pragma once

#include <string>

namespace chordmaker {

// printf-style text for the error file.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace chordmaker
