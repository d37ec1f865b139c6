// Tressil as a whole program: the hand-traced cadence song, every check of the driver with its
// message, completion and exit code, and the song shapes that pin the engine's passes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "tests/workers/chordmaker/tressil_test_support.h"
#include "workers/chordmaker/run_key.h"

namespace chordmaker {
namespace {

using testing::KeyLine;
using testing::MakeSongFiles;
using testing::MeasureSpec;
using testing::RunTressil;
using testing::WriteSong;

constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kFailed = 0x20000000;

class TressilTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv(kRunKeySeedVariable, "7", 1); }
    void TearDown() override { unsetenv(kRunKeySeedVariable); }
    testsupport::TempProgramFolder folder;
};

// C E | F A | G B | C : four measures in C major, each half holding its main note and the
// next chord tone (the last half is empty).
testing::SongFiles CadenceSong() {
    return MakeSongFiles("0,+,C,4,120,4/4", {{"C", "E", {60, 64}, {64, 67}},
                                             {"F", "A", {65, 69}, {69, 60}},
                                             {"G", "B", {67, 71}, {71, 62}},
                                             {"C", "", {60}, {}}});
}

// Hand trace. Four measures: no preset (the scans need s above 5 and the basic ones start at
// 2n - 2 = 6 with the limit 6). Candidate lists: h0 C {1 C, 4 F, 11 Am}, h1 E {1, 11, 15 E},
// h2 F {4, 14 Dm}, h3 A {4, 11, 14}, h4 G {1, 5 G} (V closes), h5 B {5}, h6 and h7 {1}.
// Fits on the halves {C,E} {E,G} {F,A} {A,C} {G,B} {B,D} {C} {}: C 50 50 0 25 25 0 50 0,
// F 25 0 50 50 0 0, G 0 25 0 0 50 50, Am 50 25 25 50 0 0, Dm 0 0 50 25 0 25, E 25 25 0 0 25 25.
// Shared notes, 40 each: C-C 120, C-F 40, C-G 40, C-Am 80, C-E 40, F-F 120, F-Am 80, F-Dm 80,
// G-C 40, G-G 120, G-Dm 40, Am-C 80, Am-F 80, Am-Am 120, Am-Dm 40, Am-E 40, Dm-F 80, Dm-G 40,
// Dm-Am 40, Dm-Dm 120, E-C 40, E-Am 40.
//
// AcMode 1 and 4 (Ok2Next alone), from the back: h5 [G-C 40+50+50 = 140]; h4 [C-G 115+140 = 255,
// G-G 220+140 = 360]; h3 [F: 460 via G, Am: 460 via G, Dm: 475 via G]; h2 [F: F-F 220+460 = 680,
// Dm: Dm-Dm 195+475 = 670]; h1 [C: C-F 140+680 = 820, Am: 155+680 = 835, E: 75+680 = 755];
// h0 [C: C-C 220+820 = 1040, F: F-Am 130+835 = 965, Am: Am-Am 195+835 = 1030] -> dump
// "001040,000965,001030,", path C C F F G G C C.
// AcMode 2 and 3 add +50 for a change of chord between different main notes (-30 for the same
// chord) and the step bonuses (I-IV, IV-V, V-I and repeats +200, +100 more across a bar line;
// relative steps +100; 4-15, 5-4 and relative repeats lose the bar line's 100): h5 [490];
// h4 [655, 880]; h3 [F 1330, Am 1030, Dm 1245]; h2 [F 1720, Dm 1610]; h1 [C 2210, Am 2125,
// E 1745]; h0 [C-C 190+200+2210 = 2600, F-C 165+2210 = 2375, Am-Am 165+200+2125 = 2490] ->
// "002600,002375,002490,", the same path.
// Passes: the last four free measures get codes 4 3 2 1, the last becomes 8; the middle
// cadences (measures 1 and 2, a = 2, h = 1) lose code 3 but keep 2 -> 4 0 2 8. G before C gets
// its seventh. AcMode 2: the note chords (Em on E, Am on A, G on B) fit no better. AcMode 3
// and 4 colour: C, F and G take 'M' (equal fit, their ninths D, G, A sound in the song); G7's
// colour M7 fits no better and has a seventh. Finishing: style 1 at measure 0, repeated chords
// blanked, the last second half blank.
TEST_F(TressilTest, CadenceMelodyInCMajorByMode) {
    struct Case {
        int mode;
        const char* pathScores;
        std::vector<std::string> records;
    };
    const std::vector<std::string> plain = {
        "000:4:C....:2:.....:4:1:C  Major  ;",
        "001:0:F....:2:.....:0:0:          ;",
        "002:2:G....:2:G..7.:2:0:          ;",
        "003:8:C....:2:.....:8:0:          ;",
    };
    const std::vector<std::string> coloured = {
        "000:4:C.M..:2:.....:4:1:C  Major  ;",
        "001:0:F.M..:2:.....:0:0:          ;",
        "002:2:G.M..:2:G..7.:2:0:          ;",
        "003:8:C....:2:.....:8:0:          ;",
    };
    const Case cases[] = {
        {1, "001040,000965,001030,", plain},
        {2, "002600,002375,002490,", plain},
        {3, "002600,002375,002490,", coloured},
        {4, "001040,000965,001030,", coloured},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        WriteSong(folder, CadenceSong(), KeyLine(1, 0));
        const auto result = RunTressil(folder, std::to_string(c.mode) + " {hwnd} 2426 0");
        EXPECT_EQ(result.exitCode, 0);
        ASSERT_TRUE(result.completion.has_value());
        EXPECT_EQ(result.completion->lParam, 0u);
        EXPECT_GE(result.completion->wParam, 49u);
        EXPECT_LE(result.completion->wParam, 57u);
        EXPECT_EQ(result.records, c.records);
        EXPECT_EQ(result.pathScores, c.pathScores);
        EXPECT_EQ(result.errorText, "");
    }
}

