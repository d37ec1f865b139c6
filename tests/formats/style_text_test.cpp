#include "formats/style_text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/formats/sample_style.h"

namespace formats {
namespace {

using testsupport::kSampleStyle;

TEST(StyleText, ReadsTheSampleIntoTheModel) {
    const auto result = ParseStyleText(kSampleStyle);
    ASSERT_TRUE(result.ok()) << result.problem.Text();
    const Style& style = *result.value;
    EXPECT_EQ(style.FileName(), "Demo05.sty");
    EXPECT_EQ(style.timeSignature, TimeSignature::k2_4);
    ASSERT_EQ(style.tracks.size(), 2u);

    const Track& chord = style.tracks[0];
    EXPECT_EQ(chord.channel, 1);
    EXPECT_EQ(chord.base, -12);
    EXPECT_EQ(chord.chord, (PartSound{4, 101, 30, 20}));
    EXPECT_EQ(chord.pattern, (PartSound{5, 102, 90, 21}));
    EXPECT_EQ(chord.ModeCode(), 172);  // sustain 1, register 2 tight (7), play mode 2
    ASSERT_EQ(chord.modes.size(), 1u);
    ASSERT_EQ(chord.modes[0].rows.size(), 16u);
    EXPECT_EQ(chord.modes[0].rows[0][0].whole, 6);
    EXPECT_EQ(chord.modes[0].rows[8][0].whole, 10);
    EXPECT_EQ(chord.modes[0].rows[0][3].whole, 80009);
    EXPECT_EQ(chord.modes[0].rows[7][3].whole, -9);

    // Mode 1 was skipped over: it is written empty so that mode 2 keeps its place.
    const Track& drums = style.tracks[1];
    ASSERT_EQ(drums.modes.size(), 3u);
    EXPECT_FALSE(drums.modes[1].HasCells());
    EXPECT_EQ(drums.modes[1].number, 1);
    EXPECT_EQ(drums.modes[2].slope, 3);
    EXPECT_EQ(drums.modes[2].rows[0][15].whole, 100042);
}

TEST(StyleText, WritesWhatItReadsBack) {
    const auto first = ParseStyleText(kSampleStyle);
    ASSERT_TRUE(first.ok()) << first.problem.Text();
    const std::string text = FormatStyleText(*first.value);
    const auto second = ParseStyleText(text);
    ASSERT_TRUE(second.ok()) << second.problem.Text() << "\n" << text;
    EXPECT_EQ(*first.value, *second.value);
}

TEST(StyleText, ReadsDescriptionsWithCrLfLineEnds) {
    std::string text;
    for (char c : kSampleStyle) {
        if (c == '\n') text += '\r';
        text += c;
    }
    const auto crlf = ParseStyleText(text);
    const auto lf = ParseStyleText(kSampleStyle);
    ASSERT_TRUE(crlf.ok()) << crlf.problem.Text();
    EXPECT_EQ(*crlf.value, *lf.value);
}

TEST(StyleText, CellTokens) {
    const struct {
        const char* token;
        std::int64_t whole;
        int extra;
    } cases[] = {
        {".", 0, 0},
        {"36", 36, 0},
        {"-36", -36, 0},
        {"9v80", 80009, 0},
        {"3v90@4:6", 4090003, 6},
        {"15@31", 31000015, 0},
        {"36v90:4", 90036, 4},
        {"0", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.token);
        const auto cell = ParseCell(c.token);
        ASSERT_TRUE(cell.has_value());
        EXPECT_EQ(cell->whole, c.whole);
        EXPECT_EQ(cell->extra, c.extra);
        if (std::string(c.token) != "0") {
            EXPECT_EQ(FormatCell(*cell), c.token);
        }
    }
    for (const char* bad : {"v80", "36v", "36@4v9", "1000", "3v1000", "x", "--3", "3:100", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseCell(bad).has_value());
    }
}

// A description made of the sample with one line replaced (or, with an empty `from`, one
// line appended).
std::string SampleWith(const std::string& from, const std::string& to) {
    std::string text(kSampleStyle);
    if (from.empty()) return text + to + "\n";
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(StyleText, RefusesMalformedDescriptionsWithTheirLine) {
    const std::string laneA = "    lane 0: 6 . . . . . . -6 | 10 . . . . . . -10";
    const struct {
        std::string text;
        int line;
        const char* reason;
    } cases[] = {
        {SampleWith("  playmode 2", "  loudness 3"), 13, "unknown statement \"loudness\""},
        {SampleWith("  playmode 2", "  playmode 4"), 13, "playmode must be 0 to 3"},
        {SampleWith("  channel 9\n", "  channel 9\n  playmode 2\n"), 18,
         "the drum track's playmode is 0 or 1"},
        {SampleWith("  register 2 tight", "  register 5"), 12, "register rule must be 0 to 4"},
        {SampleWith("  channel 1", "  channel 16"), 7, "channel must be 0 to 15"},
        {SampleWith("  chord program 4", "  chord program 128"), 9, "program must be 0 to 127"},
        {SampleWith("track\n", "track \"Keys\"\n"), 6, "carries the style header"},
        {SampleWith(laneA, "    lane 0: 6 . . . . . . -6 | 10 . . . . . -10"), 15,
         "the lane has 15 steps; a 2/4 style of version 5 needs 16"},
        {SampleWith(laneA, "    lane 16: 6 . . . . . . -6 | 10 . . . . . . -10"), 15,
         "a lane's column is 0 to 15"},
        {SampleWith(laneA, laneA + "\n" + laneA), 16, "lane 0 is given twice"},
        {SampleWith(laneA, "    lane 0: 6x . . . . . . -6 | 10 . . . . . . -10"), 15,
         "\"6x\" is not a cell"},
        {SampleWith(laneA, "    lane 0: 6 . . . . . . -6 | 10 . . . . . . ."), 14,
         "leaves notes sounding (cell sum 10)"},
        {SampleWith(laneA, "    lane 0: 6@48 . . . . . . -6 | 10 . . . . . . -10"), 15,
         "tick offset 48 is above 47"},
        {SampleWith(laneA, "    lane 0: 6:4 . . . . . . -6 | 10 . . . . . . -10"), 15,
         "a note length needs"},
        {SampleWith("  mode 0\n    lane 0: 36", "  mode 0 slope 2\n    lane 0: 36"), 22,
         "mode 0 has no mode line"},
        {SampleWith("  mode 2 slope 3", "  mode 2 slope 3\n  mode 1"), 25, "comes out of order"},
        {SampleWith("  channel 9\n", "  channel 9\n  base 100\n"), 24,
         "drum note 136 (cell plus base) is outside 1 to 127"},
        {SampleWith("", "track \"Bass\"\n  channel 2\n  mode 0"), 18,
         "the drum track (channel 9) must be the last"},
        {SampleWith("style \"Demo: 2/4 Tiny demo\"", "style \"Demo 2/4 Tiny demo\""), 2,
         "header: No <:> mark found in header."},
        {SampleWith("style \"Demo: 2/4 Tiny demo\"", "style \"Demo:   \""), 2,
         "header: empty header."},
        {SampleWith("style \"Demo: 2/4 Tiny demo\"", "style \"Demo: 2/4x Tiny\""), 2,
         "header: Invalid timesignature."},
        {SampleWith("style \"Demo: 2/4 Tiny demo\"",
                    "style \"123456789012345678901234567890123456789:\""),
         2, "No <:> mark found in header."},
        {SampleWith("style \"Demo: 2/4 Tiny demo\"", "style \"Demo: 2/4 Tiny demo"), 2,
         "no closing"},
        {SampleWith("version 5\n", ""), 5, "style, code and version come before the first track"},
        {SampleWith("code Demo", "code Dem."), 3, "code may hold only"},
        {SampleWith("", "track \"A\"\ntrack \"B\"\ntrack \"C\"\ntrack \"D\""), 29,
         "at most five tracks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        const auto result = ParseStyleText(c.text);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.problem.line, c.line) << result.problem.Text();
        EXPECT_NE(result.problem.message.find(c.reason), std::string::npos)
            << result.problem.Text();
    }
}

TEST(StyleText, LateVersionsNeedNoReleaseInTheMode) {
    // From version 30 on the loader no longer checks that a mode's cells cancel out; a 2/4
    // style of version 30 has 24 steps a measure.
    const std::string late = std::string(R"(style "Late: 2/4 Late"
code Late
version 30
track
  channel 1
  mode 0
    lane 0: 6v90:12 . . . . . . . . . . . | . . . . . . . . . . . .
)");
    const auto result = ParseStyleText(late);
    ASSERT_TRUE(result.ok()) << result.problem.Text();
    EXPECT_EQ(result.value->tracks[0].modes[0].rows[0][0].extra, 12);

    const auto early =
        ParseStyleText(SampleWith("    lane 0: 6 . . . . . . -6 | 10 . . . . . . -10",
                                  "    lane 0: 6 . . . . . . -6 | 10 . . . . . . ."));
    EXPECT_FALSE(early.ok());
}

TEST(StyleText, HeaderScanFollowsTheFrontEnd) {
    const struct {
        const char* header;
        const char* error;  // "" when valid
    } cases[] = {
        {"Pop: 4/4 Easy", ""},
        {"Pop:   4/4", ""},
        {"Pop:4/4", ""},
        {"Pop: 6/8 Waltz", ""},
        {"Pop: 4/4Easy", "Invalid timesignature."},
        {"Pop: 5/4 Odd", "Invalid timesignature."},
        {"Pop:", "empty header."},
        {"Pop 4/4", "No <:> mark found in header."},
        {"123456789012345678901234567890123456789:", "No <:> mark found in header."},
        {"1234567890123456789012345678901234567: 4/4", "Invalid timesignature."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        const HeaderScan scan = ScanHeaderText(c.header);
        EXPECT_EQ(scan.error, c.error);
        EXPECT_EQ(scan.timeSignature.has_value(), std::string(c.error).empty());
    }
}

TEST(StyleText, StoredValuesReadAsTheLoaderReadsThem) {
    const struct {
        double stored;
        std::int64_t whole;
        int extra;
    } cases[] = {
        {3.1, 15, 0},
        {-3.1, -15, 0},
        {12345678, 123456, 78},
        {0, 0, 0},
        {5.9, 113, 0},
        {5.97, 5, 0},
        {5.04, 5, 0},
        {2.5, 62, 0},
        {409000306, 4090003, 6},
        {-1234567, -1234567, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const Cell cell = Cell::FromStoredValue(c.stored);
        EXPECT_EQ(cell.whole, c.whole);
        EXPECT_EQ(cell.extra, c.extra);
    }
    // What the writer stores reads back as the same cell.
    for (const char* token :
         {"36", "-36", "9v80", "3v90@4:6", "15@31", "36v90:4", "999v999@47:99"}) {
        SCOPED_TRACE(token);
        const Cell cell = *ParseCell(token);
        EXPECT_EQ(Cell::FromStoredValue(static_cast<double>(cell.StoredValue())), cell);
    }
}

}  // namespace
}  // namespace formats
