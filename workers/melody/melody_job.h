// The job parameters of one melody importer run, as the command line gives them and as the
// reader, the writer and the generator read them. Every field keeps the 16-bit value the
// command line was converted to.
#pragma once

#include <cstdint>

namespace melody {

struct MelodyJob {
    std::int16_t trackNo = 1;        // format 1: track after the conductor; format 0: channel 1..16
    std::int16_t beatsCode = 4;      // 2, 3, 4 or 6 (6/8)
    std::int16_t keySf = 0;          // sharps (positive) or flats (negative)
    std::int16_t tonicNote = 60;     // 60..71
    std::int16_t tempoBpm = 120;     // 20..240
    std::int16_t timeFactor = 1;     // 1 or 2
    std::int16_t noteOffZero = 0;    // 1: note-off velocities become 0
    std::int16_t introMeasures = 0;  // 0..16
    std::int16_t endingMeasures = 0;  // 0..16
    std::int16_t velPercent = 100;    // 50..200
};

}  // namespace melody
