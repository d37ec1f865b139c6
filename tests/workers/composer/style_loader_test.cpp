#include "workers/composer/style_loader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/style_keys.h"
#include "style_fixture.h"

namespace composer {
namespace {

using composertest::EncodeBlock;
using composertest::EncodeStyle;
using composertest::FixtureTrack;
using composertest::UniformTrack;

TEST(SplitStyleValue, WholeValueOctaveCodeAndExtra) {
    struct Case {
        double value;
        std::int64_t whole;
        std::int64_t test;
        int extra;
    };
    const Case cases[] = {
        {3.1, 15, 15, 0},       {-3.1, -15, -15, 0},  {12345678, 123456, 456, 78},
        {0, 0, 0, 0},           {6.05, 6, 6, 0},      {6.5, 66, 66, 0},
        {6.97, 6, 6, 0},        {-10.2, -34, -34, 0}, {2001096.3, 20010 + 36, 46, 96},
        {1999.0, 1999, 999, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::int64_t test = 0;
        std::int16_t extra = 0;
        EXPECT_EQ(SplitStyleValue(c.value, test, extra), c.whole);
        EXPECT_EQ(test, c.test);
        EXPECT_EQ(extra, c.extra);
    }
}

struct Loaded {
    StyleSlot slot;
    MessageLog log;
    bool aborted = false;
};

StyleLoadContext Context(int version, int lines, const std::string& ts = "4/4") {
    StyleLoadContext c;
    c.fileName = "Abcd" + std::to_string(version) + ".sty";
    c.slot = 2;
    c.settings = SlotSettingsFromName(c.fileName);
    c.linesPerMeasure = lines;
    c.timeSigName = ts;
    return c;
}

void Load(const std::vector<std::uint8_t>& bytes, const StyleLoadContext& c, Loaded& out) {
    try {
        LoadStyleBytes(bytes, c, out.log, out.slot);
    } catch (const worker::WorkerFatal&) {
        out.aborted = true;
    }
}

TEST(LoadStyleBytes, FillsTracksUntilTheDrumBlock) {
    FixtureTrack first = UniformTrack(1, 2, {{0, "6"}, {3, "-6"}});
    first.partStyleValue = -12;
    first.program = 33;
    first.velHs = {0, 7};
    FixtureTrack drums = UniformTrack(9, 2, {{0, "36"}, {1, "-36"}});
    FixtureTrack after = UniformTrack(2, 2, {{0, "6"}, {3, "-6"}});
    const auto bytes = EncodeStyle({first, drums, after}, 32, formats::StyleKeyForVersion(12));
    Loaded l;
    Load(bytes, Context(12, 32), l);
    ASSERT_FALSE(l.aborted) << l.log.text();
    EXPECT_EQ(l.slot.tracks[0].program, 33);
    EXPECT_EQ(l.slot.tracks[0].partStyleValue, -12);
    EXPECT_EQ(l.slot.tracks[0].cells->Row(1, 0)[0].whole, 6);
    EXPECT_EQ(l.slot.tracks[0].cells->Row(1, 3)[0].whole, -6);
    EXPECT_EQ(l.slot.tracks[0].velHs[1], 7);
    EXPECT_EQ(l.slot.tracks[0].velHs[0], 0);  // old styles: entry 0 takes entry 8
    EXPECT_EQ(l.slot.tracks[4].cells->Row(0, 0)[0].whole, 36);
    EXPECT_EQ(l.slot.channel[4], 9);
    EXPECT_EQ(l.slot.tracks[1].cells, nullptr);  // the block after the drums is not read
}

TEST(LoadStyleBytes, ChannelLineValueElevenAndModeDependentProgram) {
    FixtureTrack t = UniformTrack(1, 1, {{0, "6"}, {1, "-6"}});
    t.value11 = 250;
    t.program = 11;
    t.program2 = 22;
    t.volume2 = 77;
    StyleLoadContext c = Context(12, 32);
    c.params.channelMode[0] = 2;
    Loaded l;
    Load(EncodeStyle({t}, 32, formats::StyleKeyForVersion(12)), c, l);
    ASSERT_FALSE(l.aborted) << l.log.text();
    EXPECT_EQ(l.slot.tracks[0].styleFlag1, 1);
    EXPECT_EQ(l.slot.tracks[0].pUseSust, 0);
    EXPECT_EQ(l.slot.partTensValue[0], 0);
    EXPECT_EQ(l.slot.partTensFlag[0], 1);
    EXPECT_EQ(l.slot.tracks[0].program, 22);
    EXPECT_EQ(l.slot.tracks[0].volume, 77);

    c.params.partProgram[0] = 5;
    c.params.partVol[0] = 99;
    Loaded overridden;
    Load(EncodeStyle({t}, 32, formats::StyleKeyForVersion(12)), c, overridden);
    EXPECT_EQ(overridden.slot.tracks[0].program, 4);
    EXPECT_EQ(overridden.slot.tracks[0].volume, 99);
}

TEST(LoadStyleBytes, RefusesMalformedStylesWithTheirMessages) {
    const std::uint8_t key12 = formats::StyleKeyForVersion(12);
    const std::uint8_t key30 = formats::StyleKeyForVersion(30);
    FixtureTrack good = UniformTrack(1, 2, {{0, "6"}, {5, "-6"}});
    auto with = [&](auto change) {
        FixtureTrack t = good;
        change(t);
        return EncodeStyle({t}, 32, key12);
    };
    std::string rows31;
    for (int i = 0; i < 31; ++i) rows31 += "0,\r\n";
    std::string rows49;
    for (int i = 0; i < 49; ++i) rows49 += "0,\r\n";
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        int version;
        std::string message;
    };
    const Case cases[] = {
        {"pUseSust 2", with([](FixtureTrack& t) { t.value11 = 400; }), 12,
         "Error in style data Abcd12.sty, Channel 1: invalid pUseSust value (=2)"},
        {"31 rows in 4/4", EncodeBlock(composertest::ChannelLine(good), rows31 + "Eoi", key12), 12,
         "Error in Style Data 2 (Abcd12.sty), Channel 1, Mode 0, LinesTest = 31.\nThe Style cannot "
         "be used for 4/4 song"},
        {"49 rows", EncodeBlock(composertest::ChannelLine(good), rows49 + "Eoi", key12), 12,
         "Error: Out of pStTab[] buffer. Style data Abcd12.sty, Channel 1, Mode 0, LinesTest = 49"},
        {"unbalanced mode", with([](FixtureTrack& t) { t.modes[1][5] = "0"; }), 12,
         "Error 1 in Style data Abcd12.sty, Channel 1, Mode 1, TestSum = 6"},
        {"mode number 16",
         EncodeBlock(composertest::ChannelLine(good),
                     composertest::BlockText(good, 32).replace(
                         composertest::BlockText(good, 32).find("1,0,"), 4, "16,3,"),
                     key12),
         12, "Error in Style data Abcd12.sty, Channel 1, Mode 1, ModNo=16, VelHs=3"},
        {"row that does not scan", with([](FixtureTrack& t) { t.modes[0][7] = "x"; }), 12,
         "Error reading Style data from Abcd12.sty, Channel 1"},
        {"channel line that does not scan: the channel it names",
         EncodeBlock("Mtrk,9,2,3", composertest::BlockText(good, 32), key12), 12,
         "Error reading Style data from Abcd12.sty, Channel 9"},
        {"channel line without a number: the block's channel",
         EncodeBlock("Mtrk,x,2,3", composertest::BlockText(good, 32), key12), 12,
         "Error reading Style data from Abcd12.sty, Channel 1"},
        {"ends before Eoi",
         EncodeBlock(composertest::ChannelLine(good), "6,\r\n0,\r\n", key12, false), 12,
         "Error reading Style data from Abcd12.sty, Channel 1"},
        {"wrong key", EncodeStyle({good}, 32, key30), 12,
         "Error reading Style data from Abcd12.sty, Channel 1"},
    };
    // A slot that no section plays is checked all the same.
    for (const bool kept : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (kept ? "" : ", slot not played"));
            StyleLoadContext context = Context(c.version, 32);
            context.keepCells = kept;
            Loaded l;
            Load(c.bytes, context, l);
            EXPECT_TRUE(l.aborted);
            EXPECT_EQ(l.log.text(), c.message);
        }
    }
}

