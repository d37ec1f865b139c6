// Loading one style file into a style slot: the channel blocks (a plain channel line, then the
// coded text of up to 16 modes up to "Eoi"), the checks of every row and mode, and the cell
// values split into whole value and extra field. The reader takes the file's bytes; a format
// error logs its message and ends the run through AbortCompose.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "workers/composer/compose_args.h"
#include "workers/composer/compose_types.h"

namespace composer {

// The values of one style track in a slot.
struct StyleTrack {
    int program = 0;
    int volume = 0;
    int pan = 0;
    int effect = 0;
    int pUseSust = 0;
    int styleFlag1 = 0;
    int partModeTens = 0;
    int partStyleValue = 0;
    std::array<int, kModeCount> velHs{};
    std::unique_ptr<StyleCells> cells;  // null until the track's block is read (and kept)
};

struct StyleSlot {
    std::array<StyleTrack, kStyleTrackCount> tracks;
    std::array<int, kStyleTrackCount> channel{1, 2, 3, 4, kDrumChannel};
    std::array<int, kStyleTrackCount> channelMode{};
    std::array<int, kStyleTrackCount> partTensValue{};
    std::array<int, kStyleTrackCount> partTensFlag{};
    // Program and volume of each track as loaded, for "cPara.dat".
    bool loaded = false;
};

// The octave code of a fraction.
int RoundStyleValue(double fraction);

// Splits a style value into its whole value, test value and extra field.
std::int64_t SplitStyleValue(double value, std::int64_t& testValue, std::int16_t& extra);

struct StyleLoadContext {
    std::string fileName;
    int slot = 1;  // 1..5
    SlotSettings settings;
    SlotParams params;
    int linesPerMeasure = 32;  // of the song's time signature
    std::string timeSigName = "4/4";
    // False for a slot that no section of the song plays: its cells are checked as in any other
    // slot, but no table is kept for them.
    bool keepCells = true;
};

// Loads the blocks of a style file into `out`. Format errors log and abort.
void LoadStyleBytes(std::span<const std::uint8_t> file, const StyleLoadContext& context,
                    MessageLog& log, StyleSlot& out);

}  // namespace composer
