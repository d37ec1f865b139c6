#include "formats/style_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/style_coding.h"
#include "formats/style_keys.h"
#include "formats/style_text.h"
#include "tests/formats/sample_style.h"

namespace formats {
namespace {

using Bytes = std::vector<std::uint8_t>;

Style Sample() {
    auto result = ParseStyleText(testsupport::kSampleStyle);
    EXPECT_TRUE(result.ok()) << result.problem.Text();
    return *result.value;
}

Bytes Compile(const Style& style) {
    auto file = WriteStyleFile(style);
    EXPECT_TRUE(file.ok()) << file.problem.Text();
    return file.ok() ? *file.value : Bytes{};
}

// A block as the composer reads it: the plain record line, then `text` coded with `key`.
Bytes Block(const std::string& record, const std::string& text, std::uint8_t key) {
    Bytes bytes(record.begin(), record.end());
    AppendCodedStyleText(text, key, bytes);
    return bytes;
}

std::string Rows(int count, const std::string& row) {
    std::string text;
    for (int i = 0; i < count; ++i) text += row;
    return text;
}

const std::string kEmptyRow = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,\r\n";
const std::string kDrumRecord = "Mtrk,9,0,0,100,64,0,0,100,64,0,0,\"Demo: 2/4 Demo\"\r\n";

TEST(StyleFile, LaysOutTheBlocksBothReadersExpect) {
    const Bytes file = Compile(Sample());
    const std::uint8_t key = formats::StyleKeyForVersion(5);
    ASSERT_EQ(key, formats::kStyleKeyBelow20);

    // The first record is plain and carries the header as its thirteenth field, padded with
    // blanks so that the next record lies a full record spacing further on.
    const std::string head = "Mtrk,1,-12,4,101,30,20,5,102,90,21,172,\"Demo: 2/4 Tiny demo\" ";
    ASSERT_GE(file.size(), head.size());
    EXPECT_EQ(std::string(file.begin(), file.begin() + head.size()), head);
    const auto records = ScanTrackRecords(file);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], 0u);
    EXPECT_GE(records[1], static_cast<std::size_t>(kRecordSpacing));

    // The coded text behind the first record line: 16 rows of 16 values, then "Eoi".
    std::size_t pos = 0;
    while (file[pos] != '\n') ++pos;
    ++pos;
    std::string decoded;
    for (std::uint8_t t = 1; pos < records[1]; ++pos, ++t) {
        decoded += static_cast<char>(file[pos] - key - t - 1);
    }
    std::string expected = "6,0,0,80009,0,0,0,0,0,0,0,0,0,0,0,0,\r\n";
    expected += Rows(6, kEmptyRow);
    expected += "-6,0,0,-9,0,0,0,0,0,0,0,0,0,0,0,0,\r\n";
    expected += "10,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,\r\n";
    expected += Rows(6, kEmptyRow);
    expected += "-10,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,\r\nEoi\r\n";
    EXPECT_EQ(decoded, expected);
}

TEST(StyleFile, CompileDecodeCompileGivesTheSameBytes) {
    for (int version : {5, 12, 25, 30, 31, 99}) {
        SCOPED_TRACE(version);
        Style style = Sample();
        style.version = version;
        // Stretch every mode to the steps per measure of the version.
        const int steps = LinesPerMeasure(style.timeSignature, version);
        for (Track& track : style.tracks) {
            for (Mode& mode : track.modes) mode.rows.resize(steps);
        }
        const Bytes first = Compile(style);
        const auto decoded = ReadStyleFile(first, style.code, version);
        ASSERT_TRUE(decoded.ok()) << decoded.problem.Text();
        EXPECT_EQ(*decoded.value, style);
        EXPECT_EQ(Compile(*decoded.value), first);
    }
}

