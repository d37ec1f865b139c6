#include "workers/common/smf_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/hex_text.h"

namespace {

using worker::ReadStatus;
using worker::SongState;

// Keeps every flushed measure as the list looked at flush time.
class RecordingSink : public worker::MeasureSink {
  public:
    struct Flush {
        std::vector<worker::CurNote> notes;
        worker::MeasureIndex newMeasure;
    };
    ReadStatus FlushMeasure(SongState& state, worker::MeasureIndex newMeasure) override {
        Flush flush{{}, newMeasure};
        for (int i = 0; i < state.curNotes.count; ++i)
            flush.notes.push_back(state.curNotes.entries[i]);
        flushes.push_back(flush);
        worker::ResetMeasureNotes(state.curNotes);
        return ReadStatus::Ok();
    }
    std::vector<Flush> flushes;
};

constexpr const char* kHeader = R"("MThd" 00 00 00 06 00 01 00 02 01 80 )";
constexpr const char* kMeter44 = "00 FF 58 04 04 02 60 08 ";
constexpr const char* kEnd = "00 FF 2F 00 ";

std::string Track(const std::string& events) {
    return "\"MTrk\" 00 00 00 00 " + events;
}

std::string TwoTracks(const std::string& conductor, const std::string& melody) {
    return kHeader + Track(conductor + kEnd) + Track(melody + kEnd);
}

struct Read {
    ReadStatus status;
    std::unique_ptr<SongState> state;
    RecordingSink sink;
};

std::unique_ptr<Read> ReadText(const std::string& text,
                               worker::QuantMode mode = worker::QuantMode::kQuantised) {
    auto read = std::make_unique<Read>();
    read->state = std::make_unique<SongState>();
    read->state->quantMode = mode;
    const auto bytes = testsupport::BytesFromHexText(text);
    read->status = worker::ReadSong(bytes, *read->state, read->sink);
    return read;
}

std::string ManyNotes(int count) {
    std::string events;
    for (int i = 0; i < count; ++i) events += "00 90 3C 40 ";
    return events;
}

TEST(SmfReaderTest, RefusedFilesGiveTheirMessages) {
    struct Case {
        const char* name;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"not midi", R"("RIFF" 00 00 00 06 00 01 00 02 01 80)",
         "No MThd Found. The input file is not a valid Midi File."},
        {"header cut short", R"("MThd" 00 00 00 06 00 01)",
         "No MThd Found. The input file is not a valid Midi File."},
        {"format 0", R"("MThd" 00 00 00 06 00 00 00 01 01 80)", "!Unsupported file format."},
        {"format 2", R"("MThd" 00 00 00 06 00 02 00 01 01 80)", "Unsupported file format."},
        {"division 480", R"("MThd" 00 00 00 06 00 01 00 02 01 E0)", "!Unsupported Division Value."},
        {"5/4", TwoTracks("00 FF 58 04 05 02 60 08 ", ""), "!Unsupported Time Signature."},
        {"4/4 with 24 clocks", TwoTracks("00 FF 58 04 04 02 18 08 ", ""),
         "!Unsupported Time Signature."},
        {"tempo 0", TwoTracks("00 FF 51 03 00 00 00 ", ""), "!Cannot get Tempo of the song."},
        {"running status", TwoTracks(kMeter44, "00 90 3C 40 10 3C 00 "),
         "!Found an Invalid Event."},
        {"key pressure", TwoTracks(kMeter44, "00 A0 3C 40 "), "!Found an Invalid Event."},
        {"system common", TwoTracks(kMeter44, "00 F2 00 00 "), "!Found an Invalid Event."},
        {"note cut short", kHeader + Track(kMeter44) + "\"MTrk\" 00 00 00 00 00 90 3C",
         "!Found an Invalid Event."},
        {"sysex without end", kHeader + Track(kMeter44 + std::string("00 F0 03 01 02 03")),
         "Error found in System Exclusive Mess"},
        {"delta of five bytes", TwoTracks(kMeter44, "81 81 81 81 00 90 3C 40 "),
         "Error: Common GetDtTime M."},
        {"meta length of five bytes", TwoTracks("00 FF 01 81 81 81 81 00 ", ""),
         "Error: Common GetDtTime."},
        {"bytes after end of track",
         kHeader + Track(kMeter44 + std::string(kEnd) + "00 ") + Track(kEnd), "No Track Found."},
        {"other chunk before the melody",
         kHeader + Track(kMeter44 + std::string(kEnd)) + "\"XTrk\" 00 00 00 00 " + kEnd,
         "No Track Found."},
        {"note before the time signature", TwoTracks("", "00 90 3C 40 "),
         "!No Time Signature found before the first note."},
        {"note-on in measure 261", TwoTracks(kMeter44, "98 B0 00 90 3C 40 "),  // tick 399360
         "Out of memory. The input song has too many measures."},
        {"note-off far away", TwoTracks(kMeter44, "00 90 3C 40 FF FF FF 7F 80 3C 40 "),
         "Out of memory. The input song has too many measures."},
        {"40 notes in the first measure", TwoTracks(kMeter44, ManyNotes(40)),
         "Measure 000 error: Too many notes 39\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto read = ReadText(c.text);
        EXPECT_FALSE(read->status.ok);
        EXPECT_EQ(read->status.message, c.message);
    }
}

TEST(SmfReaderTest, LastMeasureOfTheTableIsStillAccepted) {
    // Tick 397824 = 259 x 1536: the first note of measure 260, the last the table holds.
    auto read = ReadText(TwoTracks(kMeter44, "98 A4 00 90 3C 40 83 00 80 3C 40 "));
    ASSERT_TRUE(read->status.ok) << read->status.message;
    ASSERT_EQ(read->sink.flushes.size(), 2u);
    EXPECT_EQ(read->sink.flushes[0].newMeasure, 259);
    EXPECT_EQ(read->sink.flushes[1].notes[0].start, 0);
    EXPECT_EQ(read->sink.flushes[1].notes[0].end, 8);
}

TEST(SmfReaderTest, ANoteSoundingPastTheTableFailsAlsoWhenItEndsOnABarLine) {
    // From tick 397824 (measure 260) to 399360 and to 400896, the bar lines of measures 261
    // and 262: the note fills the last measure of the table, or sounds on past it.
    auto fits = ReadText(TwoTracks(kMeter44, "98 A4 00 90 3C 40 8C 00 80 3C 40 "));
    EXPECT_TRUE(fits->status.ok) << fits->status.message;
    auto past = ReadText(TwoTracks(kMeter44, "98 A4 00 90 3C 40 98 00 80 3C 40 "));
    EXPECT_FALSE(past->status.ok);
    EXPECT_EQ(past->status.message, "Out of memory. The input song has too many measures.");
}

TEST(SmfReaderTest, MeterKeyAndTempoState) {
    auto read = ReadText(TwoTracks(
        "00 FF 58 04 03 02 60 08 00 FF 59 02 FD 01 00 FF 51 03 07 A1 20 00 FF 51 03 0F 42 40 "
        "00 FF 58 04 04 02 60 08 ",
        "00 90 3C 40 83 00 80 3C 40 "));
    ASSERT_TRUE(read->status.ok) << read->status.message;
    const SongState& s = *read->state;
    EXPECT_EQ(s.currentKeySign, -3);
    EXPECT_EQ(s.songKeySign, -3);
    EXPECT_EQ(s.songTempoBpm, 120);
    EXPECT_EQ(s.meter.meterText, "4/4");
    EXPECT_EQ(s.meter.tripleFlag, 1);  // 3/4 then 4/4 keeps it
    EXPECT_EQ(s.meter.ticksPerMeasure, 1536);

    auto eight = ReadText(TwoTracks("00 FF 58 04 03 02 60 08 00 FF 58 04 06 03 60 08 ", ""));
    ASSERT_TRUE(eight->status.ok);
    EXPECT_EQ(eight->state->meter.tripleFlag, 0);
    EXPECT_EQ(eight->state->meter.ticksPerMeasure, 1152);
    EXPECT_EQ(eight->state->meter.quantSplit, 18);
}

TEST(SmfReaderTest, VelocityZeroNoteOnIsANewNoteAndOffsCloseTheFirstOpenEntry) {
    // C on at 0, C "on" with velocity 0 at 96, one off at 192: the first C closes, the second
    // stays.
    auto read = ReadText(TwoTracks(kMeter44, "00 90 3C 40 60 90 3C 00 60 80 3C 40 "));
    ASSERT_TRUE(read->status.ok);
    ASSERT_EQ(read->sink.flushes.size(), 1u);
    const auto& notes = read->sink.flushes[0].notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].end, 4);
    EXPECT_EQ(notes[1].start, 2);
    EXPECT_EQ(notes[1].end, -1);
    EXPECT_EQ(notes[1].velocity, 0);
}

