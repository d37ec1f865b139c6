// The melody importer's command line: 13 blank-separated tokens cut in place by its own
// splitter, converted to the 16-bit and 32-bit values the caller meant, range-checked, and the
// protocol sum whose remainder must be 0 for a run to succeed.
#pragma once

#include <array>
#include <cstdint>

#include "workers/melody/melody_job.h"

namespace melody {

constexpr int kQuenbyTokenCount = 13;
// The splitter stops counting where a 16th token would begin.
constexpr int kQuenbyTokenLimit = 15;
constexpr std::int16_t kGenerateRunMode = 1;

// Tokens of the last split, numbered from 1; unused entries are null.
using QuenbyTokens = std::array<const char*, kQuenbyTokenLimit + 1>;

// Cuts `line` in place at every blank. An empty line or one that begins with a blank has no
// token; two blanks in a row give an empty token; at most kQuenbyTokenLimit tokens are counted.
int SplitQuenbyLine(char* line, QuenbyTokens& tokens);

// Splits the command line the worker skeleton kept; the tokens are then QuenbyToken(1..count).
int SplitQuenbyCommandLine();
const char* QuenbyToken(int n);

// The leading decimal number of `text` (an optional sign first, 0 without digits). Text beyond
// the 32-bit range saturates; the 16-bit form then keeps the low 16 bits, as the caller's
// 16-bit fields do.
std::int32_t ConvertLongToken(const char* text);
std::int16_t ConvertShortToken(const char* text);

struct QuenbyArgs {
    MelodyJob job;
    std::int32_t sumToken = 0;
    std::int32_t callerWnd = 0;
    std::int16_t runMode = 0;
};

// Converts tokens 1..13 of a split with exactly kQuenbyTokenCount tokens.
QuenbyArgs ConvertQuenbyTokens(const QuenbyTokens& tokens);

// The range checks, in the caller's order; false at the first value out of range.
[[nodiscard]] bool QuenbyArgsInRange(const QuenbyArgs& args);

// SumToken minus tokens 1..10 minus the handle, in wrapping 32-bit arithmetic.
std::int32_t SumTokenRemainder(const QuenbyArgs& args);

}  // namespace melody