TEST(StyleFile, AFullSixteenModeStyleKeepsItsLinesShort) {
    Style style = Sample();
    style.version = 31;
    style.header = "Full: 4/4 Sixteen modes";
    style.timeSignature = TimeSignature::k4_4;
    for (Track& track : style.tracks) {
        track.modes.resize(kMaxModes);
        for (int m = 0; m < kMaxModes; ++m) {
            Mode& mode = track.modes[m];
            mode.index = m;
            mode.number = m;
            mode.slope = m == 0 ? 0 : -m;
            mode.rows.assign(kMaxRowsPerMode, {});
            const char* widest = track.channel == kDrumChannel ? "81v999@31:99" : "999v999@31:99";
            for (StepRow& row : mode.rows) {
                for (Cell& cell : row) cell = *ParseCell(widest);
            }
        }
    }
    // The widest rows still fit the loader's line buffer: a longer line would be cut in two
    // and the decoding, which reads lines the same way, would no longer match.
    const Bytes file = Compile(style);
    const auto decoded = ReadStyleFile(file, style.code, style.version);
    ASSERT_TRUE(decoded.ok()) << decoded.problem.Text();
    EXPECT_EQ(*decoded.value, style);
}

TEST(StyleFile, DecoderRefusesWhatTheLoaderRefuses) {
    const std::uint8_t key = formats::StyleKeyForVersion(5);
    const std::string rows = Rows(16, kEmptyRow);
    const struct {
        const char* what;
        Bytes file;
        const char* error;
    } cases[] = {
        {"no end mark", Block(kDrumRecord, rows, key),
         "Error reading Style data from Demo05.sty, Channel 9"},
        {"a row short", Block(kDrumRecord, Rows(15, kEmptyRow) + "Eoi\r\n", key),
         "Error in Style Data (Demo05.sty), Channel 9, Mode 0, LinesTest = 15.\nThe Style "
         "cannot be used for 2/4 song"},
        {"mode number 16", Block(kDrumRecord, rows + "\r\n16,0,\r\n" + rows + "Eoi\r\n", key),
         "Mode 1, ModNo=16"},
        {"sustain digit 4",
         Block("Mtrk,9,0,0,100,64,0,0,100,64,0,400,\"Demo: 2/4 Demo\"\r\n", rows + "Eoi\r\n", key),
         "Error in style data Demo05.sty, Channel 9: invalid pUseSust value (=2)"},
        {"channel line short",
         Block("Mtrk,9,0,0,100,64,0,0,100,64,0,x,\"Demo: 2/4 Demo\"\r\n", rows + "Eoi\r\n", key),
         "Error reading Style data from Demo05.sty, Channel 9"},
        {"unbalanced cells",
         Block(kDrumRecord,
               "36,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,\r\n" + Rows(15, kEmptyRow) + "Eoi\r\n", key),
         "leaves notes sounding"},
        {"wrong key", Block(kDrumRecord, rows + "Eoi\r\n", formats::kStyleKeyFrom31),
         "Error reading Style data from Demo05.sty, Channel 9"},
        {"header without time signature",
         Block("Mtrk,9,0,0,100,64,0,0,100,64,0,0,\"Demo: Demo\"\r\n", rows + "Eoi\r\n", key),
         "Style data error in Demo05.sty: Invalid timesignature."},
        {"not a style", Bytes{'M', 'T', 'h', 'd', 0, 0}, "does not begin with \"Mtrk,\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = ReadStyleFile(c.file, "Demo", 5);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.problem.message.find(c.error), std::string::npos)
            << result.problem.message;
    }
}

TEST(StyleFile, DecodesTheModeCodeDigits) {
    const std::uint8_t key = formats::StyleKeyForVersion(5);
    const struct {
        int code;
        int sustain, styleFlag1, registerRule, registerTight, playMode;
    } cases[] = {
        {250, 0, 1, 0, 1, 0},  // StyleFlag1 with pUseSust 0; tens 5: rule 0 with its flag
        {172, 1, 0, 2, 1, 2},
        {313, 1, 1, 1, 0, 3},
        {0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const std::string record =
            "Mtrk,1,0,0,100,64,0,0,100,64,0," + std::to_string(c.code) + ",\"Demo: 2/4 Demo\"\r\n";
        const auto result =
            ReadStyleFile(Block(record, Rows(16, kEmptyRow) + "Eoi\r\n", key), "Demo", 5);
        ASSERT_TRUE(result.ok()) << result.problem.message;
        const Track& track = result.value->tracks[0];
        EXPECT_EQ(track.sustain, c.sustain);
        EXPECT_EQ(track.styleFlag1, c.styleFlag1);
        EXPECT_EQ(track.registerRule, c.registerRule);
        EXPECT_EQ(track.registerTight, c.registerTight);
        EXPECT_EQ(track.playMode, c.playMode);
        EXPECT_EQ(track.ModeCode(), c.code);
    }
}

TEST(StyleFile, DecoderRefusesRecordsTheFrontEndWouldMiss) {
    // Two blocks closer than the record spacing: the composer reads both, the front end's
    // search resumes behind the second record and never sees it.
    const std::uint8_t key = formats::StyleKeyForVersion(5);
    const std::string rows = Rows(16, "6,0,0,0,0,0,0,0,0,0,0,0,0,0,0,-6,\r\n");
    Bytes file =
        Block("Mtrk,1,0,0,100,64,0,0,100,64,0,0,\"Demo: 2/4 Demo\"\r\n", rows + "Eoi\r\n", key);
    ASSERT_LT(file.size(), static_cast<std::size_t>(kRecordSpacing));
    const Bytes drums = Block(kDrumRecord, Rows(16, kEmptyRow) + "Eoi\r\n", key);
    file.insert(file.end(), drums.begin(), drums.end());
    const auto result = ReadStyleFile(file, "Demo", 5);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.problem.message.find("front end"), std::string::npos)
        << result.problem.message;
}

TEST(StyleFile, DecoderRefusesABlockBehindTheDrumBlock) {
    // The composer stops at the drum block; the front end would still give the next record a
    // part of its own.
    const std::uint8_t key = formats::StyleKeyForVersion(5);
    const std::string padded =
        kDrumRecord.substr(0, kDrumRecord.size() - 2) + std::string(200, ' ') + "\r\n";
    Bytes file = Block(padded, Rows(16, kEmptyRow) + "Eoi\r\n", key);
    ASSERT_TRUE(ReadStyleFile(file, "Demo", 5).ok());
    ASSERT_GE(file.size(), static_cast<std::size_t>(kRecordSpacing));
    const Bytes more = Block("Mtrk,1,0,0,100,64,0,0,100,64,0,0,\"Late\"\r\n",
                             Rows(16, kEmptyRow) + "Eoi\r\n", key);
    file.insert(file.end(), more.begin(), more.end());
    const auto result = ReadStyleFile(file, "Demo", 5);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.problem.message.find("front end"), std::string::npos);
}

