// What Make Output decides before it starts the composer: whether the first slot's style fits
// the song's time signature, the playback units of that time signature, and the play options
// of the five style slots as the composer reads them from "vPara.dat".
#pragma once

#include <string>
#include <string_view>

#include "frontend/styles/slot_tables.h"

namespace corvane {

// The time signature a style's list entry begins with (" 3/4 Jazz Waltz" gives "3/4").
std::string StyleTimeSignature(std::string_view styleEntry);

// The refusal when the first slot's style has another time signature than the song.
std::string TimeSignatureRefusal(std::string_view styleSig, std::string_view songSig);

struct MeasureUnits {
    int msUnits = 16;     // sixteenths per measure
    int halfMsUnits = 8;  // sixteenths from the measure's start to its second chord
    int ticksPerBeatLed = 4;
    int beatLedCount = 4;
};

// A text other than "2/4", "3/4" and "6/8" takes the units of 4/4.
MeasureUnits MeasureUnitsOf(std::string_view timeSig);

// Five lines, each ended by CR LF, of 16 three-digit values joined by ",": the slot volume,
// five programs, five volumes and five play-mode codes (sustain x 10 + mode).
std::string VParaText(const styles::SlotTables& tables);

}  // namespace corvane
