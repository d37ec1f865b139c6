// The chord grammar, the chord code in both directions, the section names and the typing filter
// of the chord list grid.
#include "frontend/editors/chord_code.h"

#include <gtest/gtest.h>

namespace corvane::editors {
namespace {

TEST(ChordGrammarTest, EachRuleRefusesWhatItIsFor) {
    const struct {
        const char* text;
        bool valid;
        const char* why;
    } cases[] = {
        {"", true, "an empty text is no chord, and allowed"},
        {"C", true, "a root alone"},
        {"F#m7", true, "every group once, in order"},
        {"Bb", true, "a B root with a flat folds to BB, the one allowed repeat"},
        {"C7m", true, "the order of the modifiers is only partly enforced"},
        {"C67", false, "two added notes"},
        {"C69", false, "two added notes"},
        {"Csm", false, "sus4 with a minor third"},
        {"CsM", false, "sus4 with a major quality"},
        {"Co", true, "a diminished chord"},
        {"Com", false, "diminished with a quality"},
        {"Co+", false, "diminished with a raised fifth"},
        {"Co-", false, "diminished with a lowered fifth"},
        {"Cm+7", false, "something after the alteration"},
        {"C-7", false, "something after the alteration"},
        {"C+", true, "an alteration at the end"},
        {"H", false, "no such root"},
        {"c", false, "a root must be upper case"},
        {"#", false, "no root"},
        {"C+ ", false, "the blank after + is allowed by rule 5 but not at position 3"},
        {"Fb#", false, "a second accidental is not allowed at position 3"},
        {"F#b", false, "a second accidental is not allowed at position 3"},
        {"C#", true, "sharp"},
        {"CmM", false, "m and M fold to the same letter"},
        {"Cmm", false, "a repeated quality"},
        {"Bbb", false, "a third b"},
        {"C#m7o", false, "diminished with minor"},
        {"C#M9-", true, "five characters, every group"},
        {"CB", false, "B is not a modifier"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\": " + c.why);
        EXPECT_EQ(CheckChordString(c.text), c.valid);
    }
}

TEST(ChordGrammarTest, TypedTextIsNormalisedOrBlanked) {
    const struct {
        const char* typed;
        const char* committed;
    } cases[] = {
        {"am7", "Am7"}, {"bb", "Bb"},        {"BB", "Bb"},       {"Bbb", " "},     {"C7m", "C7m"},
        {"Cm+7", " "},  {"C+", "C+"},        {"f#m7", "F#m7"},   {"C#m7o+", " "},  {"H", " "},
        {"", " "},      {"C#M9-x", "C#M9-"}, {"Gbm7-", "Gbm7-"}, {"Abs9", "Abs9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(ValidateChordText(c.typed), c.committed);
    }
}

TEST(ChordGrammarTest, ACommittedOrPastedCellIsCheckedWithoutItsBlanks) {
    const struct {
        const char* cell;
        const char* committed;
    } cases[] = {
        {"", ""},       {"   ", "   "},      {" am ", "Am"},        {"b", "B"},
        {"bb  ", "Bb"}, {"  f#m7", "F#m7"},  {"a m", " "},          {"h", " "},
        {"Cm+7", " "},  {"C#M9-x", "C#M9-"}, {" C#M9-x ", "C#M9-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.cell + "\"");
        EXPECT_EQ(CheckedChordCell(c.cell), c.committed);
    }
}

TEST(ChordCodeTest, TextAndCodeBothWays) {
    const struct {
        const char* text;
        const char* code;
        const char* shown;  // the code as the grid shows it again
    } cases[] = {
        {"C    ", "C....", "C    "},
        {"Am   ", "A.m..", "Am   "},
        {"F#m7 ", "F#m7.", "F#m7 "},
        {"Bb   ", "Bb...", "Bb   "},
        {"G7o  ", "G..7o", "G7o  "},
        {"     ", ".....", "     "},
        {"C7m  ", "C.m7.", "Cm7  "},
        {"Cm7  ", "C.m7.", "Cm7  "},
        {"Eb+  ", "Eb..+", "Eb+  "},
        {"Ds9- ", "D.s9-", "Ds9- "},
        // The chord maker's major chord with the ninth added keeps its "M" on screen, so an
        // accepted list gives the composer the same chord back.
        {"GM   ", "G.M..", "GM   "},
        {"CM7  ", "C.M7.", "CM7  "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ChordTextToCode(c.text), c.code);
        EXPECT_EQ(ChordCodeToText(c.code, 5), c.shown);
    }
    EXPECT_EQ(ChordTextToCode(""), ".....");
    EXPECT_EQ(ChordCodeToText("A.m..", 3), "Am ");
}

TEST(SectionCodeTest, NamesAndFlashes) {
    const char* names[] = {"Normal1", "Variation", "Break1", "Intro2", "Intro1",
                           "Normal2", "Stop",      "Break2", "Ending", "Pause"};
    for (int digit = 0; digit <= 9; ++digit) {
        const std::string code(1, static_cast<char>('0' + digit));
        EXPECT_EQ(SectionName(code), names[digit]);
        EXPECT_EQ(FlashesSection(code), digit == 1 || digit == 6 || digit == 8) << digit;
    }
    for (const char* other : {"", " ", "a", "10", "-"}) EXPECT_EQ(SectionName(other), "") << other;
    EXPECT_EQ(SectionName(" 5 "), "Normal2");
}

TEST(TypingFilterTest, EachColumnTakesItsOwnCharacters) {
    constexpr int kLast = 40;
    const struct {
        int column;
        int row;
        const char* cell;
        char key;
        const char* result;  // nullptr: refused
        bool names;
    } cases[] = {
        {kColMsNo, 3, "003", '1', nullptr, false},
        {kColChord1, 3, "", 'f', "f", false},
        {kColChord1, 3, "f", '3', "f#", false},
        {kColChord1, 3, "Cm", '=', "Cm+", false},
        {kColChord2, 3, "Am   ", '7', "Am7", false},
        {kColChord1, 3, "F#m7-", '9', nullptr, false},
        {kColChord1, 3, "C", 'u', nullptr, false},
        {kColChord1, 3, "", 'H', nullptr, false},
        {kColChord1, 3, "C", '5', nullptr, false},
        {kColChord1, kLast, "C", 'm', nullptr, false},
        {kColDrum, 3, "0", '7', "7", true},
        {kColInst, kLast, "0", '9', "9", true},
        {kColDrum, 3, "0", 'a', nullptr, false},
        {kColSty, 3, "", '5', "5", false},
        {kColSty, 3, "2", '6', nullptr, false},
        {kColSty, 1, "", '2', nullptr, false},
        {kColSty, kLast, "", '2', nullptr, false},
        {kColComments, 3, "Verse", '2', "Verse2", false},
        {kColComments, 3, "  ", '!', "!", false},
        {kColComments, 3, "Chorus", ';', nullptr, false},
        {kColComments, 3, "0123456789", 'x', nullptr, false},
        {kColComments, 3, "", '\x16', nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.column << " row " << c.row << " \""
                                        << c.cell << "\" + '" << c.key << "'");
        const auto typed = FilterTypedKey(c.column, c.row, kLast, c.cell, c.key);
        if (c.result == nullptr) {
            EXPECT_FALSE(typed);
        } else {
            ASSERT_TRUE(typed);
            EXPECT_EQ(typed->text, c.result);
            EXPECT_EQ(typed->refreshNames, c.names);
        }
    }
    // No comment takes a character outside printable ASCII.
    for (const int key : {0x7F, 0xE9, 0x20, 0x1B}) {
        EXPECT_FALSE(FilterTypedKey(kColComments, 3, kLast, "", key)) << key;
    }
    EXPECT_EQ(ColMaxLen(), (ColumnLimits{1, 3, 5, 5, 1, 1, 1, 10, 0}));
}

}  // namespace
}  // namespace corvane::editors