TEST_F(TressilTest, SeededRunKeyIsReproducible) {
    WriteSong(folder, CadenceSong(), KeyLine(1, 0));
    const auto first = RunTressil(folder, "1 {hwnd} 2426 0");
    const auto bytes = folder.ReadBytes("Data.aco");
    const auto second = RunTressil(folder, "1 {hwnd} 2426 0");
    ASSERT_TRUE(first.completion && second.completion);
    EXPECT_EQ(first.completion->wParam, second.completion->wParam);
    EXPECT_EQ(folder.ReadBytes("Data.aco"), bytes);
    EXPECT_EQ(bytes.size(), 4 * 35u);
}

enum class Completion { kNone, kFailed };

struct CheckCase {
    const char* name;
    std::function<void(const testsupport::TempProgramFolder&)> prepare;
    std::string args;
    std::string message;
    Completion completion = Completion::kFailed;
};

std::string LongSong(int lines) {
    std::string notes = "0,+,C,4,120,4/4\r\n";
    for (int i = 0; i < lines; ++i) notes += "C;\r\n";
    return notes;
}

auto WithNotes(std::string notesAco) {
    return [notesAco](const testsupport::TempProgramFolder& f) { f.Write("Notes.aco", notesAco); };
}
auto WithHeader(const std::string& header) {
    return WithNotes(header + "\r\nC;E\r\n");
}
auto WithKeys(std::string keys) {
    return [keys](const testsupport::TempProgramFolder& f) { f.Write("KeysData.Aco", keys); };
}
auto Without(std::string name) {
    return [name](const testsupport::TempProgramFolder& f) {
        std::filesystem::remove(f.path() / name);
    };
}

