// Style setting files without a window: the 32-line text written from the slot tables, the line
// count that tells the layouts apart, the record reader's acceptance rules, the range checks of
// the values it applies, the style look-up and the texts the user sees.
#include "frontend/styles/style_setting_file.h"

#include <gtest/gtest.h>

#include "frontend/core/replace_question.h"
#include "tests/frontend/support/crlf_lines.h"

namespace corvane::styles {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

using corvane::testing::CrLfLines;

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

StyleLibrary Library() {
    StyleLibrary library;
    library.StyleFiles = {"ABCD01.sty", "Bl4412.sty", "Rk4430.sty", "Sw3412.sty"};
    library.StyleNames = {" 4/4 Alpha", " 4/4 Slow Ballad", " 4/4 Rock", " 3/4 Swing"};
    return library;
}

// The library's names in the style manager's sorted order.
std::vector<std::string> SortedRows() {
    return {" 3/4 Swing", " 4/4 Alpha", " 4/4 Rock", " 4/4 Slow Ballad"};
}

// Tables holding something in every value a file stores.
SlotTables VariedTables() {
    SlotTables tables;
    for (int s = 0; s < kSlotCount; ++s) {
        tables.SectStyleIdx[s] = s % 4;
        tables.SectVol[s] = 20 + 20 * s;
        tables.PartVol(s, kMasterVolumePart) = static_cast<std::int16_t>(tables.SectVol[s]);
        for (int p = 0; p < kPartCount; ++p) {
            tables.PartProgram(s, p) = static_cast<std::int16_t>(s * 25 + p * 3);
            tables.PartVol(s, p) = static_cast<std::int16_t>(127 - s * 20 - p);
            tables.PartMode(s, p) = static_cast<std::int16_t>((s + p) % 4);
            tables.PartSustain(s, p) = tables.PartMode(s, p) == 0 && p % 2 == 0 ? 1 : 0;
        }
    }
    tables.AutoOctave = 1;
    return tables;
}

// A valid 32-line file of the first-run settings, to be varied line by line.
std::vector<std::string> FirstRunLines() {
    SlotTables tables;
    tables.SectStyleIdx = {1, 1, 1, 1, 1};
    return CrLfLines(
        StyleSettingText(CaptureStyleSetting(tables, Library().StyleFiles, {50, 90}, {3, 4})));
}

TEST(StyleSettingWriter, FirstRunSettingsGiveThirtyTwoCrLfLines) {
    SlotTables tables;
    tables.SectStyleIdx = {0, 0, 0, 0, 0};
    tables.PartMode(1, 3) = 2;
    tables.PartSustain(1, 3) = 1;  // not stored: mode 2 has no sustain of its own
    tables.PartSustain(4, 0) = 1;
    const std::vector<std::string> lines = CrLfLines(
        StyleSettingText(CaptureStyleSetting(tables, Library().StyleFiles, {50, 90}, {3, 4})));
    ASSERT_EQ(lines.size(), 32u);
    for (int s = 0; s < 5; ++s) EXPECT_EQ(lines[s], "\"ABCD01.sty\",80");
    EXPECT_EQ(lines[5], "0,0,0");
    EXPECT_EQ(lines[5 + 5 * 1 + 3], "0,0,2");
    EXPECT_EQ(lines[5 + 5 * 4 + 0], "0,0,10");
    EXPECT_EQ(lines[30], "1,0");
    EXPECT_EQ(lines[31], "50,3,90,4");
}

TEST(StyleSettingWriter, ReadingBackGivesTheSameValuesAndTables) {
    const SlotTables saved = VariedTables();
    const StyleSetting setting = CaptureStyleSetting(saved, Library().StyleFiles, {1, 128}, {0, 9});
    const std::string text = StyleSettingText(setting);
    ASSERT_EQ(CountSettingLines(Bytes(text)), kSettingLines);
    const auto read = ParseStyleSetting(Bytes(text), kSettingLines);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, setting);

