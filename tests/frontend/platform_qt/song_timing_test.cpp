// The players' own reading of a song's timing: the division and the end of the longest track,
// or a refusal for what a player could not play as it stands.
#include "platform/qt/song_timing.h"

#include <gtest/gtest.h>

#include "tests/support/hex_text.h"

namespace platform::qt {
namespace {

struct Case {
    const char* name;
    const char* hex;
    std::optional<SongTiming> expected;
};

const Case kCases[] = {
    {"two tracks, the longer one counts",
     R"("MThd" 00000006 0001 0002 0180
        "MTrk" 00000004  00 FF 2F 00
        "MTrk" 0000000D  00 90 3C 64  83 00 80 3C 00  00 FF 2F 00  # 384 ticks of middle C
     )",
     SongTiming{384, 384}},
    {"format 0, an end of track after a pause",
     R"("MThd" 00000006 0000 0001 0060
        "MTrk" 00000005  87 40 FF 2F 00)",
     SongTiming{96, 960}},
    {"running status, a program change and a system exclusive message",
     R"("MThd" 00000006 0001 0001 0180
        "MTrk" 00000018  00 C0 05  00 90 3C 64  10 3E 64  00 F0 03 7E 7F F7  20 90 3C 00
                         00 FF 2F 00)",
     SongTiming{384, 48}},
    {"a track without its end counts to its last event",
     R"("MThd" 00000006 0001 0001 0180
        "MTrk" 00000008  00 90 3C 64  81 00 3C 00)",
     SongTiming{384, 128}},
    {"a longer header and a chunk of another kind are skipped",
     R"("MThd" 00000008 0001 0001 0180 AB CD
        "XFIH" 00000002 01 02
        "MTrk" 00000004  60 FF 2F 00)",
     SongTiming{384, 96}},
    {"bytes after the end of track are not events",
     R"("MThd" 00000006 0001 0001 0180
        "MTrk" 00000006  10 FF 2F 00  F2 F2)",
     SongTiming{384, 16}},
    {"not a MIDI file", R"("RIFF" 00000006 0001 0001 0180)", std::nullopt},
    {"a header cut short", R"("MThd" 00000006 0001)", std::nullopt},
    {"a header shorter than its fields", R"("MThd" 00000004 0001 0001 0180)", std::nullopt},
    {"format 2", R"("MThd" 00000006 0002 0001 0180 "MTrk" 00000004 00 FF 2F 00)", std::nullopt},
    {"SMPTE time", R"("MThd" 00000006 0001 0001 E728 "MTrk" 00000004 00 FF 2F 00)", std::nullopt},
    {"no ticks per quarter note", R"("MThd" 00000006 0001 0001 0000 "MTrk" 00000004 00 FF 2F 00)",
     std::nullopt},
    {"no tracks", R"("MThd" 00000006 0001 0000 0180)", std::nullopt},
    {"an announced track missing", R"("MThd" 00000006 0001 0002 0180 "MTrk" 00000004 00 FF 2F 00)",
     std::nullopt},
    {"a track longer than the file",
     R"("MThd" 00000006 0001 0001 0180 "MTrk" 00000010 00 FF 2F 00)", std::nullopt},
    {"a data byte before any status",
     R"("MThd" 00000006 0001 0001 0180 "MTrk" 00000007 00 3C 64  00 FF 2F 00)", std::nullopt},
    {"a status byte where data belongs",
     R"("MThd" 00000006 0001 0001 0180 "MTrk" 00000008 00 90 3C 90  00 FF 2F 00)", std::nullopt},
    {"a message cut by the chunk's end",
     R"("MThd" 00000006 0001 0001 0180 "MTrk" 00000003 00 90 3C)", std::nullopt},
    {"a common message inside a track",
     R"("MThd" 00000006 0001 0001 0180 "MTrk" 00000006 00 F2 00 00 FF 2F)", std::nullopt},
    {"a time of five bytes",
     R"("MThd" 00000006 0001 0001 0180 "MTrk" 00000008 81 81 81 81 01 FF 2F 00)", std::nullopt},
    {"a meta event longer than its track",
     R"("MThd" 00000006 0001 0001 0180 "MTrk" 00000005 00 FF 01 09 41)", std::nullopt},
    {"a song longer than a synthesizer counts",
     R"("MThd" 00000006 0001 0001 0180
        "MTrk" 00000027  FF FF FF 7F FF 01 00  FF FF FF 7F FF 01 00  FF FF FF 7F FF 01 00
                         FF FF FF 7F FF 01 00  FF FF FF 7F FF 01 00  00 FF 2F 00)",
     std::nullopt},
};

TEST(SongTimingTest, ReadsTheDivisionAndTheLongestTrackOrRefuses) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto bytes = testsupport::BytesFromHexText(c.hex);
        const auto timing = ScanSongTiming(bytes);
        ASSERT_EQ(timing.has_value(), c.expected.has_value());
        if (!timing) continue;
        EXPECT_EQ(timing->division, c.expected->division);
        EXPECT_EQ(timing->lengthTicks, c.expected->lengthTicks);
    }
}

TEST(SongTimingTest, SixteenthsRoundTripWhateverTheDivision) {
    // A jump to a sixteenth reads back as that sixteenth, also where a sixteenth is not a whole
    // number of ticks.
    for (int division : {96, 97, 120, 384, 1000}) {
        SCOPED_TRACE(division);
        for (std::int64_t n : {0, 1, 3, 47, 48, 4159}) {
            EXPECT_EQ(TicksToSixteenths(SixteenthsToTicks(n, division), division), n);
        }
    }
    EXPECT_EQ(TicksToSixteenths(383, 384), 3);
    EXPECT_EQ(TicksToSixteenths(384, 384), 4);
}

}  // namespace
}  // namespace platform::qt
