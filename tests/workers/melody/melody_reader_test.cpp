#include "workers/melody/melody_reader.h"

#include <gtest/gtest.h>

#include "tests/workers/melody/melody_fixtures.h"

namespace melody {
namespace {

using melodytest::Bytes;
using melodytest::Concat;
using melodytest::FixtureBytes;
using melodytest::FixtureText;
using melodytest::MidiHeader;
using melodytest::MidiTrack;

const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};
const Bytes kConductor =
    MidiTrack(Concat({{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}, kEndOfTrack}));

Bytes Format1(const Bytes& melodyEvents) {
    return Concat(
        {MidiHeader(1, 2, 384), kConductor, MidiTrack(Concat({melodyEvents, kEndOfTrack}))});
}

TEST(ReadMelodySource, Format1WithRunningStatusAndVelocityZeroNoteOffs) {
    const MelodyScan scan = ReadMelodySource(FixtureBytes("format1_division384.mid.txt"), 1);
    EXPECT_FALSE(scan.fatal);
    EXPECT_FALSE(scan.channelMode);
    EXPECT_EQ(scan.division, 384);
    EXPECT_EQ(scan.chunkCount, 2);
    EXPECT_EQ(scan.eventLines, FixtureText("format1_division384.events.txt"));
    EXPECT_EQ(scan.tempoLines, "000000:120,\n001536:100,\n");
    EXPECT_EQ(scan.notesOn, 5);
    EXPECT_EQ(scan.notesOff, 5);
    EXPECT_EQ(scan.errorText, "");
    EXPECT_EQ(scan.listing,
              "Header Data Length: 6\nFile Type: 1\nNumber of Traks: 2\nDivision value: 384\n"
              "\nTrack01 Data Length: 27\n =>TimeSig=4/4\n =>Tempo=120  \n =>Tempo=100  \n"
              "\nTrack02 Data Length: 61\n");
}

TEST(ReadMelodySource, Format0KeepsOnlyTheChosenChannelThroughRunningStatus) {
    const Bytes source = FixtureBytes("format0_division480.mid.txt");
    const MelodyScan melody = ReadMelodySource(source, 1);
    EXPECT_TRUE(melody.channelMode);
    EXPECT_EQ(melody.division, 480);
    EXPECT_EQ(melody.eventLines, FixtureText("format0_division480.events.txt"));
    EXPECT_EQ(melody.errorText, "");
    EXPECT_EQ(melody.listing,
              "Header Data Length: 6\nFile Type: 0\nNumber of Traks: 1\nDivision value: 480\n"
              "\nTrack01 Data Length: 100\n =>TimeSig=4/4\n =>Tempo=120  \n =>Keysig=01  \n");

    const MelodyScan bass = ReadMelodySource(source, 2);
    EXPECT_EQ(bass.eventLines,
              "000000:C0,20,\n000000:90,2B,50,\n000960:80,2B,00,\n000960:90,2D,50,\n"
              "001920:80,2D,00,\n");
    EXPECT_EQ(bass.notesOn, 2);
    EXPECT_EQ(bass.notesOff, 2);
}

TEST(ReadMelodySource, FatalFaultsCarryTheirMessage) {
    struct Case {
        const char* name;
        Bytes source;
        std::string error;
        bool alsoListed;
    };
    Bytes truncated = FixtureBytes("format1_division384.mid.txt");
    truncated.resize(truncated.size() - 10);
    const Case cases[] = {
        {"empty file", {}, "Invalid file's description", false},
        {"not a MIDI file",
         {'R', 'I', 'F', 'F', 0, 0, 0, 4, 'W', 'A', 'V', 'E'},
         "Invalid file's description",
         false},
        {"format 2", Concat({MidiHeader(2, 1, 384), kConductor}), "Unknown Midi File Type 2.",
         false},
        {"SysEx without its end", Format1({0x00, 0xF0, 0x05, 0x7E, 0x7F}), "EOF while finding 0xF7",
         true},
        {"data byte before any status", Format1({0x00, 0x3C, 0x64}),
         "=>GlSt: Undefined value: 00 (000)", true},
        {"running status does not cross chunks",
         Concat({MidiHeader(1, 2, 384), MidiTrack(Concat({{0x00, 0xB0, 0x07, 0x64}, kEndOfTrack})),
                 MidiTrack({0x00, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00})}),
         "=>GlSt: Undefined value: 00 (000)", true},
        {"delta time of five bytes", Format1({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x3C, 0x64}),
         "Error Common GetDtTime.", false},
        {"file cut inside a chunk", truncated, "Error Common GetDtTime.", false},
        {"chunk without an end of track",
         Concat({MidiHeader(1, 2, 384), kConductor, MidiTrack({0x00, 0x90, 0x3C, 0x64})}),
         "Error Common GetDtTime.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MelodyScan scan = ReadMelodySource(c.source, 1);
        EXPECT_TRUE(scan.fatal);
        EXPECT_EQ(scan.errorText, c.error);
        EXPECT_EQ(scan.listing.ends_with(c.error), c.alsoListed) << scan.listing;
    }
}

TEST(ReadMelodySource, StepsOverGarbageAndEmptyChunksAndCountsThem) {
    const Bytes melody =
        MidiTrack({0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00});
    const Bytes source = Concat(
        {MidiHeader(1, 3, 384), kConductor, {'j', 'u', 'n', 'k', 0x00}, MidiTrack({}), melody});
    // The empty chunk is chunk 2, so the melody is track 2.
    const MelodyScan scan = ReadMelodySource(source, 2);
    EXPECT_FALSE(scan.fatal);
    EXPECT_EQ(scan.chunkCount, 3);
    EXPECT_EQ(scan.eventLines, "000000:90,3C,64,\n000096:80,3C,40,\n");
    EXPECT_NE(scan.listing.find("\nTrack02 Data Length: 0\nTrack03 Data Length: 12\n"),
              std::string::npos)
        << scan.listing;

    EXPECT_EQ(ReadMelodySource(source, 1).notesOn, 0) << "the empty chunk holds no note";
    EXPECT_EQ(ReadMelodySource(source, 5).notesOn, 0) << "beyond the last track";
}

TEST(ReadMelodySource, NotesTheCountsAfterEveryAttemptWhileTheyDiffer) {
    const MelodyScan scan = ReadMelodySource(Format1({0x00, 0x90, 0x3C, 0x64}), 1);
    EXPECT_FALSE(scan.fatal);
    // Once after the melody chunk and once more for the attempt that meets the end of the file.
    EXPECT_EQ(scan.errorText,
              "Error testing value: TSumOn=1, TSumOf=0.Error testing value: TSumOn=1, TSumOf=0.");
}

// Garbage is stepped over byte by byte; a run of it is one attempt for the error file, or a
// garbage source would write a note for every byte it holds.
TEST(ReadMelodySource, NotesARunOfSteppedOverBytesOnce) {
    const std::string note = "Error testing value: TSumOn=1, TSumOf=0.";
    struct Case {
        const char* what;
        Bytes tail;
        int notes;  // after the melody chunk, for each run of garbage and at the end of the file
    };
    const Bytes emptyChunk = MidiTrack({});
    const Case cases[] = {
        {"nothing after the melody", {}, 2},
        {"one run of garbage", Bytes(5000, 'x'), 3},
        {"garbage, a chunk, garbage", Concat({Bytes(300, 'x'), emptyChunk, Bytes(300, 'y')}), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MelodyScan scan =
            ReadMelodySource(Concat({Format1({0x00, 0x90, 0x3C, 0x64}), c.tail}), 1);
        EXPECT_FALSE(scan.fatal);
        std::string expected;
        for (int i = 0; i < c.notes; ++i) expected += note;
        EXPECT_EQ(scan.errorText, expected);
    }
}

TEST(ReadMelodySource, StopsCollectingNotesWhereTheErrorFileEnds) {
    // Each empty chunk and the garbage byte after it are two attempts with a note each.
    Bytes source = Format1({0x00, 0x90, 0x3C, 0x64});
    const Bytes chunkAndGarbage = Concat({MidiTrack({}), {'x'}});
    for (int i = 0; i < 20000; ++i) {
        source.insert(source.end(), chunkAndGarbage.begin(), chunkAndGarbage.end());
    }
    const MelodyScan scan = ReadMelodySource(source, 1);
    EXPECT_FALSE(scan.fatal);
    EXPECT_GE(scan.errorText.size(), kErrorFileLimit);
    EXPECT_LT(scan.errorText.size(), kErrorFileLimit + 100);
}

TEST(ReadMelodySource, WritesEveryKindOfChannelEventOnChannelOne) {
    // clang-format off
    const MelodyScan scan = ReadMelodySource(
        Format1({0x00, 0x93, 0x3C, 0x64,  // note-on, channel 4
                 0x00, 0x3E, 0x00,        // running note-on, velocity 0
                 0x00, 0x83, 0x3C, 0x10,  // note-off
                 0x00, 0x3E, 0x20,        // running note-off
                 0x00, 0xA3, 0x3C, 0x30,  // key pressure
                 0x00, 0x3C, 0x31,        // running key pressure
                 0x00, 0xB3, 0x07, 0x64,  // control change
                 0x00, 0x0A, 0x40,        // running control change
                 0x00, 0xC3, 0x05,        // program change
                 0x00, 0x06,              // running program change
                 0x00, 0xD3, 0x40,        // channel pressure
                 0x00, 0x41,              // running channel pressure
                 0x00, 0xE3, 0x00, 0x40,  // pitch bend
                 0x00, 0x7F, 0x7F,        // running pitch bend
                 0x00, 0xF2, 0x01, 0x02,  // song position: no line
                 0x00, 0xF1, 0x01,        // time code quarter frame
                 0x00, 0xF8}),            // clock
        1);
    // clang-format on
    EXPECT_FALSE(scan.fatal) << scan.errorText;
    EXPECT_EQ(scan.eventLines,
              "000000:90,3C,64,\n000000:80,3E,00,\n000000:80,3C,10,\n000000:80,3E,20,\n"
              "000000:A0,3C,30,\n000000:A0,3C,31,\n000000:B0,07,64,\n000000:B0,0A,40,\n"
              "000000:C0,05,\n000000:C0,06,\n000000:D0,40,\n000000:D0,41,\n"
              "000000:E0,00,40,\n000000:E0,7F,7F,\n");
    EXPECT_EQ(scan.notesOn, 1);
    EXPECT_EQ(scan.notesOff, 3);
}

TEST(ReadMelodySource, ListsMetaEventsAndReadsPastTheirLengths) {
    // clang-format off
    const MelodyScan scan = ReadMelodySource(
        Format1({0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x18, 0x08,  // 6/8
                 0x00, 0xFF, 0x58, 0x04, 0x06, 0x04, 0x18, 0x08,  // 6/16 is listed as 6/8 too
                 0x00, 0xFF, 0x58, 0x04, 0x05, 0x02, 0x18, 0x08,  // 5/4
                 0x00, 0xFF, 0x59, 0x02, 0xFD, 0x00,              // three flats
                 0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00,        // tempo 0: ignored
                 0x00, 0xFF, 0x2F, 0x01, 0x55,                    // not an end of track
                 0x00, 0xFF, 0x01, 0x81, 0x00,                    // text of 128 bytes...
                 }),
        1);
    // clang-format on
    // ...runs past the chunk's end into the file's end.
    EXPECT_TRUE(scan.fatal);
    EXPECT_NE(scan.listing.find("\n =>TimeSig=6/8\n =>TimeSig=6/8\n =>TimeSig=?/?\n =>Keysig=-3  "),
              std::string::npos)
        << scan.listing;
    EXPECT_EQ(scan.tempoLines, "000000:120,\n");
}

TEST(ReadMelodySource, TicksOfAMillionAndMoreKeepEveryDigit) {
    const MelodyScan scan =
        ReadMelodySource(Format1({0xBD, 0x84, 0x40, 0x90, 0x3C, 0x64,          // tick 1000000
                                  0xFF, 0xFF, 0xFF, 0x7F, 0x80, 0x3C, 0x40}),  // + 268435455
                         1);
    EXPECT_FALSE(scan.fatal);
    EXPECT_EQ(scan.eventLines, "1000000:90,3C,64,\n269435455:80,3C,40,\n");
}

TEST(ReadMelodySource, Format1TakesTheConductorsChannelEventsFirst) {
    const Bytes source = Concat(
        {MidiHeader(1, 2, 384),
         MidiTrack(Concat({{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x83, 0x00, 0xB0, 0x07, 0x50},
                           kEndOfTrack})),
         MidiTrack(Concat({{0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00}, kEndOfTrack}))});
    EXPECT_EQ(ReadMelodySource(source, 1).eventLines,
              "000384:B0,07,50,\n000000:90,3C,64,\n000096:80,3C,00,\n");
}

TEST(ReadMelodySource, AChunkLengthWithItsTopBitSetStillMovesForward) {
    const Bytes source =
        Concat({MidiHeader(1, 3, 384),
                kConductor,
                MidiTrack(Concat({{0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00}, kEndOfTrack})),
                {'M', 'T', 'r', 'k', 0xFF, 0xFF, 0xFF, 0xF0, 0x00}});
    const MelodyScan scan = ReadMelodySource(source, 1);
    EXPECT_FALSE(scan.fatal);
    EXPECT_EQ(scan.chunkCount, 3);
    EXPECT_NE(scan.listing.find("Track03 Data Length: 4294967280"), std::string::npos);
}

}  // namespace
}  // namespace melody