    SlotTables loaded;
    const auto styles = LookUpSettingStyles(*read, Library(), SortedRows());
    for (int s = 0; s < kSlotCount; ++s) {
        EXPECT_TRUE(styles[s].found);
        loaded.SectStyleIdx[s] = styles[s].libraryIndex;
    }
    EXPECT_TRUE(ApplySettingValues(*read, loaded));
    EXPECT_EQ(loaded.SectStyleIdx, saved.SectStyleIdx);
    EXPECT_EQ(loaded.SectVol, saved.SectVol);
    for (int s = 0; s < kSlotCount; ++s) {
        for (int p = 0; p <= kPartCount; ++p) {
            SCOPED_TRACE(::testing::Message() << "slot " << s << " part " << p);
            EXPECT_EQ(loaded.PartVol(s, p), saved.PartVol(s, p));
            if (p == kPartCount) continue;
            EXPECT_EQ(loaded.PartProgram(s, p), saved.PartProgram(s, p));
            EXPECT_EQ(loaded.PartMode(s, p), saved.PartMode(s, p));
            EXPECT_EQ(loaded.PartSustain(s, p), saved.PartSustain(s, p));
        }
    }
}

TEST(StyleSettingWriter, ModeAndSustainTravelAsOneCode) {
    struct Case {
        int mode, sustain, code, loadedMode, loadedSustain;
    };
    for (const Case c : {Case{0, 0, 0, 0, 0}, Case{0, 1, 10, 0, 1}, Case{1, 0, 1, 1, 0},
                         Case{2, 1, 2, 2, 0}, Case{3, 1, 3, 3, 0}}) {
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " sustain " << c.sustain);
        SlotTables tables;
        tables.PartMode(2, 1) = static_cast<std::int16_t>(c.mode);
        tables.PartSustain(2, 1) = static_cast<std::int16_t>(c.sustain);
        const StyleSetting setting = CaptureStyleSetting(tables, {}, {50, 90}, {3, 4});
        EXPECT_EQ(setting.parts[2][1].modeCode, c.code);
        SlotTables loaded;
        loaded.PartSustain(2, 1) = 1;
        EXPECT_TRUE(ApplySettingValues(setting, loaded));
        EXPECT_EQ(loaded.PartMode(2, 1), c.loadedMode);
        EXPECT_EQ(loaded.PartSustain(2, 1), c.loadedSustain);
    }
}

TEST(StyleSettingLines, CountStopsAtTheFirstEmptyLine) {
    const std::string line = "0,0,0";
    auto repeat = [&](int n, const std::string& end) {
        std::string text;
        for (int i = 0; i < n; ++i) text += line + end;
        return text;
    };
    struct Case {
        const char* what;
        std::string text;
        int count;
    };
    const Case cases[] = {
        {"CR LF", repeat(32, "\r\n"), 32},
        {"LF", repeat(32, "\n"), 32},
        {"last line without an end", repeat(31, "\r\n") + line, 32},
        {"last line ending in a bare CR", repeat(31, "\r\n") + line + "\r", 32},
        {"empty lines after", repeat(32, "\r\n") + "\r\n\r\n", 32},
        {"a line of only CR is empty", repeat(32, "\r\n") + "\r\n" + repeat(3, "\r\n"), 32},
        {"text after an empty line", repeat(20, "\r\n") + "\n" + repeat(12, "\r\n"), 20},
        {"thirty-one", repeat(31, "\r\n"), 31},
        {"empty file", "", 0},
        {"empty first line", "\r\n" + repeat(32, "\r\n"), 0},
        {"a CR inside a line is text", repeat(31, "\r\n") + "a\rb\r\n", 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CountSettingLines(Bytes(c.text)), c.count);
        // Fed a byte at a time, as a file read in pieces is.
        SettingLineCounter counter;
        for (const std::uint8_t byte : Bytes(c.text)) counter.Feed({&byte, 1});
        EXPECT_EQ(counter.Count(), c.count);
    }
}

