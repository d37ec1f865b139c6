// The song's time grid and size as every program of the system holds them.
#pragma once

#include <cstdint>

namespace formats {

// Ticks from the song's start.
using Tick = std::int64_t;

// The only division the song input may have.
inline constexpr int kTicksPerQuarter = 384;

// The most measures the song loader and the chord maker accept (the composer's own, one
// fewer, is kMeasureTabSize in the composer).
inline constexpr int kMaxMeasures = 260;

}  // namespace formats
