#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/hex_text.h"
#include "tests/support/program_folder.h"
#include "tests/support/song_builder.h"

namespace {

using testsupport::RunWorker;
using testsupport::SimpleSong;
using testsupport::TempProgramFolder;

constexpr std::uint32_t kKeyUp = 257;
constexpr std::uint32_t kFailed = 0x20000000;

std::vector<std::uint8_t> Fixture(const std::string& name) {
    return testsupport::BytesFromHexText(testsupport::ReadTextFile(
        testsupport::SourceDir() / "tests/workers/songloader/fixtures" / name));
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::string BeatPattern(const std::vector<int>& onSlots) {
    std::string text;
    for (int slot = 0; slot < 48; ++slot) {
        const bool on = std::find(onSlots.begin(), onSlots.end(), slot) != onSlots.end();
        text += on ? "1\r\n" : "0\r\n";
    }
    return text;
}

testsupport::WorkerRun Load(const TempProgramFolder& folder, const std::string& mode) {
    return RunWorker("Ambrel", folder.path(), mode + " InPut.bin {hwnd} 2426");
}

void ExpectSuccess(const testsupport::WorkerRun& run, const TempProgramFolder& folder) {
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_TRUE(run.completion);
    EXPECT_EQ(*run.completion, (platform::Completion{kKeyUp, 47, 0}));
    EXPECT_EQ(folder.ReadText("Error1.msg"), "");
}

// The expected files were traced by hand through the main-note rules; the trace for each
// half measure is in the fixture's comments and in the notes below.
//  /2: measure 1 first half: onset C(8 steps), then the sum pass G = 32 wins; second half: G 32.
//      measure 2: first half F 16; second half end pass F, sum pass C(24) wins over D(8).
//      The last C ends on the bar line of measure 3, which is not opened for it.
//  /1: as /2 in ticks, but the split is the half measure: D starts in the second half, and
//      the sum pass there ties D and C at 384, so D (first seen) wins.
//  /0: one note a measure; the onset pass is enough (weights above 3), first half wins a tie.
TEST(SongLoaderTest, SmallSongInEveryMode) {
    struct Case {
        std::string mode;
        std::vector<std::string> mainNotes;
        std::vector<std::string> stats;
        std::vector<std::string> halves;
    };
    const std::vector<std::string> quantisedHalves = {"060;064;", "000;", "065;062;", "000;"};
    const std::vector<Case> cases = {
        {"/2", {"G;G", "F;C"}, {"067;16;067;16;003;080", "065;00;060;24;004;050"}, quantisedHalves},
        {"/1",
         {"G;G", "F;D"},
         {"067;16;067;16;003;080", "065;00;062;16;004;060"},
         {"060;064;", "000;", "065;", "062;"}},
        {"/0", {"C;C", "F;F"}, {"060;00;060;00;003;100", "065;00;065;00;004;070"}, quantisedHalves},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        TempProgramFolder folder;
        folder.Write("InPut.bin", Fixture("c_major_4_4.txt"));
        const auto run = Load(folder, c.mode);
        ExpectSuccess(run, folder);
        EXPECT_EQ(folder.ReadText("Notes.aco"), "0,+,C,2,120,4/4\r\n" + Lines(c.mainNotes));
        EXPECT_EQ(folder.ReadText("Temps.aco"), Lines(c.mainNotes));
        EXPECT_EQ(folder.ReadText("Temps2.aco"), Lines(c.stats));
        EXPECT_EQ(folder.ReadText("Notes.dat"), Lines(c.halves));
        EXPECT_EQ(folder.ReadText("BtData.dat"), BeatPattern({0, 12, 24, 36}));
    }
}

TEST(SongLoaderTest, ThreeFourSongWithFlatsPutsEveryNoteInTheFirstHalf) {
    SimpleSong song;
    song.numerator = 3;
    song.keySign = -2;    // B flat major
    song.tempo = 625000;  // 96 beats per minute
    song.notes = {{0, 384, 70, 90}, {384, 768, 74, 80}, {768, 1152, 77, 70}, {1152, 2300, 70, 60}};
    TempProgramFolder folder;
    folder.Write("InPut.bin", testsupport::BuildSong(song));
    ExpectSuccess(Load(folder, "/2"), folder);
    // Measure 1: F still sounds at the flush, so it is left out of the halves but wins the sum
    // pass of the first half (32 steps) and the onset pass of the second.
    EXPECT_EQ(folder.ReadText("Notes.aco"), "2,-,Bb,2,96,3/4\r\nF;F\r\nBb;Bb\r\n");
    EXPECT_EQ(folder.ReadText("Notes.dat"), Lines({"070;062;", "000;", "070;", "000;"}));
    EXPECT_EQ(folder.ReadText("Temps2.aco"),
              Lines({"077;16;077;16;003;070", "070;00;070;00;002;060"}));
}

TEST(SongLoaderTest, MelodyStartingInMeasureFourWritesThreeEmptyMeasuresFirst) {
    SimpleSong song;
    song.tempo = 0;
    song.notes = {{3 * 1536, 3 * 1536 + 1536, 67, 100}};
    TempProgramFolder folder;
    folder.Write("InPut.bin", testsupport::BuildSong(song));
    ExpectSuccess(Load(folder, "/2"), folder);
    // The song ends with the measure its only note fills; no tempo event gives 0.
    EXPECT_EQ(folder.ReadText("Notes.aco"), "0,+,G,4,0,4/4\r\n;\r\n;\r\n;\r\nG;\r\n");
    EXPECT_EQ(folder.ReadText("Temps2.aco"),
              Lines({"000;00;000;00;000;000", "000;00;000;00;000;000", "000;00;000;00;000;000",
                     "067;00;000;00;001;100"}));
}

TEST(SongLoaderTest, TwoHundredSixtyMeasuresLoadAndTheNextOneFails) {
    SimpleSong song;
    for (int m = 0; m < 260; ++m)
        song.notes.push_back({m * 1536, m * 1536 + 1535, 60 + m % 12, 100});
    TempProgramFolder folder;
    folder.Write("InPut.bin", testsupport::BuildSong(song));
    ExpectSuccess(Load(folder, "/2"), folder);
    EXPECT_EQ(folder.ReadText("Notes.aco").substr(0, 17), "0,+,G,260,120,4/4");

    song.notes.push_back({260 * 1536, 260 * 1536 + 100, 60, 100});
    folder.Write("InPut.bin", testsupport::BuildSong(song));
    const auto run = Load(folder, "/2");
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_TRUE(run.completion);
    EXPECT_EQ(*run.completion, (platform::Completion{kKeyUp, 47, kFailed}));
    EXPECT_EQ(folder.ReadText("Error1.msg"),
              "Out of memory. The input song has too many measures.");
}

TEST(SongLoaderTest, ASongEndingOnTheLastBarLineOfTheTableLoads) {
    // The last note's note-off falls on the first tick of measure 261, which is not opened.
    SimpleSong song;
    for (int m = 0; m < 260; ++m)
        song.notes.push_back({m * 1536, (m + 1) * 1536, 60 + m % 12, 100});
    TempProgramFolder folder;
    folder.Write("InPut.bin", testsupport::BuildSong(song));
    ExpectSuccess(Load(folder, "/2"), folder);
    EXPECT_EQ(folder.ReadText("Notes.aco").substr(0, 17), "0,+,G,260,120,4/4");
}

TEST(SongLoaderTest, FailuresWriteTheirMessageAndPostTheFailure) {
    struct Case {
        std::string name;
        std::string song;  // fixture text; empty means no song file at all
        std::string message;
    };
    const std::string conductor = R"("MThd" 00 00 00 06 00 01 00 02 01 80 "MTrk" 00 00 00 00
                                     00 FF 58 04 04 02 60 08 00 FF 2F 00 "MTrk" 00 00 00 00 )";
    const std::vector<Case> cases = {
        {"missing song", "", " InPut.bin not found."},
        {"no notes", conductor + "00 FF 2F 00",
         "!No note found. May be your melody is not on the Track 1."},
        {"format 0", R"("MThd" 00 00 00 06 00 00 00 01 01 80)", "!Unsupported file format."},
        {"running status", conductor + "00 90 3C 40 60 3E 40", "!Found an Invalid Event."},
        {"40 notes",
         conductor +
             [] {
                 std::string notes;
                 for (int i = 0; i < 40; ++i) notes += "00 90 3C 40 ";
                 return notes;
             }(),
         "Measure 000 error: Too many notes 39\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramFolder folder;
        if (!c.song.empty()) folder.Write("InPut.bin", testsupport::BytesFromHexText(c.song));
        const auto run = Load(folder, "/2");
        EXPECT_EQ(run.exitCode, 1);
        ASSERT_TRUE(run.completion);
        EXPECT_EQ(*run.completion, (platform::Completion{kKeyUp, 47, kFailed}));
        EXPECT_EQ(folder.ReadText("Error1.msg"), c.message);
    }
}

TEST(SongLoaderTest, MeasureFilesThatCannotBeCreatedFailTheRun) {
    // A folder in the way of a file makes its creation fail.
    const std::pair<std::string, std::string> cases[] = {
        {"Temps.aco", "Cannot create Temps.aco. (Is a directory)"},
        {"Notes.dat", "Cannot create Notes.dat. (Is a directory)"},
        {"Notes.aco", "Cannot create file Notes.aco. (Is a directory)"},
    };
    for (const auto& [blocked, message] : cases) {
        SCOPED_TRACE(blocked);
        TempProgramFolder folder;
        folder.Write("InPut.bin", Fixture("c_major_4_4.txt"));
        std::filesystem::create_directory(folder.path() / blocked);
        const auto run = Load(folder, "/2");
        EXPECT_EQ(run.exitCode, 1);
        ASSERT_TRUE(run.completion);
        EXPECT_TRUE(run.completion->failed());
        EXPECT_EQ(folder.ReadText("Error1.msg"), message);
    }
}

TEST(SongLoaderTest, ABlockedBeatPatternIsNoError) {
    TempProgramFolder folder;
    folder.Write("InPut.bin", Fixture("c_major_4_4.txt"));
    std::filesystem::create_directory(folder.path() / "BtData.dat");
    ExpectSuccess(Load(folder, "/2"), folder);
}

TEST(SongLoaderTest, CommandLineFailuresAreSilentAndPostOnlyWhenTheHandleIsKnown) {
    struct Case {
        std::string args;
        bool completion;
    };
    const std::vector<Case> cases = {
        {"/2 InPut.bin {hwnd}", false},                                // three fields
        {"/2 InPut.bin {hwnd} 2426 x", false},                         // five fields
        {"/2  InPut.bin {hwnd} 2426", false},                          // an empty field makes five
        {"/2 InPut.bin 0 2426", false},                                // no handle
        {"/2 InPut.bin {hwnd} 2425", true},                            // wrong version stamp
        {"/3 InPut.bin {hwnd} 2426", true},                            // unknown mode
        {"/2 InPut.bin {hwnd} 2426 " + std::string(480, 'x'), false},  // 500 characters or more
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.substr(0, 40));
        TempProgramFolder folder;
        folder.Write("InPut.bin", Fixture("c_major_4_4.txt"));
        const auto run = RunWorker("Ambrel", folder.path(), c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.completion.has_value(), c.completion);
        if (run.completion) {
            EXPECT_TRUE(run.completion->failed());
        }
        EXPECT_EQ(folder.ReadText("Error1.msg"), "");
        EXPECT_FALSE(folder.Exists("Notes.aco"));
    }
}

}  // namespace
