// End-to-end runs of the key detector program in a temporary program folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/program_folder.h"
#include "tests/support/song_builder.h"
#include "tests/workers/keydetect/melody.h"

namespace keydetect {
namespace {

using testing::ClassOf;
using testsupport::RunWorker;
using testsupport::SongBuilder;
using testsupport::TempProgramFolder;

constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kDone = 46;
constexpr std::uint32_t kFailed = 0x20000000;

// The command line the key list editor builds: handle, version stamp, handle token, flag.
std::string SorvikArgs(platform::Hwnd handle, int keyChangeFlag, std::int64_t tokenOffset = 0) {
    const std::int64_t token = std::int64_t{handle} + 31470952 + 2426 + tokenOffset;
    return std::to_string(handle) + " 2426 " + std::to_string(token) + " " +
           std::to_string(keyChangeFlag);
}

void AppendNames(SongBuilder& song, std::string_view names, std::int64_t length) {
    while (!names.empty()) {
        const std::size_t space = names.find(' ');
        song.Append(60 + ClassOf(names.substr(0, space)), length);
        names = space == std::string_view::npos ? std::string_view{} : names.substr(space + 1);
    }
}

std::vector<std::uint8_t> GThenDMajorSong() {
    SongBuilder song;
    AppendNames(song, testing::kGMajorPart, testing::kQuarter);
    AppendNames(song, testing::kDMajorPart, testing::kQuarter);
    return song.Bytes();
}

// Segments of fourteen eighth notes (1.75 measures) that alternate between G major and D
// major, each opening with the class the other key lacks.
std::vector<std::uint8_t> AlternatingKeySong(int segments) {
    SongBuilder song;
    for (int i = 0; i < segments; ++i) {
        const std::string_view names = i % 2 == 0 ? "C G D B A E F#" : "C# D A F# E B G";
        AppendNames(song, names, 192);
        AppendNames(song, names, 192);
    }
    return song.Bytes();
}

TEST(SorvikTest, FindsTheKeyAndItsChangeFromGMajorToDMajor) {
    TempProgramFolder folder;
    folder.Write("InPut.bin", GThenDMajorSong());
    const auto run =
        RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 1); });
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_TRUE(run.completion.has_value());
    EXPECT_EQ(*run.completion, (platform::Completion{kKeyUp, kDone, 0}));
    EXPECT_EQ(folder.ReadText("KeyCode.dat"), "02\r\n");
    EXPECT_EQ(folder.ReadText("KeysData.Aco"), "001:02;G  Major\r\n009:04;D  Major\r\n");
    EXPECT_EQ(folder.ReadText("kInfo.aco"), "Neu la mot key => G Major\r\n(Sai so = 000384)\r\n");
    EXPECT_TRUE(folder.Exists("kErr1.msg"));
    EXPECT_EQ(folder.ReadText("kErr1.msg"), "");
}

TEST(SorvikTest, WithoutTheKeyChangeFlagWritesTheMelodysKeyOnly) {
    TempProgramFolder folder;
    folder.Write("InPut.bin", GThenDMajorSong());
    const auto run =
        RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 0); });
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_TRUE(run.completion.has_value());
    EXPECT_EQ(*run.completion, (platform::Completion{kKeyUp, kDone, 0}));
    EXPECT_EQ(folder.ReadText("KeyCode.dat"), "02\r\n");
    EXPECT_EQ(folder.ReadText("KeysData.Aco"), "001:02;G  Major\r\n");
}

TEST(SorvikTest, TooFewPitchClassesFailWithKeyCodeZero) {
    SongBuilder song;
    AppendNames(song, "C E C E C E C E", testing::kQuarter);
    AppendNames(song, "G B D", 32);  // short notes do not count
    TempProgramFolder folder;
    folder.Write("InPut.bin", song.Bytes());
    const auto run =
        RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 1); });
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_TRUE(run.completion.has_value());
    EXPECT_EQ(*run.completion, (platform::Completion{kKeyUp, kDone, kFailed}));
    EXPECT_EQ(folder.ReadText("KeyCode.dat"), "00\r\n");
    EXPECT_EQ(folder.ReadText("kInfo.aco"),
              "CreateKcnData() Error:\r\nKhong tim duoc Key cho truong hop co it hon ba not khac "
              "nhau.\r\n");
    EXPECT_FALSE(folder.Exists("KeysData.Aco"));
}

