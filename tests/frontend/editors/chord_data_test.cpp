// The chord data file as the chord list editor reads it.
#include "frontend/editors/chord_data.h"

#include <gtest/gtest.h>

namespace corvane::editors {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Record(int index, const char* chord1 = "G....", const char* chord2 = ".....",
                   char sty = '0') {
    char text[40];
    std::snprintf(text, sizeof text, "%03d:0:%s:3:%s:0:%c:          ;", index, chord1, chord2, sty);
    return text;
}

Bytes Stored(const std::string& plain, int key) {
    return EncodeChordData(Bytes(plain.begin(), plain.end()), key);
}

TEST(ChordDataTest, CodingShiftsEachByteByKeyPlusOnePlusThreeTimesItsNumber) {
    const Bytes plain = {0x30, 0x30, 0xFF, 0x00};
    const Bytes stored = EncodeChordData(plain, 53);
    EXPECT_EQ(stored[0], 0x30 + 53 + 1 + 3);
    EXPECT_EQ(stored[1], 0x30 + 53 + 1 + 6);
    EXPECT_EQ(stored[2], (0xFF + 53 + 1 + 9) % 256);
    EXPECT_EQ(DecodeChordData(stored, 53), plain);
    Bytes many(1000, 'x');
    EXPECT_EQ(DecodeChordData(EncodeChordData(many, kFixedChordKey), kFixedChordKey), many);
}

TEST(ChordDataTest, RecordsBecomeListLinesAndBarRows) {
    const std::string plain = "000:1:A.m..:3:F#m7.:5:2:Chorus    ;" + Record(1, ".....", "C....");
    const ChordDataRead read = ReadChordData(Stored(plain, 53), 53);
    ASSERT_FALSE(read.error);
    ASSERT_EQ(read.records.size(), 2u);
    const ChordRecord& first = read.records[0];
    EXPECT_EQ(first.msNo, "001");
    EXPECT_EQ(first.drum, '1');
    EXPECT_EQ(first.chord1, "Am   ");
    EXPECT_EQ(first.keptDigit, '3');
    EXPECT_EQ(first.chord2, "F#m7 ");
    EXPECT_EQ(first.inst, '5');
    EXPECT_EQ(first.sty, '2');
    EXPECT_EQ(first.ChordListLine(), "001  Am     F#m7   1   5   2Chorus    ");
    EXPECT_EQ(first.ChordListLine().size(), 38u);
    EXPECT_EQ(first.ChordListLine().substr(0, kBarListWidth), "001  Am     F#m7");
    EXPECT_EQ(read.records[1].ChordListLine(),
              "002         C      0   0    " + std::string(10, ' '));
    EXPECT_EQ(ChordCodeToText(".....", 5), "     ");

    // A measure field that does not give three digits is numbered by its place.
    const std::string odd =
        "-01:0:C....:3:.....:0:0:          ;"
        "999:0:C....:3:.....:0:0:          ;";
    const ChordDataRead oddRead = ReadChordData(Stored(odd, 53), 53);
    ASSERT_EQ(oddRead.records.size(), 2u);
    EXPECT_EQ(oddRead.records[0].msNo, "001");
    EXPECT_EQ(oddRead.records[1].msNo, "002");
}

TEST(ChordDataTest, ReadingStopsAtTheLimitTheEndOrABadRecord) {
    std::string full;
    for (int m = 0; m < 261; ++m) full += Record(m);
    std::string noEnd = Record(0) + Record(1);
    noEnd.pop_back();
    const std::string shortRecord = Record(0) + "001:0:C....:3:.....:0:0:         ;" + Record(2);

    EXPECT_EQ(ReadChordData(Stored(full, 49), 49).records.size(), 260u);
    EXPECT_EQ(ReadChordData(Stored(noEnd, 49), 49).records.size(), 1u);
    EXPECT_TRUE(ReadChordData({}, 49).records.empty());

    const ChordDataRead bad = ReadChordData(Stored(shortRecord, 49), 49);
    EXPECT_TRUE(bad.records.empty());
    ASSERT_TRUE(bad.error);
    EXPECT_EQ(*bad.error,
              "Error found: <001:0:C....:3:.....:0:0:         ;>, Len = 34, line No 1, "
              "last <" +
                  Record(0) + ">, ByteNo = 70");

    // Read with another key, the bytes give no 35-character records.
    EXPECT_TRUE(ReadChordData(Stored(full, 49), 50).records.empty());
}

TEST(ChordDataTest, MeasureCountCheck) {
    const struct {
        int count;
        bool fromMaker;
        int makerBefore;
        int chordMsCount;
        int makerAfter;
    } cases[] = {
        {0, true, 12, 0, 12},        {24, true, 12, 24, 24}, {24, false, 24, 24, 24},
        {23, false, 24, 0, 24},      {5, false, 0, 0, 0},    {259, true, 0, 259, 259},
        {260, false, 260, 260, 260}, {261, true, 5, 0, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << (c.fromMaker ? " from the maker" : ""));
        int maker = c.makerBefore;
        EXPECT_EQ(CheckChordMeasureCount(c.count, c.fromMaker, maker), c.chordMsCount);
        EXPECT_EQ(maker, c.makerAfter);
    }
}

TEST(ChordDataTest, GridRowsBecomeRecordsOfExactly35Characters) {
    KeptDigits kept{};
    kept.fill('0');
    kept[0] = '3';
    kept[1] = '7';
    const struct {
        ChordGridRow row;
        const char* record;
    } cases[] = {
        {{"Am   ", "", "4", "4", " ", "G  Major  "}, "000:4:A.m..:3:.....:4:0:G  Major  ;"},
        {{"F#m7", "C7m", "1", "0", "2", "Chorus"}, "001:1:F#m7.:7:C.m7.:0:2:Chorus    ;"},
        // Cells that hold anything but what a record takes are written as "0"; a comment is
        // cut to 10 and keeps no ";".
        {{"  Bb ", "G", "12", "x", "25", "0123456789AB"}, "002:0:Bb...:0:G....:0:0:0123456789;"},
        {{"", "", "", "", "", ";;"}, "003:0:.....:0:.....:0:0:          ;"},
    };
    std::vector<ChordGridRow> rows;
    std::string expected;
    for (const auto& c : cases) {
        rows.push_back(c.row);
        expected += c.record;
        const int index = static_cast<int>(rows.size()) - 1;
        EXPECT_EQ(FormatChordDataRecord(index, c.row, kept[static_cast<std::size_t>(index)]),
                  c.record);
    }
    const ChordDataWrite write = BuildChordData(rows, kept);
    ASSERT_FALSE(write.error);
    EXPECT_EQ(std::string(write.plain.begin(), write.plain.end()), expected);
    EXPECT_EQ(write.plain.size(), 35u * rows.size());
    ASSERT_EQ(write.lines.size(), rows.size());
    EXPECT_EQ(write.lines[0], "001  Am            4   4    G  Major  ");
    // The chords as they were written, not as their codes read back.
    EXPECT_EQ(write.lines[1], "002  F#m7   C7m    1   0   2Chorus    ");
    EXPECT_EQ(write.lines[2], "003  Bb     G      0   0    0123456789");
    for (const std::string& line : write.lines) EXPECT_EQ(line.size(), 38u);
}

TEST(ChordDataTest, AChordWithoutAReadableRootIsRefused) {
    KeptDigits kept{};
    kept.fill('0');
    const struct {
        ChordGridRow row;
        const char* error;  // nothing: the row is written
    } cases[] = {
        {{"am", "", "0", "0", "", ""}, "Error Converting Chord1 <a.m..>"},
        {{"C", "b", "0", "0", "", ""}, "Error Converting Chord2 <b....>"},
        {{"H7", "", "0", "0", "", ""}, "Error Converting Chord1 <H..7.>"},
        {{";", "", "0", "0", "", ""}, "Error Converting Chord1 <;....>"},
        {{"#", "", "0", "0", "", ""}, "Error Converting Chord1 <#....>"},
        {{"Am", "Bb", "0", "0", "", ""}, nullptr},
        {{" ", "", "0", "0", "", ""}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row.chord1 + "|" + c.row.chord2);
        // A bad row anywhere refuses the whole list.
        const ChordDataWrite write = BuildChordData({{"G", "", "0", "0", "", ""}, c.row}, kept);
        if (c.error == nullptr) {
            EXPECT_FALSE(write.error);
            EXPECT_EQ(write.plain.size(), 70u);
        } else {
            EXPECT_EQ(write.error, c.error);
            EXPECT_TRUE(write.plain.empty());
            EXPECT_TRUE(write.lines.empty());
        }
    }
}

TEST(ChordDataTest, SavedDataReadsBackCellForCell) {
    // The chord maker's digit of each measure survives an edit and a save.
    const std::string plain =
        "000:4:G....:8:.....:4:0:G  Major  ;001:0:E.m..:8:C....:5:3:x y  "
        "     ;002:8:G....:1:.....:8:0:          ;";
    const ChordDataRead first = ReadChordData(Stored(plain, 52), 52);
    ASSERT_EQ(first.records.size(), 3u);
    KeptDigits kept{};
    std::vector<ChordGridRow> rows;
    for (std::size_t i = 0; i < first.records.size(); ++i) {
        const ChordRecord& r = first.records[i];
        kept[i] = r.keptDigit;
        rows.push_back({r.chord1, r.chord2, std::string(1, r.drum), std::string(1, r.inst),
                        std::string(1, r.sty), r.comment});
    }
    const ChordDataWrite write = BuildChordData(rows, kept);
    EXPECT_EQ(std::string(write.plain.begin(), write.plain.end()), plain);
    const ChordDataRead again =
        ReadChordData(EncodeChordData(write.plain, kFixedChordKey), kFixedChordKey);
    ASSERT_EQ(again.records.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(again.records[i].ChordListLine(), first.records[i].ChordListLine());
        EXPECT_EQ(again.records[i].keptDigit, first.records[i].keptDigit);
        EXPECT_EQ(again.records[i].ChordListLine(), write.lines[i]);
    }
}

TEST(ChordDataTest, RepeatedStyleSwitchesAreCleared) {
    const struct {
        std::vector<std::string> before, after;
    } cases[] = {
        {{"2", "2", "", "2", "3"}, {"2", "", "", "", "3"}},
        {{"", "1", " 1", "2", "1"}, {"", "1", "", "2", "1"}},
        {{"", "", ""}, {"", "", ""}},
        {{"5"}, {"5"}},
    };
    for (auto c : cases) {
        DeduplicateStyles(c.before);
        EXPECT_EQ(c.before, c.after);
    }
}

TEST(ChordDataTest, ChordFileIsCheckedBeforeItIsUsed) {
    std::string forty;
    for (int m = 0; m < 40; ++m) forty += Record(m);
    const Bytes good = Stored(forty, kFixedChordKey);

    ChordFileCheck check = CheckChordFile(good, 40);
    EXPECT_FALSE(check.error);
    EXPECT_EQ(check.count, 40);
    EXPECT_EQ(check.length, 1400u);

    // Bytes after the records do not count; the copy takes the records alone.
    Bytes trailing = Stored(forty + "tail", kFixedChordKey);
    check = CheckChordFile(trailing, 40);
    EXPECT_FALSE(check.error);
    EXPECT_EQ(check.length, 1400u);

    EXPECT_EQ(CheckChordFile(good, 24).error, kInvalidMeasureCountText);
    EXPECT_EQ(CheckChordFile(good, 0).error, kInvalidMeasureCountText);
    // Data coded with another key than the chord files' is no chord file.
    EXPECT_TRUE(CheckChordFile(Stored(forty, 49), 40).error);
    EXPECT_EQ(CheckChordFile({}, 40).error, kInvalidMeasureCountText);
    const std::string broken = Record(0) + "001:0:C....:3:.....:0:0:         ;";
    check = CheckChordFile(Stored(broken, kFixedChordKey), 2);
    ASSERT_TRUE(check.error);
    EXPECT_EQ(check.error->substr(0, 14), "Error found: <");
    EXPECT_EQ(check.length, 0u);
}

TEST(ChordDataTest, ChordFileNamesGetTheirExtensionInTheFileNameOnly) {
    const struct {
        const char* typed;
        const char* load;
        const char* save;  // nullptr: refused
    } cases[] = {
        {"mysong", "mysong.chd", "mysong.chd"},
        {"my.song", "my.song", nullptr},
        {"a/my.songs/tune", "a/my.songs/tune.chd", "a/my.songs/tune.chd"},
        {"tune.CHD", "tune.CHD", "tune.CHD"},
        {"/x/tune.chd", "/x/tune.chd", "/x/tune.chd"},
        {"tune.chd.bak", "tune.chd.bak", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(ChordFileLoadPath(c.typed), c.load);
        const auto save = ChordFileSavePath(c.typed);
        if (c.save == nullptr) {
            EXPECT_FALSE(save);
        } else {
            EXPECT_EQ(save, c.save);
        }
    }
}

TEST(ChordDataTest, ExportLinePadsTheChords) {
    EXPECT_EQ(ChordListExportLine("001", {"Am", "F#m7 ", "4", "4", " ", "G  Major  "}),
              "001|Am   |F#m7 |4|4| |G  Major  \r\n");
    EXPECT_EQ(ChordListExportLine("040", {"", "", "8", "8", "", ""}), "040|     |     |8|8||\r\n");
}

}  // namespace
}  // namespace corvane::editors
