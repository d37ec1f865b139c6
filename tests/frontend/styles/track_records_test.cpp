#include "frontend/styles/track_records.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/frontend/styles/crafted_style.h"
#include "tests/frontend/support/program_files.h"
#include "tests/support/program_folder.h"

namespace corvane::styles {
namespace {

using testing::Bytes;
using testing::Fields;
using testing::PadTo;
using testing::RecordLine;
using testing::StyleOf;

SlotStyleRead Read(const std::string& file, int slot = 1) {
    return ReadSlotStyle(Bytes(file), slot);
}

Fields Melodic(int channel, int noteBase = 0, int pan = 64) {
    Fields f;
    f.channel = channel;
    f.noteBase = noteBase;
    f.pan = pan;
    return f;
}

Fields Drums(int modeCode) {
    Fields f;
    f.channel = 9;
    f.noteBase = 5;
    f.pan = 70;
    f.modeCode = modeCode;
    return f;
}

void ExpectDefaults(const PartStyle& part, int index) {
    SCOPED_TRACE("part " + std::to_string(index));
    EXPECT_EQ(part.channel, index == 4 ? 9 : 1);
    EXPECT_EQ(part.noteBase, 0);
    EXPECT_EQ(part.pan, 64);
    EXPECT_EQ(part.mode, 0);
    EXPECT_EQ(part.sustain, 0);
}

TEST(TrackRecordScanTest, FindsRecordsByTheirWindowAndSkipsWhatIsTooClose) {
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::size_t> found;
    };
    const std::string record = RecordLine(Fields{});
    const Case cases[] = {
        {"one record at the start", record, {0}},
        {"two bytes before the M: the window moves on to it", "xxMtrk," + record.substr(5), {2}},
        {"an M that is no record, then one", "M.Mxx" + record, {5}},
        {"M at the end of a window", "abcdM" + record.substr(1), {4}},
        {"a second record 500 bytes on is not seen",
         PadTo(record, 500) + PadTo(record, 268) + record,
         {0, 768}},
        {"records exactly 768 bytes apart", StyleOf({Fields{}, Fields{}}), {0, 768}},
        {"lower-case tag is no record", "mtrk,1,2", {}},
        {"tag cut by the end of the file", "..Mtrk", {}},
        {"no record at all", std::string(2000, '.'), {}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ScanTrackRecords(Bytes(c.file)), c.found);
    }
}

TEST(TrackRecordReadTest, ListInputRules) {
    struct Case {
        const char* what;
        std::string line;
        bool ok;
        int channel;
        int modeCode;
        std::string text;
    };
    const Case cases[] = {
        {"plain record", "Mtrk,1,-12,33,104,0,8,33,104,64,8,102,\"Bass\"\r\n", true, 1, 102,
         "Bass"},
        {"blanks before values", "Mtrk, 3,  -12 ,33,104,0,8,33,104,64,8, 7 ,\"x\"\r\n", true, 3, 7,
         "x"},
        {"a quoted text keeps its commas",
         "Mtrk,2,0,33,104,0,8,33,104,64,8,1,\"Pop, Rock, Funk\",junk\r\n", true, 2, 1,
         "Pop, Rock, Funk"},
        {"an unquoted text ends at the comma", "Mtrk,2,0,33,104,0,8,33,104,64,8,1,Bass,x\r\n", true,
         2, 1, "Bass"},
        {"only 40 characters of the text are kept",
         "Mtrk,2,0,33,104,0,8,33,104,64,8,1,\"" + std::string(50, 'a') + "\"\r\n", true, 2, 1,
         std::string(40, 'a')},
        {"values go on after a line end", "Mtrk,4,0,33,104,0,8,33\r\n104,64,8,3,\"t\"\r\n", true, 4,
         3, "t"},
        {"an empty value reads as 0", "Mtrk,,0,33,104,0,8,33,104,64,8,3,\"t\"\r\n", true, 0, 3,
         "t"},
        {"a value that is not a number", "Mtrk,1,-12,abc,104,0,8,33,104,64,8,3,\"t\"\r\n", false, 0,
         0, ""},
        {"digits followed by letters", "Mtrk,1,12x,33,104,0,8,33,104,64,8,3,\"t\"\r\n", false, 0, 0,
         ""},
        {"beyond 16 bits", "Mtrk,1,40000,33,104,0,8,33,104,64,8,3,\"t\"\r\n", false, 0, 0, ""},
        {"the file ends before the 13th value", "Mtrk,1,0,33,104,0,8", false, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrackRecord record;
        ASSERT_EQ(ReadTrackRecord(Bytes(c.line), 0, record), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(record.tag, "Mtrk");
        EXPECT_EQ(record.number[2], c.channel);
        EXPECT_EQ(record.number[12], c.modeCode);
        EXPECT_EQ(record.text, c.text);
    }
}

TEST(SlotStyleReadTest, SustainRuleAndModeDigit) {
    struct Case {
        int modeCode;
        int sustainA;
        int sustainB;
        int mode;
        int sustain;
    };
    const Case cases[] = {
        {100, 64, 8, 0, 1},   // mode digit 0, field 12 over 99, field 7 over 63
        {100, 8, 64, 0, 1},   // ... field 11 over 63
        {100, 63, 63, 0, 0},  // neither level over 63
        {99, 64, 64, 9, 0},   // field 12 not over 99
        {10, 64, 64, 0, 0},   // mode digit 0 but no sustain mark
        {101, 64, 64, 1, 0},  // mode 1 never sustains
        {123, 8, 8, 3, 0},    // units digit
        {-12, 8, 8, -2, 0},   // the digit keeps the field's sign
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("field 12 = " + std::to_string(c.modeCode));
        Fields f;
        f.modeCode = c.modeCode;
        f.sustainA = c.sustainA;
        f.sustainB = c.sustainB;
        const SlotStyleRead read = Read(StyleOf({f}));
        EXPECT_EQ(read.parts[0].mode, c.mode);
        EXPECT_EQ(read.parts[0].sustain, c.sustain);
    }
}

TEST(SlotStyleReadTest, RecordsFillPartsInOrderAndTheDrumRecordPartFour) {
    const std::vector<Fields> five = {Melodic(1, -36, 20), Melodic(2, -12), Melodic(3), Melodic(4),
                                      Melodic(5, 7, 99)};
    const SlotStyleRead read =
        Read(StyleOf({five[0], five[1], five[2], five[3], five[4], Drums(21)}));
    EXPECT_FALSE(read.failed);
    EXPECT_EQ(read.recordsRead, 6);
    for (int p = 0; p < 4; ++p) EXPECT_EQ(read.parts[p].channel, p + 1);
    EXPECT_EQ(read.parts[0].noteBase, -36);
    EXPECT_EQ(read.parts[0].pan, 20);
    EXPECT_EQ(read.parts[1].noteBase, -12);
    // The drum record after the fifth melodic one takes part 4 back.
    EXPECT_EQ(read.parts[4].channel, 9);
    EXPECT_EQ(read.parts[4].noteBase, 5);
    EXPECT_EQ(read.parts[4].pan, 70);
    EXPECT_EQ(read.parts[4].mode, 1);

    // Six melodic records: the fifth and the sixth both land in part 4, the last one stays.
    const SlotStyleRead six =
        Read(StyleOf({Melodic(1), Melodic(2), Melodic(3), Melodic(4), Melodic(5), Melodic(6)}));
    EXPECT_EQ(six.parts[4].channel, 6);
    EXPECT_EQ(six.parts[3].channel, 4);
}

TEST(SlotStyleReadTest, TheDrumRecordPlaysModeOneInTheFirstSlotOnly) {
    struct Case {
        int slot;
        int modeCode;
        int mode;
    };
    const Case cases[] = {{0, 10, 1}, {0, 22, 1}, {1, 22, 2}, {1, 10, 0}, {4, 103, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE("slot " + std::to_string(c.slot) +
                     ", field 12 = " + std::to_string(c.modeCode));
        Fields drums = Drums(c.modeCode);
        drums.sustainA = 100;  // the drum part never sustains
        const SlotStyleRead read = Read(StyleOf({drums}), c.slot);
        EXPECT_EQ(read.parts[4].mode, c.mode);
        EXPECT_EQ(read.parts[4].sustain, 0);
        EXPECT_EQ(read.parts[4].channel, 9);
        ExpectDefaults(read.parts[0], 0);
    }
}

TEST(SlotStyleReadTest, AFileWithoutRecordsKeepsTheDefaults) {
    const SlotStyleRead read = Read("Eoi\r\n" + std::string(3000, '.'));
    EXPECT_FALSE(read.failed);
    EXPECT_EQ(read.recordsRead, 0);
    for (int p = 0; p < 5; ++p) ExpectDefaults(read.parts[p], p);
}

TEST(SlotStyleReadTest, ADamagedRecordStopsTheReadAndKeepsWhatWasFilled) {
    Fields damaged = Melodic(3);
    damaged.text = "\"t\"";
    std::string bad = RecordLine(damaged);
    bad.replace(bad.find(",33,"), 4, ",3x,");
    const std::string file =
        StyleOf({Melodic(2, -24)}) + PadTo(bad, 768) + StyleOf({Melodic(4), Drums(10)});
    const SlotStyleRead read = Read(file);
    EXPECT_TRUE(read.failed);
    EXPECT_EQ(read.recordsRead, 1);
    EXPECT_EQ(read.parts[0].channel, 2);
    EXPECT_EQ(read.parts[0].noteBase, -24);
    for (int p = 1; p < 5; ++p) ExpectDefaults(read.parts[p], p);
}

TEST(SlotStyleReadTest, EveryShippedStyleReadsFourMelodicPartsAndDrums) {
    for (const std::string& name : corvane::testing::LibraryStyleFiles()) {
        SCOPED_TRACE(name);
        std::ifstream in(testsupport::BinDir() / name, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        const SlotStyleRead read = ReadSlotStyle(bytes, 1);
        EXPECT_FALSE(read.failed);
        EXPECT_GE(read.recordsRead, 5);
        EXPECT_EQ(read.parts[4].channel, 9);
        for (int p = 0; p < 4; ++p) EXPECT_NE(read.parts[p].channel, 9);
    }
}

}  // namespace
}  // namespace corvane::styles
