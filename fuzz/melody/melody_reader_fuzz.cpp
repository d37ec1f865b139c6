// Feeds any bytes to the melody importer's reader as the source file and, when it takes notes,
// its lines to the writer. The first two bytes choose the track or channel and the job.
#include <cstddef>
#include <cstdint>
#include <span>

#include "workers/melody/melody_reader.h"
#include "workers/melody/melody_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int trackNo = 1 + data[0] % 16;
    const std::uint8_t shape = data[1];
    const std::span<const std::uint8_t> source(data + 2, size - 2);

    const melody::MelodyScan scan = melody::ReadMelodySource(source, trackNo);
    if (scan.fatal || scan.notesOn == 0) return 0;

    melody::MelodyJob job;
    job.trackNo = static_cast<std::int16_t>(trackNo);
    job.beatsCode = static_cast<std::int16_t>((const int[]){2, 3, 4, 6}[shape & 3]);
    job.timeFactor = static_cast<std::int16_t>(1 + ((shape >> 2) & 1));
    job.noteOffZero = static_cast<std::int16_t>((shape >> 3) & 1);
    job.introMeasures = static_cast<std::int16_t>((shape >> 4) & 3);
    job.velPercent = (shape & 0x40) != 0 ? 70 : 100;
    const melody::SongOutcome outcome =
        melody::BuildMelodySong(job, scan.division, scan.tempoLines, scan.eventLines, 0);
    // A finished song always has the header, the conductor and the closing track.
    if (outcome.ok && outcome.song.size() < 14 + 34 + 18) __builtin_trap();
    return 0;
}