TEST_F(TressilTest, EveryCheckOfTheDriver) {
    const std::string ok = "1 {hwnd} 2426 0";
    const CheckCase cases[] = {
        {"three tokens", nullptr, "1 {hwnd} 2426", "", Completion::kNone},
        {"five tokens", nullptr, "1 {hwnd} 2426 0 0", "", Completion::kNone},
        {"zero handle", nullptr, "1 0 2426 0", "", Completion::kNone},
        {"wrong version", nullptr, "1 {hwnd} 2425 0", ""},
        {"AcMode 0", nullptr, "0 {hwnd} 2426 0", "AcMode <= 0"},
        {"no Temps2.aco", Without("Temps2.aco"), ok, "Temps2.aco not found."},
        {"no Notes.aco", Without("Notes.aco"), ok, "\nNotes.aco not found."},
        {"no number", WithHeader("x,+,C,4,120,4/4"), ok, "\nSoDau Error.\n"},
        {"no comma", WithHeader("0"), ok, "\nFirst ',' not found."},
        {"one comma", WithHeader("0,+"), ok, "\nSecond ',' not found."},
        {"no sign", WithHeader("0,x,C,4,120,4/4"), ok, "\n+/- not found."},
        {"two commas", WithHeader("0,+,C"), ok, "\nThird ',' not found."},
        {"bad last note", WithHeader("0,+,H,4,120,4/4"), ok, "\nInvalid Note End."},
        {"7 flats", WithHeader("7,-,Cb,4,120,4/4"), ok,
         "Cannot work with this Key Signature\nPlease transpose your song into another Key."},
        {"8 sharps", WithHeader("8,+,C,4,120,4/4"), ok,
         "Cannot work with this Key Signature\nPlease transpose your song into another Key."},
        {"no such key", WithHeader("1,+,C,4,120,4/4"), ok,
         "Cannot understand this song!\nVerify 'Key Signature' and 'Last Note' in the song."},
        {"no measure count", WithHeader("0,+,C,"), ok, "\nTsNhipT not found."},
        {"zero measures", WithHeader("0,+,C,0,120,4/4"), ok, "\nInvalid TsNhipT 0"},
        {"261 measures", WithHeader("0,+,C,261,120,4/4"), ok,
         "Out of memory. The input song has too many measures: 261."},
        {"no time signature", WithHeader("0,+,C,4,120,"), ok,
         "\nCannot find the Timesignature in the input data file."},
        {"odd time signature", WithHeader("0,+,C,4,120,5/4"), ok,
         "\nInvalid Timesignature in the input data file."},
        {"261 lines", WithNotes(LongSong(261)), ok,
         "Out of memory. The input song has too many measures: 261."},
        {"long note name", WithNotes("0,+,C,1,120,4/4\r\nC#b;\r\n"), ok,
         "\nError: One Note must be maximum 2-characters long.\n"},
        {"unknown note name", WithNotes("0,+,C,1,120,4/4\r\nX;\r\n"), ok, "\nError GetNote_s.\n"},
        {"no Notes.dat", Without("Notes.dat"), ok, "\nNotes.dat not found."},
        {"no key list", Without("KeysData.Aco"), ok, "Cannot open KeysData.Aco for reading."},
        {"short key line", WithKeys("001:00\r\n"), ok,
         "GetLine Error: nKq != 3 in KeyData <KeysData.Aco>"},
        {"key code 28", WithKeys("001:28;C  Major\r\n"), ok,
         "Invalid KeyCode (28) in KeyData <KeysData.Aco>"},
        {"measure 0", WithKeys("000:00;C  Major\r\n"), ok,
         "Invalid measure number (0) in KeyData <KeysData.Aco>"},
        {"empty key list", WithKeys(""), ok, "Error: No key data in <KeysData.Aco>."},
        {"no measures", WithNotes("0,+,C,1,120,4/4\r\n"), ok,
         "Error: No key data in <KeysData.Aco>."},
        {"Data.aco not writable",
         [](const testsupport::TempProgramFolder& f) {
             std::filesystem::create_directory(f.path() / "Data.aco");
             f.Write("Data.aco/x", "keep");
         },
         ok, "\nCannot create Data.aco. (Is a directory)"},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempProgramFolder own;
        WriteSong(own, CadenceSong(), KeyLine(1, 0));
        if (c.prepare) c.prepare(own);
        const auto result = RunTressil(own, c.args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.errorText, c.message);
        if (c.completion == Completion::kNone) {
            EXPECT_FALSE(result.completion.has_value());
        } else {
            ASSERT_TRUE(result.completion.has_value());
            EXPECT_EQ(*result.completion, (platform::Completion{kKeyUp, 49, kFailed}));
        }
        EXPECT_FALSE(own.Exists("Data.aco") &&
                     !std::filesystem::is_directory(own.path() / "Data.aco"));
    }
}

TEST_F(TressilTest, WarningForSeveralNamesStillSucceeds) {
    auto files = CadenceSong();
    files.notesAco = "0,+,C,4,120,4/4\r\nC,D;E\r\nF;A\r\nG;B\r\nC;\r\n";
    WriteSong(folder, files, KeyLine(1, 0));
    const auto result = RunTressil(folder, "1 {hwnd} 2426 0");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errorText, "\nWarning: Too many Notes, only first will be used.");
    EXPECT_EQ(result.records.size(), 4u);
    EXPECT_EQ(folder.ReadText("MsInfo.dat"), "0\r\n0\r\n");
}

TEST_F(TressilTest, KeyListLines) {
    // The first line counts from measure 1; a line at the last measure ends the list.
    WriteSong(folder, CadenceSong(), KeyLine(3, 16) + KeyLine(4, 2));
    auto result = RunTressil(folder, "1 {hwnd} 2426 0");
    ASSERT_EQ(result.records.size(), 4u);
    EXPECT_EQ(result.records[0].substr(24, 10), "F  Major  ");
    for (const auto& record : result.records) EXPECT_EQ(record[12], '7');
    EXPECT_EQ(result.records[2].substr(24, 10), "          ");
    EXPECT_EQ(result.records[3].substr(24, 10), "          ");
}

TEST_F(TressilTest, OneMeasureSongGetsItsChord) {
    WriteSong(folder, MakeSongFiles("0,+,C,1,120,4/4", {{"C", "G"}}), KeyLine(1, 0));
    const auto result = RunTressil(folder, "2 {hwnd} 2426 0");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.records, (std::vector<std::string>{"000:8:C....:2:.....:8:1:C  Major  ;"}));
    EXPECT_EQ(result.pathScores, "000000,");
}

}  // namespace
}  // namespace chordmaker
