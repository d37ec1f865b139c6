#include "workers/melody/melody_writer.h"

#include <gtest/gtest.h>

#include "tests/workers/melody/melody_fixtures.h"

namespace melody {
namespace {

using melodytest::Bytes;
using melodytest::FixtureBytes;
using melodytest::FixtureText;
using melodytest::SongEvent;
using melodytest::SongTracks;

MelodyJob CMajorJob() {
    MelodyJob job;
    job.noteOffZero = 0;
    return job;
}

// The melody track's events after its fixed start (name, bank, program, key, expression).
std::vector<SongEvent> MelodyEvents(const SongOutcome& outcome) {
    EXPECT_TRUE(outcome.ok) << outcome.message;
    const auto tracks = SongTracks(outcome.song);
    if (tracks.size() != 3 || tracks[1].size() < 5) {
        ADD_FAILURE() << "no melody track";
        return {};
    }
    return {tracks[1].begin() + 5, tracks[1].end()};
}

std::vector<SongEvent> ConductorEvents(const SongOutcome& outcome) {
    const auto tracks = SongTracks(outcome.song);
    return tracks.empty() ? std::vector<SongEvent>{} : tracks[0];
}

SongEvent At(std::int64_t tick, Bytes bytes) {
    return {tick, std::move(bytes)};
}

TEST(BuildMelodySong, RebuildsTheFixturesByteForByte) {
    MelodyJob format1;
    format1.noteOffZero = 1;
    const SongOutcome first = BuildMelodySong(format1, 384, "000000:120,\n001536:100,\n",
                                              FixtureText("format1_division384.events.txt"), 0);
    ASSERT_TRUE(first.ok) << first.message;
    EXPECT_EQ(first.song, FixtureBytes("format1_division384.expected.txt"));

    MelodyJob format0;
    format0.keySf = 1;
    format0.tonicNote = 67;
    format0.tempoBpm = 100;
    format0.introMeasures = 1;
    format0.endingMeasures = 1;
    format0.velPercent = 70;
    const SongOutcome second = BuildMelodySong(format0, 480, "000000:120,\n",
                                               FixtureText("format0_division480.events.txt"), 0);
    ASSERT_TRUE(second.ok) << second.message;
    EXPECT_EQ(second.song, FixtureBytes("format0_division480.expected.txt"));
}

TEST(BuildMelodySong, RescalesEveryDivisionExactlyOntoBarLines) {
    for (int division : {96, 120, 192, 240, 360, 384, 480, 960, 1000, 1920, 15360, 32767}) {
        SCOPED_TRACE(division);
        const std::int64_t bar = 4LL * division;
        const std::string events = std::to_string(bar * 700) + ":90,3C,64,\n" +
                                   std::to_string(bar * 700 + division) + ":80,3C,00,\n";
        const auto melody = MelodyEvents(BuildMelodySong(CMajorJob(), division, "", events, 0));
        ASSERT_GE(melody.size(), 2u);
        EXPECT_EQ(melody[0], At(1536 * 700, {0x90, 0x3C, 0x64}));
        EXPECT_EQ(melody[1], At(1536 * 700 + 384, {0x80, 0x3C, 0x00}));
    }
}

TEST(BuildMelodySong, DoublesTicksAndLaterTemposWithTheTimeFactor) {
    MelodyJob job = CMajorJob();
    job.timeFactor = 2;
    job.introMeasures = 1;
    const SongOutcome outcome = BuildMelodySong(job, 384, "000000:090,\n000768:100,\n001536:200,\n",
                                                "000000:90,3C,64,\n000384:80,3C,00,\n", 0);
    const auto conductor = ConductorEvents(outcome);
    ASSERT_EQ(conductor.size(), 6u);
    EXPECT_EQ(conductor[2],
              At(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}));  // 120, the command line's
    EXPECT_EQ(conductor[3], At(1536 + 1536, {0xFF, 0x51, 0x03, 0x04, 0x93, 0xE0}));  // 200
    EXPECT_EQ(conductor[4], At(1536 + 3072, {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}));  // 240
    const auto melody = MelodyEvents(outcome);
    EXPECT_EQ(melody[0].tick, 1536);
    EXPECT_EQ(melody[1].tick, 1536 + 768);
}

TEST(BuildMelodySong, WritesAFirstTempoLineThatIsNotAtTickZero) {
    const SongOutcome only =
        BuildMelodySong(CMajorJob(), 384, "000000:100,\n", "000000:90,3C,64,\n", 0);
    EXPECT_EQ(ConductorEvents(only).size(), 4u) << "a single tick-0 tempo is the initial one";

    const SongOutcome late =
        BuildMelodySong(CMajorJob(), 384, "000768:100,\n", "000000:90,3C,64,\n", 0);
    const auto conductor = ConductorEvents(late);
    ASSERT_EQ(conductor.size(), 5u);
    EXPECT_EQ(conductor[3], At(768, {0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0}));
}

TEST(BuildMelodySong, ReadsTemposWholeAndClampsThem) {
    const SongOutcome outcome = BuildMelodySong(
        CMajorJob(), 384, "000000:120,\n000010:1500,\n000020:5,\n", "000000:90,3C,64,\n", 0);
    const auto conductor = ConductorEvents(outcome);
    ASSERT_EQ(conductor.size(), 6u);
    EXPECT_EQ(conductor[3], At(10, {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}));  // 240
    EXPECT_EQ(conductor[4], At(20, {0xFF, 0x51, 0x03, 0x2D, 0xC6, 0xC0}));  // 20
}

TEST(BuildMelodySong, ScalesNoteOnVelocitiesAndZeroesNoteOffs) {
    struct Case {
        int percent;
        std::uint8_t velocity;
        std::uint8_t scaled;
    };
    for (const Case& c : {Case{70, 100, 69}, Case{200, 100, 127}, Case{50, 1, 1},
                          Case{100, 0x64, 0x64}, Case{150, 85, 127}, Case{51, 3, 1}}) {
        SCOPED_TRACE(c.percent);
        MelodyJob job = CMajorJob();
        job.velPercent = static_cast<std::int16_t>(c.percent);
        job.noteOffZero = 1;
        char events[64];
        std::snprintf(events, sizeof events, "000000:90,3C,%02X,\n000096:80,3C,40,\n", c.velocity);
        const auto melody = MelodyEvents(BuildMelodySong(job, 384, "", events, 0));
        ASSERT_GE(melody.size(), 2u);
        EXPECT_EQ(melody[0].bytes, (Bytes{0x90, 0x3C, c.scaled}));
        EXPECT_EQ(melody[1].bytes, (Bytes{0x80, 0x3C, 0x00}));
    }
}

TEST(BuildMelodySong, AddsTheClosingTonicUnlessTheMelodyEndsOnIt) {
    struct Case {
        const char* name;
        std::int16_t ending;
        std::string tempos;
        std::string events;
        std::int64_t closingAt;  // -1: no closing note
    };
    const std::string endsOnTonic =
        "000000:90,3E,64,\n000384:80,3E,00,\n000480:90,48,64,\n000864:80,48,00,\n";
    const Case cases[] = {
        {"ends on the tonic", 0, "", endsOnTonic, -1},
        {"ends on the tonic, one measure of tail", 1, "", endsOnTonic, 864 + 1536 + 96},
        {"tonic struck together with the note-off before it", 0, "",
         "000000:90,3E,64,\n000384:80,3E,00,\n000384:90,3C,64,\n000768:80,3C,00,\n", 768 + 96},
        {"ends on a control change", 0, "", endsOnTonic + "000900:B0,07,64,\n", 900 + 96},
        {"ends on another note", 0, "", "000000:90,3E,64,\n000384:80,3E,00,\n", 384 + 96},
        {"tempo change after the last note-on", 0, "000000:120,\n002000:100,\n", endsOnTonic,
         864 + (2000 + 96 - 480)},
        {"tempo change before the last note-on", 0, "000000:120,\n000400:100,\n", endsOnTonic, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MelodyJob job = CMajorJob();
        job.endingMeasures = c.ending;
        const auto melody = MelodyEvents(BuildMelodySong(job, 384, c.tempos, c.events, 0));
        ASSERT_GE(melody.size(), 2u);
        const SongEvent& beforeEnd = melody[melody.size() - 2];
        if (c.closingAt < 0) {
            EXPECT_NE(beforeEnd.bytes, (Bytes{0x80, 0x3C, 0x00}));
            continue;
        }
        ASSERT_GE(melody.size(), 3u);
        EXPECT_EQ(melody[melody.size() - 3], At(c.closingAt, {0x90, 0x3C, 0x05}));
        EXPECT_EQ(beforeEnd, At(c.closingAt + 96, {0x80, 0x3C, 0x00}));
    }
}

TEST(BuildMelodySong, WritesTheKeySignatureAsASignedByte) {
    MelodyJob job = CMajorJob();
    job.keySf = -3;
    job.tonicNote = 63;
    const SongOutcome outcome = BuildMelodySong(job, 384, "", "000000:90,3F,64,\n", 0);
    const auto tracks = SongTracks(outcome.song);
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_EQ(tracks[1][3].bytes, (Bytes{0xFF, 0x59, 0x02, 0xFD, 0x00}));
}

TEST(BuildMelodySong, KeepsKeyPressureOutOfTheSongInput) {
    const auto melody = MelodyEvents(BuildMelodySong(
        CMajorJob(), 384, "", "000000:90,3C,64,\n000050:A0,3C,30,\n000096:80,3C,00,\n", 0));
    ASSERT_GE(melody.size(), 2u);
    EXPECT_EQ(melody[1], At(96, {0x80, 0x3C, 0x00}));
}

TEST(BuildMelodySong, ReadsTicksOfAMillionAndMoreWhole) {
    const auto melody = MelodyEvents(
        BuildMelodySong(CMajorJob(), 384, "", "1000000:90,3E,64,\n1000096:80,3E,00,\n", 0));
    ASSERT_GE(melody.size(), 2u);
    EXPECT_EQ(melody[0], At(1000000, {0x90, 0x3E, 0x64}));
    EXPECT_EQ(melody[1], At(1000096, {0x80, 0x3E, 0x00}));
}

TEST(BuildMelodySong, PassesOverEmptyAndShortLines) {
    const auto melody = MelodyEvents(BuildMelodySong(
        CMajorJob(), 384, "\n", "\r\n000000:90,3C,64,\r\n000010:\r\n000096:C0,05,\r\n", 0));
    ASSERT_GE(melody.size(), 2u);
    EXPECT_EQ(melody[0], At(0, {0x90, 0x3C, 0x64}));
    EXPECT_EQ(melody[1], At(96, {0xC0, 0x05}));
}

TEST(BuildMelodySong, Failures) {
    struct Case {
        const char* name;
        int division;
        std::string tempos;
        std::string events;
        std::int32_t remainder;
        std::string message;
        bool fatal;
    };
    const Case cases[] = {
        {"division 0", 0, "", "000000:90,3C,64,\n", 0, "Invalid Division Value 0", false},
        {"negative division", -25, "", "000000:90,3C,64,\n", 0, "Invalid Division Value -25",
         false},
        {"tempo line without a tempo", 384, "000000:120,\n000100:\n", "000000:90,3C,64,\n", 0,
         "Invalid tempo data bytes.", false},
        {"tick going back", 384, "", "000384:90,3C,64,\n000000:80,3C,00,\n", 0,
         "The DtTime value must be >= 0.", true},
        {"tempo tick going back", 384, "000000:120,\n000500:100,\n000400:90,\n",
         "000000:90,3C,64,\n", 0, "The DtTime value must be >= 0.", true},
        {"delta too big", 384, "", "000000:90,3C,64,\n268435456:80,3C,00,\n", 0,
         "The DtTime value is too big.", true},
        {"remainder", 384, "", "000000:90,3C,64,\n000096:80,3C,00,\n", 1, "", false},
        {"remainder with no event line", 384, "", "", -1, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SongOutcome outcome =
            BuildMelodySong(CMajorJob(), c.division, c.tempos, c.events, c.remainder);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.fatal, c.fatal);
        EXPECT_TRUE(outcome.song.empty());
    }
}

TEST(PutDtTime, WritesTheShortestVariableLengthForm) {
    EXPECT_EQ(PutDtTime(0), (Bytes{0x00}));
    EXPECT_EQ(PutDtTime(127), (Bytes{0x7F}));
    EXPECT_EQ(PutDtTime(128), (Bytes{0x81, 0x00}));
    EXPECT_EQ(PutDtTime(16383), (Bytes{0xFF, 0x7F}));
    EXPECT_EQ(PutDtTime(16384), (Bytes{0x81, 0x80, 0x00}));
    EXPECT_EQ(PutDtTime(2097152), (Bytes{0x81, 0x80, 0x80, 0x00}));
    EXPECT_EQ(PutDtTime(kDeltaTimeLimit - 1), (Bytes{0xFF, 0xFF, 0xFF, 0x7F}));
}

}  // namespace
}  // namespace melody
