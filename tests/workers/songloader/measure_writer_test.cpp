#include "workers/songloader/measure_writer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using songloader::Half;
using songloader::PickHalfMeasureNote;
using worker::QuantMode;
using worker::SongState;

std::unique_ptr<SongState> State44(QuantMode mode) {
    auto state = std::make_unique<SongState>();
    state->quantMode = mode;
    state->meter = {4, "4/4", 0, 24, 36, 1536, 768, 1024};
    worker::ResetMeasureNotes(state->curNotes);
    return state;
}

void Add(SongState& state, int start, int end, int note) {
    auto& list = state.curNotes;
    list.entries[static_cast<std::size_t>(list.count++)] = {static_cast<std::int16_t>(start),
                                                            static_cast<std::int16_t>(end),
                                                            static_cast<std::int16_t>(note),
                                                            0,
                                                            0,
                                                            90};
}

TEST(MainNotePickerTest, TickModeOnsetWindowsMatchOnlyTheFirstHalfAtZero) {
    // In tick mode the first-half onset window is ticks 0 and 1, and the second-half window
    // (566..570) holds no multiple of 48: a note at 576 wins only through the later passes.
    auto state = State44(QuantMode::kTick);
    Add(*state, 0, 96, 60);      // short C on the downbeat
    Add(*state, 576, 1536, 67);  // long G from the second beat and a half
    songloader::SetNoteLengths(*state);
    EXPECT_EQ(PickHalfMeasureNote(*state, Half::kFirst).note, 67);  // the sum pass outweighs C
    const auto second = PickHalfMeasureNote(*state, Half::kSecond);
    EXPECT_EQ(second.note, 67);
    EXPECT_EQ(second.name, "G");
}

TEST(MainNotePickerTest, WeightsBelowTheMinimumGiveNoMainNote) {
    // A tick-mode note of 48 ticks stays below the weight of 96 a main note needs.
    auto tick = State44(QuantMode::kTick);
    Add(*tick, 0, 48, 60);
    songloader::SetNoteLengths(*tick);
    EXPECT_TRUE(PickHalfMeasureNote(*tick, Half::kFirst).name.empty());

    // A quantised note of one step still counts (weight at least 1) through the onset pass.
    auto quantised = State44(QuantMode::kQuantised);
    Add(*quantised, 0, 1, 62);
    songloader::SetNoteLengths(*quantised);
    EXPECT_EQ(PickHalfMeasureNote(*quantised, Half::kFirst).name, "D");
}

TEST(MainNotePickerTest, SumPassTakesTheFirstOfEqualSums) {
    auto state = State44(QuantMode::kQuantised);
    Add(*state, 4, 8, 64);
    Add(*state, 8, 12, 65);
    Add(*state, 12, 16, 64);
    Add(*state, 16, 20, 65);
    songloader::SetNoteLengths(*state);
    // E and F both sum to 8 in the first half; E came first.
    EXPECT_EQ(PickHalfMeasureNote(*state, Half::kFirst).note, 64);
}

TEST(NoteNameTest, FlatSpellingOnlyForFlatKeys) {
    EXPECT_EQ(songloader::NoteName(70, -1), "Bb");
    EXPECT_EQ(songloader::NoteName(70, 0), "A#");
    EXPECT_EQ(songloader::NoteName(25, 3), "C#");
    EXPECT_EQ(songloader::NoteName(0, 0), "C");
}

}  // namespace
