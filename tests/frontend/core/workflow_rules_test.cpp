// The workflow's rules without a window: the workers' command lines, the tempo class, the song
// header, the checks and files of Make, the completion routing and the worker error box.
#include <gtest/gtest.h>

#include <sstream>

#include "frontend/core/command_lines.h"
#include "frontend/core/make_output.h"
#include "frontend/core/section_table.h"
#include "frontend/core/song_header.h"
#include "frontend/core/worker_control.h"

namespace corvane {
namespace {

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = line.find(' ', start);
        tokens.push_back(line.substr(start, blank - start));
        if (blank == std::string::npos) return tokens;
        start = blank + 1;
    }
}

ComposeInputs ExampleInputs() {
    ComposeInputs in;
    in.songTempo = 132;
    in.echoSlider = {4, 3};
    in.styleFiles = {"Jw3430.sty", "Wz3431.sty", "Sw3412.sty", "Jw3430.sty", "Wz3431.sty"};
    in.echoVoice = {50, 90};
    in.myVmCode = 53;
    in.handle = 1704;
    in.autoOctave = 1;
    return in;
}

TEST(CommandLinesTest, LoaderAndChordMakerLines) {
    EXPECT_EQ(AmbrelArgs(2, 1704), "Ambrel /2 InPut.bin 1704 2426");
    EXPECT_EQ(AmbrelArgs(0, 1073741823), "Ambrel /0 InPut.bin 1073741823 2426");
    const struct {
        int mode, sectLenIdx;
        const char* line;
    } cases[] = {
        {3, 0, "Tressil 3 1704 2426 0"},
        {1, -1, "Tressil 1 1704 2426 0"},  // a negative section length index sends "0"
        {4, 10, "Tressil 4 1704 2426 10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(TressilArgs(c.mode, 1704, c.sectLenIdx), c.line);
    }
}

TEST(CommandLinesTest, ComposerLineHasEighteenTokensWhateverTheSigns) {
    EXPECT_EQ(ComposeArgs(ExampleInputs()),
              "Compose 4 5 6 1 Jw3430.sty Wz3431.sty Sw3412.sty Jw3430.sty Wz3431.sty "
              "49 89 53 1704 1 0 0 1 2426");

    // Sign tokens with negative values keep their separating blank, so the composer still
    // counts 18 tokens: an echo voice shown as 000 and a slider above 9.
    ComposeInputs odd = ExampleInputs();
    odd.echoVoice = {0, 128};
    odd.echoSlider = {10, 0};
    const std::string line = ComposeArgs(odd);
    const std::vector<std::string> tokens = Tokens(line);
    ASSERT_EQ(tokens.size(), 19u) << line;
    EXPECT_EQ(tokens[2], "-1");
    EXPECT_EQ(tokens[3], "9");
    EXPECT_EQ(tokens[10], "-1");
    EXPECT_EQ(tokens[11], "127");
    EXPECT_EQ(SignToken(0), " 0");
    EXPECT_EQ(SignToken(-7), " -7");
}

TEST(CommandLinesTest, ComposerLineOverOneHundredThirtyCharactersIsRefused) {
    ComposeInputs in = ExampleInputs();
    const std::size_t base = ComposeArgs(in).size();
    in.styleFiles[0] += std::string(kComposeArgsLimit - base, 'x');
    const std::string fits = ComposeArgs(in);
    ASSERT_EQ(fits.size(), 130u);
    EXPECT_FALSE(ComposeArgsRefusal(fits));

    in.styleFiles[0] += "x";
    const std::string tooLong = ComposeArgs(in);
    ASSERT_EQ(tooLong.size(), 131u);
    const auto refusal = ComposeArgsRefusal(tooLong);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal, "Error: <" + tooLong + ">\nLength: 262");
}

TEST(CommandLinesTest, TempoClass) {
    const std::pair<int, int> cases[] = {{100, 4}, {240, 4}, {99, 2}, {90, 2}, {89, 1}, {0, 1}};
    for (const auto& [tempo, tempoClass] : cases) {
        SCOPED_TRACE(tempo);
        EXPECT_EQ(TempoClass(tempo), tempoClass);
    }
}