TEST(SorvikTest, AWrongFieldCountIsLoggedAndGetsNoCompletion) {
    const struct {
        const char* label;
        std::string (*args)(platform::Hwnd);
        std::string (*expected)(platform::Hwnd);
    } cases[] = {
        {"three fields", [](platform::Hwnd h) { return std::to_string(h) + " 2426 1"; },
         [](platform::Hwnd h) { return "<" + std::to_string(h) + ">\r\nsb(4) != sbVal(5)"; }},
        {"five fields", [](platform::Hwnd h) { return SorvikArgs(h, 1) + " extra"; },
         [](platform::Hwnd h) { return "<" + std::to_string(h) + ">\r\nsb(6) != sbVal(5)"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempProgramFolder folder;
        folder.Write("InPut.bin", GThenDMajorSong());
        platform::Hwnd handle = 0;
        const auto run = RunWorker("Sorvik", folder.path(), [&](platform::Hwnd h) {
            handle = h;
            return c.args(h);
        });
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.completion.has_value());
        EXPECT_EQ(folder.ReadText("kErr1.msg"), c.expected(handle));
        EXPECT_FALSE(folder.Exists("KeyCode.dat"));
    }
}

TEST(SorvikTest, AZeroHandleEndsTheRunBeforeReading) {
    TempProgramFolder folder;
    folder.Write("InPut.bin", GThenDMajorSong());
    const auto run = RunWorker("Sorvik", folder.path(), "0 2426 31473378 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(folder.Exists("KeyCode.dat"));
    EXPECT_EQ(folder.ReadText("kErr1.msg"), "");
}

TEST(SorvikTest, AWrongHandleTokenEndsSilentlyAfterTheKeyCode) {
    for (const std::int64_t offset : {1, -1}) {
        SCOPED_TRACE(offset);
        TempProgramFolder folder;
        folder.Write("InPut.bin", GThenDMajorSong());
        const auto run = RunWorker("Sorvik", folder.path(),
                                   [offset](platform::Hwnd h) { return SorvikArgs(h, 1, offset); });
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.completion.has_value());
        EXPECT_EQ(folder.ReadText("KeyCode.dat"), "02\r\n");
        EXPECT_FALSE(folder.Exists("KeysData.Aco"));
    }
}

TEST(SorvikTest, SongFailuresGoToTheErrorFileWithAFailureCompletion) {
    std::vector<std::uint8_t> formatZero = GThenDMajorSong();
    formatZero[9] = 0;  // the low byte of the format
    std::vector<std::uint8_t> longest;
    std::vector<std::uint8_t> tooLong;
    {
        // Sixteenth notes of C major, 16 to a measure, 250 measures for 4000 notes.
        SongBuilder song;
        constexpr int kCMajor[] = {0, 2, 4, 5, 7, 9, 11};
        for (int i = 0; i < 3999; ++i) song.Append(60 + kCMajor[i % 7], 96);
        longest = song.Bytes();
        song.Append(60, 96);
        tooLong = song.Bytes();
    }
    const struct {
        const char* label;
        const std::vector<std::uint8_t>* song;  // nullptr: no song file
        const char* error;
    } cases[] = {
        {"no song", nullptr, " InPut.bin not found."},
        {"the reader's message", &formatZero, "!Unsupported file format."},
        {"the 4000th note-on", &tooLong, "Too many NotOn in the melody track."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempProgramFolder folder;
        if (c.song != nullptr) folder.Write("InPut.bin", *c.song);
        const auto run =
            RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 1); });
        EXPECT_EQ(run.exitCode, 1);
        ASSERT_TRUE(run.completion.has_value());
        EXPECT_EQ(*run.completion, (platform::Completion{kKeyUp, kDone, kFailed}));
        EXPECT_EQ(folder.ReadText("kErr1.msg"), c.error);
        EXPECT_FALSE(folder.Exists("KeyCode.dat"));
    }

    // One note fewer is read to the end.
    TempProgramFolder folder;
    folder.Write("InPut.bin", longest);
    const auto run =
        RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 1); });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(folder.ReadText("KeysData.Aco"), "001:00;C  Major\r\n");
}