TEST(StyleSettingReader, AcceptsWhatTheWriterWritesAndReasonableVariants) {
    struct Case {
        const char* what;
        int line;  // 0-based line to replace
        const char* text;
        bool accepted;
        std::string styleFile = "Bl4412.sty";
        int sectVol = 80;
    };
    const Case cases[] = {
        {"unquoted text", 0, "Bl4412.sty,80", true},
        {"blanks around items", 0, "  \"Bl4412.sty\" , 75 ", true, "Bl4412.sty", 75},
        {"extra items ignored", 0, "\"Bl4412.sty\",70,\"more\",9", true, "Bl4412.sty", 70},
        {"comma inside quotes", 0, "\"Bl,4412.sty\",80", true, "Bl,4412.sty"},
        {"empty quoted name", 0, "\"\",80", true, ""},
        {"plus sign", 0, "\"Bl4412.sty\",+60", true, "Bl4412.sty", 60},
        {"largest 16-bit number", 0, "\"Bl4412.sty\",32767", true, "Bl4412.sty", 32767},
        {"smallest 16-bit number", 0, "\"Bl4412.sty\",-32768", true, "Bl4412.sty", -32768},
        {"number beyond 16 bits", 0, "\"Bl4412.sty\",32768", false},
        {"negative beyond 16 bits", 0, "\"Bl4412.sty\",-32769", false},
        {"huge number", 0, "\"Bl4412.sty\",99999999999999999999", false},
        {"volume missing", 0, "\"Bl4412.sty\"", false},
        {"volume empty", 0, "\"Bl4412.sty\",", false},
        {"volume not a number", 0, "\"Bl4412.sty\",8o", false},
        {"decimal point", 0, "\"Bl4412.sty\",80.0", false},
        {"part record short", 7, "1,2", false},
        {"part record with text", 7, "1,\"2\",x", false},
        {"part record extra item", 7, "1,2,3,4", true},
        {"Auto-Octave line short", 30, "1", false},
        {"echo line short", 31, "50,3,90", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines = FirstRunLines();
        lines[c.line] = c.text;
        const auto read = ParseStyleSetting(Bytes(JoinLines(lines)), kSettingLines);
        ASSERT_EQ(read.has_value(), c.accepted);
        if (!read) continue;
        EXPECT_EQ(read->styleFile[0], c.styleFile);
        EXPECT_EQ(read->sectVol[0], c.sectVol);
    }

    // LF line ends and lines cut short of the layout.
    std::string lf;
    for (const std::string& line : FirstRunLines()) lf += line + "\n";
    EXPECT_TRUE(ParseStyleSetting(Bytes(lf), kSettingLines));
    EXPECT_FALSE(ParseStyleSetting(Bytes(lf.substr(0, lf.size() / 2)), kSettingLines));
    EXPECT_FALSE(ParseStyleSetting(Bytes(lf), 31));
}

TEST(StyleSettingReader, TheOlderLayoutHoldsThreeSlots) {
    const std::string text =
        "\"Rk4430.sty\",90\r\n\"ABCD01.sty\",60\r\n\"Sw3412.sty\",40\r\n"
        "1,2,0\r\n3,4,1\r\n5,6,2\r\n7,8,3\r\n9,10,10\r\n"
        "11,12,0\r\n13,14,0\r\n15,16,0\r\n17,18,0\r\n19,20,0\r\n"
        "21,22,0\r\n23,24,0\r\n25,26,0\r\n27,28,0\r\n29,30,1\r\n"
        "1,1\r\n"
        "7,0,8,9\r\n";
    ASSERT_EQ(CountSettingLines(Bytes(text)), kOlderSettingLines);
    const auto read = ParseStyleSetting(Bytes(text), kOlderSettingLines);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->slotCount, 3);
    EXPECT_EQ(read->styleFile[2], "Sw3412.sty");
    EXPECT_EQ(read->sectVol[1], 60);
    EXPECT_EQ(read->parts[0][4], (SettingPart{9, 10, 10}));
    EXPECT_EQ(read->parts[2][4], (SettingPart{29, 30, 1}));
    EXPECT_EQ(read->autoOctave, 1);
    EXPECT_EQ(read->echoVoice, (std::array<int, 2>{7, 8}));
    EXPECT_EQ(read->echoSetting, (std::array<int, 2>{0, 9}));

    // Applying touches the first three slots only.
    SlotTables tables = VariedTables();
    const SlotTables before = tables;
    EXPECT_TRUE(ApplySettingValues(*read, tables));
    EXPECT_EQ(tables.SectVol[2], 40);
    EXPECT_EQ(tables.PartSustain(0, 4), 1);
    for (int s : {3, 4}) {
        EXPECT_EQ(tables.SectVol[s], before.SectVol[s]);
        for (int p = 0; p < kPartCount; ++p) {
            EXPECT_EQ(tables.PartProgram(s, p), before.PartProgram(s, p));
            EXPECT_EQ(tables.PartVol(s, p), before.PartVol(s, p));
            EXPECT_EQ(tables.PartMode(s, p), before.PartMode(s, p));
            EXPECT_EQ(tables.PartSustain(s, p), before.PartSustain(s, p));
        }
    }
}

