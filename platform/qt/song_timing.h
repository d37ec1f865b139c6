// The timing of a Standard MIDI File as the players need it: its division (ticks per quarter
// note) and its length in ticks (the end of its longest track). The players convert ticks to
// their position unit, the sixteenth note, with this division rather than trusting a
// synthesizer's own reading, so a file that this scan refuses is never handed to one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace platform::qt {

struct SongTiming {
    int division = 0;              // ticks per quarter note, 1..32767
    std::int64_t lengthTicks = 0;  // the last track end, in ticks
};

// The timing of a format 0 or 1 file with ticks per quarter note, every announced track
// present and every event well formed; nullopt for anything a player could not play as it
// stands (another format, SMPTE time, a cut or malformed track, a length past kMaxSongTicks).
std::optional<SongTiming> ScanSongTiming(std::span<const std::uint8_t> bytes);

// Songs longer than this many ticks are refused: a synthesizer counts ticks in 32 bits.
constexpr std::int64_t kMaxSongTicks = 0x3FFFFFFF;

// Whole sixteenth notes in `ticks` (rounded down), and the first whole tick of sixteenth `n`
// (rounded up, so that a position reached by a jump reads back as the sixteenth jumped to).
constexpr std::int64_t TicksToSixteenths(std::int64_t ticks, int division) {
    return division > 0 ? ticks * 4 / division : 0;
}
constexpr std::int64_t SixteenthsToTicks(std::int64_t sixteenths, int division) {
    return (sixteenths * division + 3) / 4;
}

}  // namespace platform::qt
