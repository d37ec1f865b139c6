// The rules of playing the output and leaving the program that need no window: whether the
// opened output fits the chord list, the open-error and mismatch texts, which section plays at a
// bar (for the status line and the style-slot LED), which beat LED a position lights, and the
// clean-up of the program folder at exit.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/core/name_tables.h"

namespace corvane {

// Bars of an output `lengthSixteenths` long; 0 while the bar length is unknown.
int OutMsCountOf(std::int64_t lengthSixteenths, int msUnits);

// The output may hold one bar more than the chord list (its ending), never fewer and never two.
bool BarCountsMatch(int outMsCount, int chordMsCount);
std::string BarMismatchText(int outMsCount, int chordMsCount);

// The box shown when the output player cannot open the play file with error `error`.
std::string OutputOpenErrorText(int error);

// What one status update of the playing output shows at `position` (sixteenths): a new bar
// once per bar, and the bar's second chord once, at a later update of the same bar at or past
// `halfMsUnits`; a bar that gets a single update shows no second chord. `lastShownMeasure`
// (-1: none yet) and `secondChordShown` carry the state from update to update.
struct BarStep {
    int bar = 0;
    bool newBar = false;
    bool secondChord = false;
};
BarStep FollowPosition(std::int64_t position, int msUnits, int halfMsUnits, int& lastShownMeasure,
                       bool& secondChordShown);

struct PlayingSection {
    int slot = 1;          // PlayingStyleSlot
    std::string caption;   // the status line
    int selectedRow = -1;  // the row of the section list to select; -1 for none
};

// The section under 0-based bar `bar`: the last line of `sectionLines` ("005: 2-Name", the
// section's first bar, its style slot and name) that starts at or before it. Before the first
// switch point, and with no lines, the song title stands alone and slot 1 plays.
PlayingSection LookUpSection(const std::vector<std::string>& sectionLines, int bar,
                             const std::string& songTitle);

// The colour of a slot's status text and LED; none for slot 6 (and anything outside 1..5), which
// keeps what was shown.
std::optional<Colour> SlotColour(int slot);

// The beat LED lit at `position` (sixteenths), or -1 before the LEDs know the time signature.
int BeatLedAt(std::int64_t position, int ticksPerBeatLed, int beatLedCount);

// The exchange and work files the workers and the front end leave in the program folder.
constexpr std::array<std::string_view, 6> kWorkFilePatterns = {"*.sti", "*.dat", "*.bin",
                                                               "*.msg", "*.aco", "*.err"};

// Deletes the play file, then every file of `folder` matching kWorkFilePatterns, in that order,
// whatever the letter case; read-only files and everything below or outside the folder stay.
void DeleteWorkFiles(const std::string& folder, const std::string& playFilePath);

}  // namespace corvane
