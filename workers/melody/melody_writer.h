// Rebuilds the song input from the reader's tempo and event lines: the source's ticks rescaled
// to 384 per quarter note and shifted by the lead-in, note-on velocities scaled, note-off
// velocities optionally zeroed, and a quiet tonic closing note unless the melody already ends
// on the tonic. The result is the whole file as bytes; the driver puts it in place.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workers/melody/melody_job.h"
#include "workers/melody/melody_song.h"

namespace melody {

struct SongOutcome {
    bool ok = false;
    bool fatal = false;              // a fault of the delta-time writer
    std::string message;             // for the error file; empty for a silent failure
    std::vector<std::uint8_t> song;  // the whole song input when ok
};

// The fields of a line "tick:status,data1,data2," and how many were read (0 to 4). The tick
// has no width limit, so ticks of a million and more are read whole.
struct EventLine {
    int fields = 0;
    Tick tick = 0;
    std::array<std::uint8_t, 3> bytes{};
};
EventLine ScanEventLine(std::string_view line);

// The fields of a line "tick:tempo," and how many were read (0 to 2).
struct TempoLine {
    int fields = 0;
    Tick tick = 0;
    std::int64_t tempo = 0;
};
TempoLine ScanTempoLine(std::string_view line);

// "Invalid Division Value %d" for a division the ticks cannot be rescaled from.
std::optional<std::string> InvalidDivisionMessage(int division);

// `remainder` is the command line's SumToken remainder: anything but 0 fails the run silently.
[[nodiscard]] SongOutcome BuildMelodySong(const MelodyJob& job, int division,
                                          std::string_view tempoLines, std::string_view eventLines,
                                          std::int32_t remainder);

}  // namespace melody