TEST(SongHeaderTest, KeyTempoAndTimeSignatureFromTheFirstLine) {
    const struct {
        const char* line;
        std::optional<int> key;
        int tempo;
        const char* timeSig;
        const char* caption;  // only with a key
    } cases[] = {
        {"1,+,G,24,96,3/4\r\n", 2, 96, "3/4", "G  Major, Tempo=96, 3/4"},
        {"1,+,G,24,96,3/4\n", 2, 96, "3/4", "G  Major, Tempo=96, 3/4"},
        {"2,-,Bb,48,132,4/4", 18, 132, "4/4", "Bb Major, Tempo=132, 4/4"},
        {"0,+,A,8,6/8", std::nullopt, 8, "6/8", nullptr},  // no tempo field
        {"3,+,F#,12,fast,6/8\r\n", 7, 120, "6/8", "F# Minor, Tempo=fast, 6/8"},
        {"1,+,G,24,99999,3/4", 2, 120, "3/4", "G  Major, Tempo=99999, 3/4"},
        {"1,+,H,24,96,3/4", std::nullopt, 96, "3/4", nullptr},  // unknown key head
        {"1,+,G,24,96", std::nullopt, 24, "96", nullptr},       // a field missing
        {"96,3/4", std::nullopt, 120, "3/4", nullptr},          // too few fields
        {"", std::nullopt, 120, "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const SongHeader header = ParseSongHeader(c.line);
        EXPECT_EQ(header.keyCode, c.key);
        EXPECT_EQ(header.tempo, c.tempo);
        EXPECT_EQ(header.timeSig, c.timeSig);
        if (c.caption != nullptr) {
            EXPECT_EQ(MusicTypeCaption(header), c.caption);
        }
    }
}

TEST(MakeOutputTest, StyleTimeSignatureAndMeasureUnits) {
    EXPECT_EQ(StyleTimeSignature(" 3/4 Jazz Waltz"), "3/4");
    EXPECT_EQ(StyleTimeSignature("4/4 Pop"), "4/4");
    EXPECT_EQ(StyleTimeSignature("  6/8"), "6/8");
    EXPECT_EQ(StyleTimeSignature("   "), "");
    EXPECT_EQ(TimeSignatureRefusal("4/4", "3/4"),
              "Cannot Make Style <4/4> for Song <3/4>\n"
              "Please choose a style with the same Timesignature as in the input song.");

    const struct {
        const char* timeSig;
        MeasureUnits units;
    } cases[] = {
        {"2/4", {8, 4, 4, 2}},  {"3/4", {12, 8, 4, 3}}, {"6/8", {12, 6, 2, 6}},
        {"4/4", {16, 8, 4, 4}}, {"5/4", {16, 8, 4, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timeSig);
        const MeasureUnits units = MeasureUnitsOf(c.timeSig);
        EXPECT_EQ(units.msUnits, c.units.msUnits);
        EXPECT_EQ(units.halfMsUnits, c.units.halfMsUnits);
        EXPECT_EQ(units.ticksPerBeatLed, c.units.ticksPerBeatLed);
        EXPECT_EQ(units.beatLedCount, c.units.beatLedCount);
    }
}

TEST(MakeOutputTest, PlayOptionsFileHasOneLinePerSlot) {
    styles::SlotTables tables;
    const int programs[] = {1, 25, 0, 33, 49};
    const int volumes[] = {100, 90, 0, 85, 85};
    const int modes[] = {0, 0, 0, 2, 3};
    for (int part = 0; part < 5; ++part) {
        tables.PartProgram(0, part) = static_cast<std::int16_t>(programs[part]);
        tables.PartVol(0, part) = static_cast<std::int16_t>(volumes[part]);
        tables.PartMode(0, part) = static_cast<std::int16_t>(modes[part]);
    }
    tables.PartSustain(0, 1) = 1;
    tables.PartSustain(4, 0) = 1;
    tables.PartMode(4, 0) = 2;
    tables.SectVol[4] = 100;
    const std::string text = VParaText(tables);
    std::istringstream lines(text);
    std::vector<std::string> read;
    for (std::string line; std::getline(lines, line);) read.push_back(line);
    ASSERT_EQ(read.size(), 5u) << text;
    EXPECT_EQ(read[0], "080,001,025,000,033,049,100,090,000,085,085,000,010,000,002,003\r");
    EXPECT_EQ(read[1], "080,000,000,000,000,000,000,000,000,000,000,000,000,000,000,000\r");
    EXPECT_EQ(read[4], "100,000,000,000,000,000,000,000,000,000,000,012,000,000,000,000\r");
    EXPECT_EQ(text.back(), '\n');
}

// The first line as the composer writes it: per slot five pairs and a sixth of zeros.
std::string FirstLine(int programBase) {
    std::string line;
    char pair[16];
    for (int slot = 0; slot < 5; ++slot) {
        for (int part = 0; part < 5; ++part) {
            std::snprintf(pair, sizeof pair, "%03d %03d ", programBase + slot * 5 + part,
                          100 - part);
            line += pair;
        }
        line += "000 000; ";
    }
    return line + "\r\n";
}

TEST(SectionTableTest, ReadsValuesAndSwitchPoints) {
    const auto table = ParseSectionTable(FirstLine(1) + "001:1\r\n017:2\r\n033:7\r\n");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->programs[0][0], 1);
    EXPECT_EQ(table->programs[4][4], 25);
    EXPECT_EQ(table->volumes[2][3], 97);
    ASSERT_EQ(table->switchLines.size(), 3u);
    EXPECT_EQ(table->switchLines[1], "017:2");  // no CR left before the slot digit

    const std::array<std::string, 6> names = {" 3/4 Jazz Waltz", " 3/4 Waltz", "", "", "", ""};
    EXPECT_EQ(SectionListEntry("017:2", names), "017: 2- 3/4 Waltz");
    EXPECT_EQ(SectionListEntry("001:1", names), "001: 1- 3/4 Jazz Waltz");
    EXPECT_EQ(SectionListEntry("033:7", names), "033: 7-");  // no slot 7: no name
    EXPECT_EQ(SectionListEntry("", names), ":  -");

    const auto onlyFirst = ParseSectionTable(FirstLine(0));
    ASSERT_TRUE(onlyFirst);
    EXPECT_TRUE(onlyFirst->switchLines.empty());
}

TEST(SectionTableTest, DamagedFirstLineIsRefusedWhole) {
    std::string short59 = FirstLine(0);
    short59.erase(short59.rfind("000;"));  // the last value gone
    std::string letter = FirstLine(0);
    letter[4] = 'x';
    std::string huge = FirstLine(0);
    huge.replace(0, 3, "99999");
    const std::pair<const char*, std::string> cases[] = {
        {"59 values", short59 + "\r\n001:1\r\n"}, {"a letter", letter},
        {"a value beyond 16 bits", huge},         {"an empty file", ""},
        {"switch points only", "001:1\r\n"},
    };
    for (const auto& [what, text] : cases) {
        SCOPED_TRACE(what);
        EXPECT_FALSE(ParseSectionTable(text));
    }
}

TEST(CompletionRouteTest, CodesGoToTheirCommandOnlyWhileOneRuns) {
    using R = CompletionRoute;
    const struct {
        int code, running;
        bool timedOut;
        R route;
    } cases[] = {
        {47, kLoadInCommand, false, R::kLoadIn},
        {49, kProceedCommand, false, R::kProceed},
        {53, kProceedCommand, false, R::kProceed},
        {57, kProceedCommand, false, R::kProceed},
        {58, kMakeCommand, false, R::kMake},
        {99, kMakeCommand, false, R::kMake},
        {46, kLoadInCommand, false, R::kForeign},
        {100, kMakeCommand, false, R::kForeign},
        {48, kProceedCommand, false, R::kForeign},
        {46, kNoCommand, false, R::kForeign},
        {47, kNoCommand, false, R::kNobodyWaits},
        {70, kNoCommand, false, R::kNobodyWaits},
        {47, kLoadInCommand, true, R::kTimedOutWorker},
        {100, kNoCommand, true, R::kTimedOutWorker},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " running " << c.running);
        EXPECT_EQ(RouteCompletion(c.code, c.running, c.timedOut), c.route);
    }
}

