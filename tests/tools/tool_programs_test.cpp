// The stylec and decodeout programs as a build or an author runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "formats/output_coding.h"
#include "tests/formats/sample_style.h"
#include "tests/support/program_folder.h"

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string errors;
};

ToolRun RunTool(const testsupport::TempProgramFolder& folder, const std::string& command) {
    const std::string line = "cd '" + folder.path().string() + "' && " + command + " 2>errors.txt";
    const int status = std::system(line.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errors = folder.ReadText("errors.txt");
    return run;
}

const std::string kStylec = STYLEC_PROGRAM;
const std::string kDecodeout = DECODEOUT_PROGRAM;

TEST(Stylec, CompilesDecodesAndCompilesToTheSameBytes) {
    testsupport::TempProgramFolder folder;
    folder.Write("demo.txt", testsupport::kSampleStyle);
    ASSERT_EQ(RunTool(folder, kStylec + " compile demo.txt").exitCode, 0);
    ASSERT_TRUE(folder.Exists("Demo05.sty"));
    ASSERT_EQ(RunTool(folder, kStylec + " decode Demo05.sty -o back.txt").exitCode, 0);
    ASSERT_EQ(RunTool(folder, "mkdir again && " + kStylec + " compile back.txt -o again").exitCode,
              0);
    EXPECT_EQ(folder.ReadBytes("again/Demo05.sty"), folder.ReadBytes("Demo05.sty"));
}

TEST(Stylec, RefusalsNameTheFileAndLine) {
    testsupport::TempProgramFolder folder;
    std::string text(testsupport::kSampleStyle);
    text.replace(text.find("  playmode 2"), 12, "  playmode 7");
    folder.Write("bad.txt", text);
    const ToolRun bad = RunTool(folder, kStylec + " compile bad.txt");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.errors, "bad.txt:13: playmode must be 0 to 3\n");
    EXPECT_FALSE(folder.Exists("Demo05.sty"));

    folder.Write("demo.txt", testsupport::kSampleStyle);
    const ToolRun renamed = RunTool(folder, kStylec + " compile demo.txt -o Demo12.sty");
    EXPECT_EQ(renamed.exitCode, 1);
    EXPECT_NE(renamed.errors.find("write it as Demo05.sty"), std::string::npos) << renamed.errors;

    folder.Write("odd.sty", std::string("Mtrk,"));
    EXPECT_EQ(RunTool(folder, kStylec + " decode odd.sty").exitCode, 1);
}

// The composer's coding of the bytes after the plain part, which decodeout undoes.
std::string Coded(const std::string& plain, int runCode) {
    std::vector<std::uint8_t> coded;
    formats::OutputTrackCoder(runCode).Append(
        std::span(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size()), coded);
    return {coded.begin(), coded.end()};
}

const std::string kHeader = std::string("MThd\0\0\0\6\0\1\0\3\1\x80", 14);
const std::string kEndOnlyTrack = std::string("MTrk\0\0\0\4\0\xFF\x2F\0", 12);

TEST(Decodeout, WritesThePlainSong) {
    testsupport::TempProgramFolder folder;
    // Header, two plain tracks of one end event each, then a third one coded with run code 70.
    const std::string plain = kHeader + kEndOnlyTrack + kEndOnlyTrack;
    folder.Write("ComposeOut.bin", plain + Coded(kEndOnlyTrack, 70));
    ASSERT_EQ(RunTool(folder, kDecodeout + " ComposeOut.bin 70 song.mid").exitCode, 0);
    EXPECT_EQ(folder.ReadText("song.mid"), plain + kEndOnlyTrack);
    EXPECT_EQ(RunTool(folder, kDecodeout + " ComposeOut.bin seventy song.mid").exitCode, 2);
    folder.Write("short.bin", std::string("MThd"));
    EXPECT_EQ(RunTool(folder, kDecodeout + " short.bin 70 song2.mid").exitCode, 1);
    EXPECT_FALSE(folder.Exists("song2.mid"));
}

// A song whose chunks do not add up would be taken for a song by whoever opens it; it is not
// written, and an earlier song under the name stays.
TEST(Decodeout, RefusesASongWhoseChunksAreBroken) {
    struct Case {
        const char* what;
        std::string output;
        int runCode;
    };
    const std::string plain = kHeader + kEndOnlyTrack + kEndOnlyTrack;
    const std::string third = Coded(kEndOnlyTrack, 70);
    const Case cases[] = {
        {"the last track cut short", plain + third.substr(0, 10), 70},
        {"one coded byte where a track should be", plain + Coded(std::string(1, '\0'), 70), 70},
        {"another run's code", plain + third, 71},
        {"a track fewer than the header says", plain, 70},
        {"a stray byte after the last track", plain + third + "x", 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempProgramFolder folder;
        folder.Write("ComposeOut.bin", c.output);
        folder.Write("song.mid", std::string("earlier song"));
        const ToolRun run = RunTool(
            folder, kDecodeout + " ComposeOut.bin " + std::to_string(c.runCode) + " song.mid");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.errors.find("song.mid is not written"), std::string::npos) << run.errors;
        EXPECT_EQ(folder.ReadText("song.mid"), "earlier song");
    }
}

// A run killed before its rename leaves its temporary beside the file it was writing; the next
// run of either tool removes it, and only the leftovers of the file it writes.
TEST(ToolPrograms, RemoveTheLeftoversOfAKilledRun) {
    struct Case {
        const char* what;
        std::string command;
        const char* leftover;
    };
    const Case cases[] = {
        {"stylec", kStylec + " compile demo.txt", "Demo05.tmp-k3Jf9Q.sty"},
        {"decodeout", kDecodeout + " ComposeOut.bin 70 song.mid", "song.tmp-k3Jf9Q.mid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempProgramFolder folder;
        folder.Write("demo.txt", testsupport::kSampleStyle);
        folder.Write("ComposeOut.bin",
                     kHeader + kEndOnlyTrack + kEndOnlyTrack + Coded(kEndOnlyTrack, 70));
        folder.Write(c.leftover, std::string("half written"));
        folder.Write("Other.tmp-k3Jf9Q.sty", std::string("someone else's"));
        ASSERT_EQ(RunTool(folder, c.command).exitCode, 0);
        EXPECT_FALSE(folder.Exists(c.leftover));
        EXPECT_TRUE(folder.Exists("Other.tmp-k3Jf9Q.sty"));
    }
}

}  // namespace
