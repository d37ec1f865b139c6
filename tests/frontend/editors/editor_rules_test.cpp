// The automatic drum fills and the two wizards' rules: the chord builder's text and exclusions,
// the drum fill wizard's code pairs, Tags and button rules.
#include <gtest/gtest.h>

#include "frontend/editors/chord_code.h"
#include "frontend/editors/drum_fills.h"
#include "frontend/editors/wizards.h"

namespace corvane::editors {
namespace {

TEST(DrumFillTest, ModesRewriteTheDrumCodes) {
    const struct {
        DrumMode mode;
        const char* before;
        const char* after;
    } cases[] = {
        {DrumMode::kLess, "440006008", "050506050"},
        {DrumMode::kMore, "440006008", "440006008"},
        {DrumMode::kMore, "410002008", "410502058"},
        {DrumMode::kNo, "4100", "0505"},
        {DrumMode::kNo, "67", "05"},
        {DrumMode::kLess, "0076700", "0576705"},
        {DrumMode::kMore, "3410790", "3410705"},
        {DrumMode::kFull, "410002008", "410002008"},
        {DrumMode::kLess, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.mode) << " " << c.before);
        EXPECT_EQ(ApplyDrumMode(c.mode, c.before), c.after);
    }
}

TEST(DrumFillTest, LinesKeepEverythingButTheDrumCode) {
    const std::vector<std::string> lines = {
        "001  G      D      4   4    G  Major  ",
        "002  Em     C      6   0   2Chorus    ",
        "003  Am7    D7     8   8              ",
    };
    const std::vector<std::string> out = ApplyDrumMode(DrumMode::kNo, lines);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], "001  G      D      0   4    G  Major  ");
    EXPECT_EQ(out[1], "002  Em     C      5   0   2Chorus    ");
    EXPECT_EQ(out[2], "003  Am7    D7     0   8              ");

    const ChordRecord second = SplitChordListLine(out[1], 1);
    EXPECT_EQ(second.msNo, "002");
    EXPECT_EQ(second.chord1, "Em   ");
    EXPECT_EQ(second.chord2, "C    ");
    EXPECT_EQ(second.drum, '5');
    EXPECT_EQ(second.inst, '0');
    EXPECT_EQ(second.sty, '2');
    EXPECT_EQ(second.comment, "Chorus    ");
    EXPECT_EQ(second.ChordListLine(), out[1]);
    // A short line reads as blanks where it ends.
    EXPECT_EQ(SplitChordListLine("007  C", 6).ChordListLine(),
              "007  C                                ");
}

TEST(ChordBuilderTest, OptionsComposeTheChordText) {
    const struct {
        ChordBuilderChoice choice;
        const char* text;
    } cases[] = {
        {{}, "A"},
        {{3, 1, 2, 2, 0}, "D#m7"},
        {{1, 2, 4, 0, 0}, "Bbo"},
        {{6, 0, 0, 0, 1}, "G+"},
        {{2, 0, 1, 3, 2}, "CM9-"},
        {{5, 2, 3, 1, 0}, "Fbs6"},
    };
    for (const auto& c : cases) EXPECT_EQ(BuildChordName(c.choice), c.text);
}

TEST(ChordBuilderTest, DiminishedExcludesAnAlteredFifth) {
    ChordBuilderChoice choice;
    choice.root = 6;
    choice.SelectQuality(2);
    choice.SelectQuality(ChordBuilderChoice::kDiminished);
    choice.SelectAlteration(1);
    EXPECT_EQ(choice.quality, 0);
    EXPECT_EQ(BuildChordName(choice), "G+");

    choice.SelectAlteration(2);
    choice.SelectQuality(ChordBuilderChoice::kDiminished);
    EXPECT_EQ(choice.alteration, 0);
    EXPECT_EQ(BuildChordName(choice), "Go");

    // Other qualities and the "None" of group 5 leave each other alone.
    choice.SelectQuality(2);
    choice.SelectAlteration(1);
    choice.SelectAlteration(0);
    EXPECT_EQ(choice.quality, 2);
    EXPECT_EQ(BuildChordName(choice), "Gm");
    // Every text the builder can compose is a chord of the grammar.
    for (int root = 0; root < 7; ++root)
        for (int accidental = 0; accidental < 3; ++accidental)
            for (int quality = 0; quality < 5; ++quality)
                for (int added = 0; added < 4; ++added)
                    for (int alteration = 0; alteration < 3; ++alteration) {
                        ChordBuilderChoice c{root, accidental, 0, added, 0};
                        c.SelectQuality(quality);
                        c.SelectAlteration(alteration);
                        EXPECT_TRUE(CheckChordString(BuildChordName(c))) << BuildChordName(c);
                    }
}

TEST(ChordBuilderTest, TagsAndCaptions) {
    EXPECT_EQ(ChordBuilderTag(2, 5), "2,005");
    EXPECT_EQ(ChordBuilderCaption(1, 12), "Chord1, Measure 012:");
    const struct {
        const char* tag;
        char column;
        int row;
    } cases[] = {{"2,005", '2', 5}, {"1,012", '1', 12}, {"", 0, 0}, {"3,x", '3', 0}};
    for (const auto& c : cases) {
        const ChordBuilderTarget target = ParseChordBuilderTag(c.tag);
        EXPECT_EQ(target.column, c.column) << c.tag;
        EXPECT_EQ(target.row, c.row) << c.tag;
    }
}

TEST(DrumWizardTest, CodePairs) {
    const struct {
        DrumFillOption option;
        const char* before;
        const char* at;
    } cases[] = {
        {DrumFillOption::kFill1, "2", "1"},  {DrumFillOption::kFill2, "7", "6"},
        {DrumFillOption::kIntro1, "", "4"},  {DrumFillOption::kIntro2, "", "3"},
        {DrumFillOption::kNormal1, "", "0"}, {DrumFillOption::kNormal2, "", "5"},
        {DrumFillOption::kPause, "", "9"},
    };
    for (const auto& c : cases) {
        const DrumFillCodes codes = CodesOf(c.option);
        EXPECT_EQ(codes.before, c.before);
        EXPECT_EQ(codes.at, c.at);
    }
}

TEST(DrumWizardTest, TagsAndButtonRules) {
    EXPECT_EQ(DrumWizardTag(12, 4), "012,04");
    EXPECT_EQ(DrumWizardCaption(12, 4), "Measure 012, Column 04:");
    EXPECT_FALSE(ParseDrumWizardTag(""));
    EXPECT_FALSE(ParseDrumWizardTag("   "));
    const auto target = ParseDrumWizardTag(" 012,04 ");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->row, 12);
    EXPECT_EQ(target->column, 4);
    const auto shortTag = ParseDrumWizardTag("7");
    ASSERT_TRUE(shortTag);
    EXPECT_EQ(shortTag->row, 7);
    EXPECT_EQ(shortTag->column, 0);

    for (int column = 0; column < kGridColumns; ++column)
        EXPECT_EQ(DrumMakeEnabled(column), column == kColDrum || column == kColInst) << column;
    // With 40 measures a style may switch in measures 2 to 38.
    for (int row = 0; row <= 41; ++row)
        EXPECT_EQ(StyleSetEnabled(row, 40), row >= 2 && row <= 38) << row;
}

}  // namespace
}  // namespace corvane::editors
