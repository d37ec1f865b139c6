// Feeds any text to the writer as the tempo and event lines it reads back from its scratch
// files: the first byte chooses the job and the division, a NUL byte parts the tempo lines
// from the event lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "workers/melody/melody_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t shape = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = text.find('\0');
    const std::string_view tempos = split == std::string_view::npos ? "" : text.substr(0, split);
    const std::string_view events = split == std::string_view::npos ? text : text.substr(split + 1);

    melody::MelodyJob job;
    job.beatsCode = static_cast<std::int16_t>((const int[]){2, 3, 4, 6}[shape & 3]);
    job.timeFactor = static_cast<std::int16_t>(1 + ((shape >> 2) & 1));
    job.noteOffZero = static_cast<std::int16_t>((shape >> 3) & 1);
    job.introMeasures = static_cast<std::int16_t>(((shape >> 4) & 1) * 16);
    job.endingMeasures = static_cast<std::int16_t>(((shape >> 5) & 1) * 16);
    const int division = (const int[]){384, 480, 1, -96}[(shape >> 6) & 3];
    const melody::SongOutcome outcome = melody::BuildMelodySong(job, division, tempos, events, 0);
    if (outcome.ok && outcome.song.size() < 14 + 34 + 18) __builtin_trap();
    if (!outcome.ok && outcome.song.size() != 0) __builtin_trap();
    return 0;
}
