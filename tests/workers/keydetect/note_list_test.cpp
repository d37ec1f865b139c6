#include "workers/keydetect/note_list.h"

#include <gtest/gtest.h>

namespace keydetect {
namespace {

TEST(NotOnListTest, OneNoteOffEndsEverySoundingNoteOfItsKey) {
    NotOnList list;
    ASSERT_TRUE(list.RecordNoteOn(100, 60));
    ASSERT_TRUE(list.RecordNoteOn(200, 62));
    ASSERT_TRUE(list.RecordNoteOn(300, 60));
    list.RecordNoteOff(500, 60);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.notes()[0].Duration, 400);
    EXPECT_EQ(list.notes()[1].Duration, 0) << "another key keeps sounding";
    EXPECT_EQ(list.notes()[2].Duration, 200);

    // An ended note is not ended again by a later note-off of its key.
    list.RecordNoteOff(900, 60);
    EXPECT_EQ(list.notes()[0].Duration, 400);
}

TEST(NotOnListTest, DurationIsAtLeastOneTick) {
    NotOnList list;
    ASSERT_TRUE(list.RecordNoteOn(768, 64));
    list.RecordNoteOff(768, 64);
    EXPECT_EQ(list.notes()[0].Duration, 1);

    // A note-off counted from a later track chunk's zero lies before the start: still 1.
    ASSERT_TRUE(list.RecordNoteOn(5000, 65));
    list.RecordNoteOff(10, 65);
    EXPECT_EQ(list.notes()[1].Duration, 1);
}

TEST(NotOnListTest, NoteOffsFindOnlyTheNotesOfTheirKeyInTheCurrentList) {
    NotOnList list;
    ASSERT_TRUE(list.RecordNoteOn(0, 60));
    list.Clear();
    ASSERT_TRUE(list.RecordNoteOn(100, 61));
    list.RecordNoteOff(200, 60);  // the cleared note of key 60 is gone
    EXPECT_EQ(list.notes()[0].Duration, 0);

    // Keys beyond the MIDI range pair up by the value the list keeps of them.
    ASSERT_TRUE(list.RecordNoteOn(300, 128));
    ASSERT_TRUE(list.RecordNoteOn(300, -1));
    ASSERT_TRUE(list.RecordNoteOn(300, 65536 + 64));  // kept as key 64
    list.RecordNoteOff(400, 0);
    list.RecordNoteOff(500, 128);
    list.RecordNoteOff(600, -1);
    list.RecordNoteOff(700, 65536 + 64);
    EXPECT_EQ(list.notes()[1].Duration, 200);
    EXPECT_EQ(list.notes()[2].Duration, 300);
    EXPECT_EQ(list.notes()[3].Duration, 0);
    list.RecordNoteOff(800, 64);
    EXPECT_EQ(list.notes()[3].Duration, 500);
}

TEST(NotOnListTest, RefusesTheNoteAfterTheLimit) {
    NotOnList list;
    for (int i = 0; i < kMaxNotOn; ++i) ASSERT_TRUE(list.RecordNoteOn(i, 60 + i % 12));
    EXPECT_FALSE(list.RecordNoteOn(kMaxNotOn, 60));
    EXPECT_EQ(list.size(), kMaxNotOn);
}

TEST(NoteStatisticsTest, KeyZeroIsAC) {
    NotOnList list;
    ASSERT_TRUE(list.RecordNoteOn(0, 0));
    list.RecordNoteOff(384, 0);
    const NoteStatistics stats(list.notes());
    EXPECT_EQ(stats.Bins(0, 1)[0].total, 384);
}

TEST(NoteStatisticsTest, BinsCountOnlyLongNotesOfTheRange) {
    NotOnList list;
    // C long, C short (32 ticks is not long), E long, never-ended G, C long.
    const struct {
        Tick start;
        int note;
        Tick length;
    } notes[] = {{0, 60, 33}, {100, 72, 32}, {200, 64, 300}, {300, 67, 0}, {400, 48, 96}};
    for (const auto& n : notes) {
        ASSERT_TRUE(list.RecordNoteOn(n.start, n.note));
        if (n.length > 0) list.RecordNoteOff(n.start + n.length, n.note);
    }
    const NoteStatistics stats(list.notes());

    const PitchClassBins all = stats.Bins(0, 5);
    EXPECT_EQ(all[0].count, 2);
    EXPECT_EQ(all[0].total, 33 + 96);
    EXPECT_EQ(all[4].count, 1);
    EXPECT_EQ(all[4].total, 300);
    EXPECT_EQ(all[7].count, 0);

    const PitchClassBins middle = stats.Bins(1, 4);
    EXPECT_EQ(middle[0].count, 0);
    EXPECT_EQ(middle[4].total, 300);

    // Ranges outside the list are cut to it.
    EXPECT_EQ(stats.Bins(-3, 99)[0].total, all[0].total);
    EXPECT_EQ(stats.Bins(4, 2)[0].total, 0);
}

}  // namespace
}  // namespace keydetect