TEST(SmfReaderTest, NoteOffInALaterMeasureOpensAnEntryThereAndTickModeUsesTicks) {
    // The note ends a quarter note into the second measure (tick 1536 + 120).
    auto read =
        ReadText(TwoTracks(kMeter44, "00 90 3C 40 8C 78 80 3C 40 "), worker::QuantMode::kTick);
    ASSERT_TRUE(read->status.ok);
    ASSERT_EQ(read->sink.flushes.size(), 2u);
    EXPECT_EQ(read->sink.flushes[0].newMeasure, 1);
    EXPECT_EQ(read->sink.flushes[0].notes[0].end, -1);
    const auto& later = read->sink.flushes[1].notes[0];
    EXPECT_EQ(later.start, -1);
    EXPECT_EQ(later.end, 96);  // on the 48-tick grid
}

TEST(SmfReaderTest, NoteOffsOnTheBarLineAfterTheLastNoteOpenNoMeasure) {
    // Each case: the melody chunk's events and the flushes as (new measure, list entries as
    // start..end). Ticks: 86 00 = 768, 8C 00 = 1536 (a bar line), 98 00 = 3072.
    struct Flush {
        int newMeasure;
        std::vector<std::pair<int, int>> notes;
    };
    struct Case {
        const char* what;
        std::string melody;
        std::vector<Flush> flushes;
    };
    const std::vector<Case> cases = {
        {"the last note ends on the bar line", "00 90 3C 40 8C 00 80 3C 40 ", {{1, {{0, -1}}}}},
        {"so does a chord",
         "00 90 3C 40 00 90 40 40 8C 00 80 3C 40 00 80 40 40 ",
         {{1, {{0, -1}, {0, -1}}}}},
        {"a note held through a measure ends the song with that measure",
         "00 90 3C 40 98 00 80 3C 40 ",
         {{2, {{0, -1}}}}},
        {"a note-off within the first 32nd step counts as on the bar line",
         "00 90 3C 40 8C 10 80 3C 40 ",
         {{1, {{0, -1}}}}},
        {"a later note-on keeps the note-off as it is",
         "00 90 3C 40 8C 00 80 3C 40 00 90 3E 40 86 00 80 3E 40 ",
         {{1, {{0, -1}}}, {1, {{-1, 0}, {0, 16}}}}},
        {"a note-off later in the measure opens it",
         "00 90 3C 40 00 90 40 40 8C 00 80 3C 40 60 80 40 40 ",
         {{1, {{0, -1}, {0, -1}}}, {1, {{-1, 0}, {-1, 2}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto read = ReadText(TwoTracks(kMeter44, c.melody));
        ASSERT_TRUE(read->status.ok) << read->status.message;
        ASSERT_EQ(read->sink.flushes.size(), c.flushes.size());
        for (std::size_t f = 0; f < c.flushes.size(); ++f) {
            const auto& flush = read->sink.flushes[f];
            EXPECT_EQ(flush.newMeasure, c.flushes[f].newMeasure) << f;
            std::vector<std::pair<int, int>> notes;
            for (const auto& n : flush.notes) notes.emplace_back(n.start, n.end);
            EXPECT_EQ(notes, c.flushes[f].notes) << f;
        }
    }
}

TEST(SmfReaderTest, OnlyTheFirstTwoChunksAreReadAndASingleChunkIsReadToItsEnd) {
    auto third = ReadText(kHeader + Track(kMeter44 + std::string(kEnd)) + Track(kEnd) +
                          Track("00 90 3C 40 83 00 80 3C 40 " + std::string(kEnd)));
    ASSERT_TRUE(third->status.ok);
    EXPECT_TRUE(third->sink.flushes.empty());

    auto single =
        ReadText(kHeader + Track(std::string(kMeter44) + "00 90 3C 40 83 00 80 3C 40 " + kEnd));
    ASSERT_TRUE(single->status.ok);
    ASSERT_EQ(single->sink.flushes.size(), 1u);
    EXPECT_EQ(single->sink.flushes[0].notes[0].note, 60);
}

TEST(SmfReaderTest, AMetaEventCutShortEndsTheReadingQuietly) {
    auto read = ReadText(
        kHeader + Track(kMeter44 + std::string("00 90 3C 40 83 00 80 3C 40 00 FF 01 10 41")));
    ASSERT_TRUE(read->status.ok) << read->status.message;
    ASSERT_EQ(read->sink.flushes.size(), 1u);
}

TEST(SmfReaderTest, SkippedEventsAndBeatHistogram) {
    // Program change, controller, pitch bend, sysex and a text event between the notes.
    auto read =
        ReadText(TwoTracks(kMeter44,
                           "00 C0 05 00 B0 07 64 00 E0 00 40 00 F0 02 01 F7 00 FF 01 02 41 42 "
                           "00 90 3C 40 83 00 80 3C 40 00 90 3E 40 83 00 80 3E 40 "));
    ASSERT_TRUE(read->status.ok) << read->status.message;
    EXPECT_EQ(read->state->btHistogram[0], 1);
    EXPECT_EQ(read->state->btHistogram[12], 1);
}

}  // namespace