TEST(StyleSettingValues, OutOfRangeValuesKeepTheCurrentOnesAndSpoilOnlyThemselves) {
    struct Case {
        const char* what;
        int sectVol = 80, program = 7, volume = 100, modeCode = 1;
        bool good;
    };
    const Case cases[] = {
        {"all in range", 80, 7, 100, 1, true},         {"lowest", 20, 0, 0, 0, true},
        {"highest", 100, 128, 127, 10, true},          {"section volume 19", 19, 7, 100, 1, false},
        {"section volume 101", 101, 7, 100, 1, false}, {"program -1", 80, -1, 100, 1, false},
        {"program 129", 80, 129, 100, 1, false},       {"volume -1", 80, 7, -1, 1, false},
        {"volume 128", 80, 7, 128, 1, false},          {"mode code -1", 80, 7, 100, -1, false},
        {"mode code 4", 80, 7, 100, 4, false},         {"mode code 9", 80, 7, 100, 9, false},
        {"mode code 11", 80, 7, 100, 11, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StyleSetting setting;
        setting.sectVol.fill(50);
        setting.sectVol[3] = c.sectVol;
        setting.parts[3][2] = {c.program, c.volume, c.modeCode};
        setting.parts[1][1] = {5, 6, 2};
        SlotTables tables;
        tables.SectVol[3] = 66;
        tables.PartProgram(3, 2) = 44;
        tables.PartVol(3, 2) = 55;
        tables.PartMode(3, 2) = 3;
        tables.PartSustain(3, 2) = 1;
        EXPECT_EQ(ApplySettingValues(setting, tables), c.good);
        const bool volumeOk = c.sectVol >= 20 && c.sectVol <= 100;
        EXPECT_EQ(tables.SectVol[3], volumeOk ? c.sectVol : 66);
        EXPECT_EQ(tables.PartVol(3, kMasterVolumePart), volumeOk ? c.sectVol : 80);
        EXPECT_EQ(tables.PartProgram(3, 2), c.program >= 0 && c.program <= 128 ? c.program : 44);
        EXPECT_EQ(tables.PartVol(3, 2), c.volume >= 0 && c.volume <= 127 ? c.volume : 55);
        const bool modeOk = (c.modeCode >= 0 && c.modeCode <= 3) || c.modeCode == 10;
        EXPECT_EQ(tables.PartMode(3, 2), modeOk ? c.modeCode % 10 : 3);
        EXPECT_EQ(tables.PartSustain(3, 2), modeOk ? (c.modeCode == 10 ? 1 : 0) : 1);
        // Everything else of the file is applied.
        EXPECT_EQ(tables.SectVol[0], 50);
        EXPECT_EQ(tables.PartProgram(1, 1), 5);
        EXPECT_EQ(tables.PartMode(1, 1), 2);
    }

    struct Echo {
        int value;
        bool voice, setting;
    };
    for (const Echo e :
         {Echo{-1, false, false}, Echo{0, false, true}, Echo{1, true, true}, Echo{9, true, true},
          Echo{10, true, false}, Echo{128, true, false}, Echo{129, false, false}}) {
        EXPECT_EQ(EchoVoiceInRange(e.value), e.voice) << e.value;
        EXPECT_EQ(EchoSettingInRange(e.value), e.setting) << e.value;
    }
}

TEST(StyleSettingStyles, FoundWithoutLetterCaseElseTheFirstStyle) {
    StyleSetting setting;
    setting.styleFile = {"bl4412.STY", "Gone01.sty", "ABCD01.sty", "gone01.sty", "Lost02.sty"};
    const auto styles = LookUpSettingStyles(setting, Library(), SortedRows());
    EXPECT_TRUE(styles[0].found);
    EXPECT_EQ(styles[0].libraryIndex, 1);
    EXPECT_EQ(styles[0].name, " 4/4 Slow Ballad");
    EXPECT_EQ(styles[0].listRow, 3);
    for (int k : {1, 3, 4}) {
        EXPECT_FALSE(styles[k].found);
        EXPECT_EQ(styles[k].libraryIndex, 0);
        EXPECT_EQ(styles[k].name, " 4/4 Alpha");
        EXPECT_EQ(styles[k].listRow, 1);
    }
    // Each missing file is named once, upper-cased, in slot order.
    EXPECT_EQ(MissingStyleFiles(setting, styles),
              (std::vector<std::string>{"GONE01.STY", "LOST02.STY"}));

    // A name the style manager does not list gets no row.
    const auto unlisted = LookUpSettingStyles(setting, Library(), {" 4/4 Alpha"});
    EXPECT_EQ(unlisted[0].listRow, -1);
    EXPECT_EQ(unlisted[1].listRow, 0);

    // The older layout looks up three slots only.
    setting.slotCount = 3;
    const auto three = LookUpSettingStyles(setting, Library(), SortedRows());
    EXPECT_EQ(three[3].listRow, -1);
    EXPECT_EQ(MissingStyleFiles(setting, three), (std::vector<std::string>{"GONE01.STY"}));
}

TEST(StyleSettingTexts, MessagesAsTheUserSeesThem) {
    EXPECT_EQ(SettingOpenFailureText("/m/a.set", false),
              "Cannot open file </m/a.set> for reading.");
    EXPECT_EQ(SettingOpenFailureText("/m/a.set", true),
              "V416Set Load Error:\nCannot open file </m/a.set> for reading.");
    EXPECT_EQ(SettingLineCountText("/m/a.set", 31),
              "The data in </m/a.set> is invalid: Bad LineCnt (31)");
    EXPECT_EQ(SettingReadFailureText("a.set", false),
              "Data in <a.set> is invalid. The data not loaded.");
    EXPECT_EQ(SettingReadFailureText("a.set", true),
              "V416Set Load Error:\nData in a.set is invalid. The data not loaded.");
    const std::string common =
        "Some data in a.set are bad or no longer valid.\n"
        "Default values has been used instead. You may need to Re-Set the Style Settings.\n";
    EXPECT_EQ(SettingSummaryText("a.set", {}, false), common);
    EXPECT_EQ(SettingSummaryText("a.set", {"GONE01.STY", "LOST02.STY"}, true),
              "V416Set Load Error:\n" + common +
                  "The style data file GONE01.STY LOST02.STY  not loaded or not available.");
    EXPECT_EQ(SettingStatusText(false, true), "V418 Style Setting Load Ok.");
    EXPECT_EQ(SettingStatusText(true, false), "V416 Style Setting Load Error.");
    EXPECT_EQ(SettingReadOnlyText("b.set"),
              "The file:\n b.set\nalready exit and is read only, cannot overwrite.");
    EXPECT_EQ(ReplaceQuestionText("b.set"),
              "The file:\n b.set\nalready exit. Click <Ok> to overwrite, or <Cancel> to abort:");
    EXPECT_EQ(CannotCreateFileText("StyleList.txt"), "Cannot creat file <StyleList.txt>.");
}

TEST(StyleSettingTexts, TitlesLongerThanTwentyFiveCharactersKeepTheirEnd) {
    struct Case {
        std::string title, shown;
    };
    const Case cases[] = {
        {"QXsDataSet.dat", "QXsDataSet.dat"},
        {"", ""},
        {std::string(25, 'a'), std::string(25, 'a')},
        {"b" + std::string(25, 'a'), "..." + std::string(25, 'a')},
        {"abcde" + std::string(20, 'x') + "12345", "..." + std::string(20, 'x') + "12345"},
        // Characters, not bytes: 26 two-byte letters keep their last 25 whole.
        {"\xc3\xa9" +
             [] {
                 std::string s;
                 for (int i = 0; i < 25; ++i) s += "\xc3\xbc";
                 return s;
             }(),
         "..." +
             [] {
                 std::string s;
                 for (int i = 0; i < 25; ++i) s += "\xc3\xbc";
                 return s;
             }()},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortSettingTitle(c.title), c.shown) << c.title;
}

TEST(StyleSettingTexts, SavePathGetsItsExtensionOnce) {
    struct Case {
        const char* typed;
        const char* path;
    };
    for (const Case c : {Case{"", ""}, Case{"   ", ""}, Case{"mine", "mine.set"},
                         Case{"  /home/u/mine  ", "/home/u/mine.set"}, Case{"mine.SET", "mine.SET"},
                         Case{"mine.Set", "mine.Set"}, Case{"mine.sets", "mine.sets.set"},
                         Case{"set", "set.set"}, Case{".set", ".set"}}) {
        EXPECT_EQ(SettingSavePath(c.typed), c.path) << "'" << c.typed << "'";
    }
}

}  // namespace
}  // namespace corvane::styles