TEST(SorvikTest, ASongEndingOnTheLastBarLineOfTheTableIsRead) {
    // 260 whole-measure notes: the last note-off falls on the first tick of measure 261, which
    // the shared reader does not open, so it is no measure too many.
    SongBuilder song;
    constexpr int kCMajor[] = {0, 2, 4, 5, 7, 9, 11};
    for (int m = 0; m < 260; ++m) song.Append(60 + kCMajor[m % 7], 1536);
    TempProgramFolder folder;
    folder.Write("InPut.bin", song.Bytes());
    const auto run =
        RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 1); });
    EXPECT_EQ(run.exitCode, 0) << folder.ReadText("kErr1.msg");
    EXPECT_EQ(folder.ReadText("KeysData.Aco"), "001:00;C  Major\r\n");
}

TEST(SorvikTest, OutputFilesThatCannotBeCreated) {
    // A folder in the way of a file makes its creation fail.
    const struct {
        const char* label;
        const char* blocked;
        int exitCode;
        std::optional<platform::Completion> completion;
        const char* error;
        bool keyList;
    } cases[] = {
        {"the log: before the handle is known", "kInfo.aco", 1, std::nullopt,
         "Cannot create output file kInfo.aco (Is a directory)\r\n", false},
        {"the key code: the run goes on", "KeyCode.dat", 0, platform::Completion{kKeyUp, kDone, 0},
         "Cannot create KeyCode.dat to write KqKeyCode.\r\n", true},
        {"the key list: fatal", "KeysData.Aco", 1, platform::Completion{kKeyUp, kDone, kFailed},
         "Cannot create KeysData.Aco for output. (Is a directory)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempProgramFolder folder;
        folder.Write("InPut.bin", GThenDMajorSong());
        std::filesystem::create_directory(folder.path() / c.blocked);
        const auto run =
            RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 1); });
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.completion, c.completion);
        EXPECT_EQ(folder.ReadText("kErr1.msg"), c.error);
        if (c.keyList) {
            EXPECT_EQ(folder.ReadText("KeysData.Aco"), "001:02;G  Major\r\n009:04;D  Major\r\n");
        }
    }
}

TEST(SorvikTest, TheSixtyFourthKeyChangePointIsFatal) {
    TempProgramFolder folder;
    folder.Write("InPut.bin", AlternatingKeySong(64));
    const auto run =
        RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 1); });
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_TRUE(run.completion.has_value());
    EXPECT_EQ(*run.completion, (platform::Completion{kKeyUp, kDone, kFailed}));
    EXPECT_EQ(folder.ReadText("kErr1.msg"),
              "Too many Key Change Points (64) in the input melody.\r\n");
    EXPECT_TRUE(folder.Exists("KeyCode.dat"));
    EXPECT_FALSE(folder.Exists("KeysData.Aco"));
}

TEST(SorvikTest, SixtyThreeKeyChangePointsAreWritten) {
    TempProgramFolder folder;
    folder.Write("InPut.bin", AlternatingKeySong(63));
    const auto run =
        RunWorker("Sorvik", folder.path(), [](platform::Hwnd h) { return SorvikArgs(h, 1); });
    EXPECT_EQ(run.exitCode, 0);
    // The second segment starts on the fourth quarter of measure 2, so it counts from measure
    // 3; the last starts on the third quarter of measure 109.
    const std::string list = folder.ReadText("KeysData.Aco");
    ASSERT_EQ(list.size(), 63u * 17);
    EXPECT_EQ(list.substr(0, 34), "001:02;G  Major\r\n003:04;D  Major\r\n");
    EXPECT_EQ(list.substr(62 * 17), "110:02;G  Major\r\n");
}

}  // namespace
}  // namespace keydetect