// Rows of sixteen empty cells (most rows of a style) are passed over by their text; whatever
// the row holds after its sixteenth cell is ignored, as in any other row. A slot that no
// section plays keeps its track values but no table of cells.
TEST(LoadStyleBytes, EmptyRowsAndSlotsNobodyPlays) {
    const std::string zeros = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
    FixtureTrack t = UniformTrack(1, 2, {{0, "6,10"}, {5, "-6,-10"}});
    t.modes[0][1] = zeros;
    t.modes[0][2] = zeros + ",7";
    t.modes[1][2] = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,7";
    t.modes[1][3] = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,-7";
    t.program = 12;
    const auto bytes = EncodeStyle({t}, 32, formats::StyleKeyForVersion(12));
    Loaded played;
    Load(bytes, Context(12, 32), played);
    ASSERT_FALSE(played.aborted) << played.log.text();
    const StyleCells& cells = *played.slot.tracks[0].cells;
    for (int row : {1, 2}) {
        for (const StyleCell& cell : cells.Row(0, row)) EXPECT_EQ(cell.whole, 0);
    }
    EXPECT_EQ(cells.Row(1, 2)[15].whole, 7);
    EXPECT_EQ(cells.Row(1, 3)[15].whole, -7);
    EXPECT_EQ(cells.Row(1, 5)[1].whole, -10);

    StyleLoadContext notPlayed = Context(12, 32);
    notPlayed.keepCells = false;
    Loaded unkept;
    Load(bytes, notPlayed, unkept);
    ASSERT_FALSE(unkept.aborted) << unkept.log.text();
    EXPECT_EQ(unkept.slot.tracks[0].cells, nullptr);
    EXPECT_EQ(unkept.slot.tracks[0].program, 12);
    EXPECT_EQ(unkept.slot.channel[0], 1);
}

