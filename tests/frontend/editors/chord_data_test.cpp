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

}  // namespace
}  // namespace corvane::editors