TEST(WorkerErrorTest, ShowsTheFirstBytesOrHoldsTheLoaderMessageBack) {
    using Bytes = std::vector<std::uint8_t>;
    auto bytes = [](const std::string& text) { return Bytes(text.begin(), text.end()); };
    std::string long300;
    for (int i = 0; i < 300; ++i) long300 += static_cast<char>('a' + i % 26);
    const std::string bang = "!Unsupported file format.";
    const struct {
        const char* what;
        std::optional<Bytes> head;
        WorkerErrorMode mode;
        bool melodyBusy;
        int result;
        std::string text;
    } cases[] = {
        {"missing file", std::nullopt, WorkerErrorMode::kMake, false, 1, kUnexpectedErrorText},
        {"empty file", Bytes{}, WorkerErrorMode::kProceed, false, 1, kUnexpectedErrorText},
        {"300 bytes", bytes(long300), WorkerErrorMode::kMake, false, 1, long300.substr(0, 120)},
        {"line ends", bytes("\r\nError GetNote_s.\r\n"), WorkerErrorMode::kProceed, false, 1,
         "\nError GetNote_s.\n"},
        {"! for Load In", bytes(bang), WorkerErrorMode::kLoadIn, false, 2, ""},
        {"! from the importer", bytes(bang), WorkerErrorMode::kLoadIn, true, 1, bang},
        {"! for Make", bytes(bang), WorkerErrorMode::kMake, false, 1, bang},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const WorkerErrorBox box = WorkerErrorMessage(c.head, c.mode, c.melodyBusy);
        EXPECT_EQ(box.result, c.result);
        EXPECT_EQ(box.text, c.text);
    }
}

}  // namespace
}  // namespace corvane