TEST(StyleFile, RecordScanFollowsTheFrontEnd) {
    const auto Scan = [](const std::string& text) {
        return ScanTrackRecords(Bytes(text.begin(), text.end()));
    };
    // The window moves on to the next "M" it holds.
    EXPECT_EQ(Scan("xxMtrk,"), (std::vector<std::size_t>{2}));
    EXPECT_EQ(Scan("MMMtrk,"), (std::vector<std::size_t>{2}));
    EXPECT_EQ(Scan("Mtrk"), (std::vector<std::size_t>{}));
    // A second record 500 bytes on is not seen; one 768 bytes on is.
    std::string text = "Mtrk," + std::string(495, ' ') + "Mtrk," + std::string(300, ' ');
    EXPECT_EQ(Scan(text), (std::vector<std::size_t>{0}));
    text = "Mtrk," + std::string(763, ' ') + "Mtrk,";
    EXPECT_EQ(Scan(text), (std::vector<std::size_t>{0, 768}));
}

TEST(StyleFile, DecodesAStyleWithoutTheRecordTag) {
    // The composer also reads a channel line without the tag; the front end needs it, so the
    // decoder only accepts files that begin with it.
    const std::uint8_t key = formats::StyleKeyForVersion(5);
    const Bytes file = Block("9,0,0,100,64,0,0,100,64,0,0,\"Demo: 2/4 Demo\"\r\n",
                             Rows(16, kEmptyRow) + "Eoi\r\n", key);
    EXPECT_FALSE(ReadStyleFile(file, "Demo", 5).ok());
}

}  // namespace
}  // namespace formats
