#include "workers/composer/compose_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace composer {
namespace {

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> fields;
    SplitComposeArgs(line, fields);
    return fields;
}

const std::string kStyles = " Abcd12.sty Abcd12.sty Abcd12.sty Abcd12.sty Abcd12.sty ";

TEST(SplitComposeArgs, CountsFieldsAndRefusesLeadingBlank) {
    struct Case {
        std::string line;
        int result;
    };
    const Case cases[] = {
        {"4 5 6 1" + kStyles + "49 89 53 1704 1 0 0 1 2426", 19},
        {"4 5 6 1" + kStyles + "49 89 53 1704 1 0 0 1", 18},
        {"4 5 6 1" + kStyles + "49 89 53 1704 1 0 0 1 2426 7", 20},
        {"4 5  6 1" + kStyles + "49 89 53 1704 1 0 0 1 2426", 20},  // two blanks: an empty field
        {" 4 5 6 1" + kStyles + "49 89 53 1704 1 0 0 1 2426", 0},
        {"", 0},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23", 23},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> fields;
        EXPECT_EQ(SplitComposeArgs(c.line, fields), c.result);
    }
}

TEST(DecodeComposeArgs, DecodesOptionTokens) {
    struct Case {
        std::string echo1, echo2, hold, echoProgram1;
        int level1, level2, release, holdMode, program1;
    };
    const Case cases[] = {
        {"0", "5", "1", "52", 1, 65, 75, 1, 52},      {"0", "0", "0", "0", 0, 0, 30, 0, 0},
        {"12", "9", "2", "127", 65, 117, 90, 2, 127}, {"3", "x", "3", "128", 39, 1, 80, 1, 52},
        {"9", "1", "-1", "-1", 117, 13, 80, 1, 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.echo1 + " " + c.echo2 + " " + c.hold + " " + c.echoProgram1);
        const auto options =
            DecodeComposeArgs(Tokens("4 " + c.echo1 + " " + c.echo2 + " " + c.hold + kStyles +
                                     c.echoProgram1 + " 89 53 1704 1 0 0 1 2426"));
        EXPECT_EQ(options.echoLevel1, c.level1);
        EXPECT_EQ(options.echoLevel2, c.level2);
        EXPECT_EQ(options.headRelease, c.release);
        EXPECT_EQ(options.holdMode, c.holdMode);
        EXPECT_EQ(options.echoProgram1, c.program1);
    }
}

TEST(DecodeComposeArgs, ReadsKeyHandleAndVersion) {
    const auto options =
        DecodeComposeArgs(Tokens("4 5 6 1" + kStyles + "49 89 53 1704 1 0 0 1 2426"));
    EXPECT_EQ(options.chordDataKey, 53);
    EXPECT_EQ(options.callerWindow, 1704u);
    EXPECT_EQ(options.autoOctave, 1);
    EXPECT_EQ(options.version, 2426);
    EXPECT_EQ(options.echoProgram2, 89);
    EXPECT_EQ(options.styleNames[4], "Abcd12.sty");
}

TEST(SlotSettingsFromName, VersionCodeAndResolution) {
    struct Case {
        std::string name;
        int version;
        std::string code;
        int steps;
        int maxOffset;
        int late, isNew;
    };
    const Case cases[] = {
        {"abc.st", 1, "xxxx", 8, 47, 0, 0},       {"Abcd12.sty", 12, "Abcd", 12, 31, 0, 0},
        {"Abcd09.sty", 9, "Abcd", 8, 47, 0, 0},   {"Wxyz30.sty", 30, "Wxyz", 12, 31, 1, 0},
        {"Wxyz31.sty", 31, "Wxyz", 12, 31, 1, 1}, {"ab12.sty", 12, "xxxx", 12, 31, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SlotSettings s = SlotSettingsFromName(c.name);
        EXPECT_EQ(s.styleVersion, c.version);
        EXPECT_EQ(s.styleCode, c.code);
        EXPECT_EQ(s.stepsPerQuarter, c.steps);
        EXPECT_EQ(s.lines44, 4 * c.steps);
        EXPECT_EQ(s.lines34, 3 * c.steps);
        EXPECT_EQ(s.lines24, 2 * c.steps);
        EXPECT_EQ(s.maxTickOffset, c.maxOffset);
        EXPECT_EQ(s.flagLate, c.late);
        EXPECT_EQ(s.flagNew, c.isNew);
    }
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(ParseVPara, ReadsSlotsAndSplitsModes) {
    const std::string text =
        "080,001,025,000,033,049,100,090,000,085,085,000,010,000,002,013\n"
        "050,000,000,000,000,000,000,000,000,000,000,003,003,003,003,003\n"
        "100,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000\n";
    std::array<SlotParams, kSlotCount> slots;
    ASSERT_TRUE(ParseVPara(Bytes(text), slots));
    EXPECT_EQ(slots[0].sectVol, 80);
    EXPECT_EQ(slots[0].partProgram[0], 1);
    EXPECT_EQ(slots[0].partVol[1], 90);
    EXPECT_EQ(slots[0].channelMode[1], 0);
    EXPECT_EQ(slots[0].partModeTens[1], 1);
    EXPECT_EQ(slots[0].channelMode[4], 3);
    EXPECT_EQ(slots[0].partModeTens[4], 1);
    EXPECT_EQ(slots[1].channelMode[0], 3);
    // Slots 4 and 5 are not in the file: all zero, the style's own values stay.
    EXPECT_EQ(slots[3].sectVol, 0);
    EXPECT_EQ(slots[4].channelMode[2], 0);
}

TEST(ParseVPara, RefusesLineWithFifteenValuesAndIgnoresUnendedLastLine) {
    std::array<SlotParams, kSlotCount> slots;
    const std::string fifteen = "080,001,025,000,033,049,100,090,000,085,085,000,010,000,002\n";
    const std::string unended = "080,001,025,000,033,049,100,090,000,085,085,000,010,000,002,003";
    EXPECT_FALSE(ParseVPara(Bytes(fifteen), slots));
    EXPECT_TRUE(ParseVPara(Bytes(unended), slots));
    EXPECT_EQ(slots[0].sectVol, 0);
}

TEST(TextLines, SplitsLongLinesLikeAFixedBuffer) {
    const std::string text = "abcdef\nxy\n";
    TextLines lines(Bytes(text));
    std::string line;
    ASSERT_TRUE(lines.Next(4, line));
    EXPECT_EQ(line, "abcd");
    ASSERT_TRUE(lines.Next(4, line));
    EXPECT_EQ(line, "ef\n");
    ASSERT_TRUE(lines.Next(4, line));
    EXPECT_EQ(line, "xy\n");
    EXPECT_FALSE(lines.Next(4, line));

    // A line feed that just fits stays with its line; a last line may lack one.
    const std::string unended = "abc\nxyz";
    TextLines fitting(Bytes(unended));
    ASSERT_TRUE(fitting.Next(4, line));
    EXPECT_EQ(line, "abc\n");
    ASSERT_TRUE(fitting.Next(4, line));
    EXPECT_EQ(line, "xyz");
    EXPECT_FALSE(fitting.Next(4, line));
}

}  // namespace
}  // namespace composer