TEST(LoadStyleBytes, BoundsBaseNoteAndSlopesFarOutsideMidi) {
    FixtureTrack t = UniformTrack(1, 2, {{0, "6"}, {1, "-6"}});
    t.partStyleValue = 2000000000;
    t.velHs = {0, -2000000000};
    Loaded l;
    Load(EncodeStyle({t}, 32, formats::StyleKeyForVersion(12)), Context(12, 32), l);
    ASSERT_FALSE(l.aborted) << l.log.text();
    EXPECT_EQ(l.slot.tracks[0].partStyleValue, 10000);
    EXPECT_EQ(l.slot.tracks[0].velHs[1], -10000);
}

TEST(LoadStyleBytes, LateStylesSkipTheBalanceTest) {
    FixtureTrack t = UniformTrack(1, 2, {{0, "2001096.3"}});
    Loaded l;
    Load(EncodeStyle({t}, 48, formats::StyleKeyForVersion(31)), Context(31, 48), l);
    ASSERT_FALSE(l.aborted) << l.log.text();
    EXPECT_EQ(l.slot.tracks[0].cells->Row(1, 0)[0].extra, 96);
    EXPECT_EQ(l.slot.tracks[0].cells->Row(1, 0)[0].whole, 20046);
}

TEST(LoadStyleBytes, NewStylesKeepVelocitySlopeByPosition) {
    FixtureTrack t = UniformTrack(1, 3, {{0, "6"}, {1, "-6"}});
    std::string text = composertest::BlockText(t, 48);
    text.replace(text.find("2,0,"), 4, "9,5,");  // mode 2 claims number 9
    Loaded l;
    Load(EncodeBlock(composertest::ChannelLine(t), text, formats::StyleKeyForVersion(31)),
         Context(31, 48), l);
    ASSERT_FALSE(l.aborted) << l.log.text();
    EXPECT_EQ(l.slot.tracks[0].velHs[2], 5);
    EXPECT_EQ(l.slot.tracks[0].velHs[9], 0);
}

}  // namespace
}  // namespace composer
