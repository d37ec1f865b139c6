// The stylec and decodeout programs as a build or an author runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/support/program_folder.h"
#include "tests/workers/styles/sample_style.h"

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
    folder.Write("demo.txt", stylec_test::kSampleStyle);
    ASSERT_EQ(RunTool(folder, kStylec + " compile demo.txt").exitCode, 0);
    ASSERT_TRUE(folder.Exists("Demo05.sty"));
    ASSERT_EQ(RunTool(folder, kStylec + " decode Demo05.sty -o back.txt").exitCode, 0);
    ASSERT_EQ(RunTool(folder, "mkdir again && " + kStylec + " compile back.txt -o again").exitCode,
              0);
    EXPECT_EQ(folder.ReadBytes("again/Demo05.sty"), folder.ReadBytes("Demo05.sty"));
}

TEST(Stylec, RefusalsNameTheFileAndLine) {
    testsupport::TempProgramFolder folder;
    std::string text(stylec_test::kSampleStyle);
    text.replace(text.find("  playmode 2"), 12, "  playmode 7");
    folder.Write("bad.txt", text);
    const ToolRun bad = RunTool(folder, kStylec + " compile bad.txt");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.errors, "bad.txt:13: playmode must be 0 to 3\n");
    EXPECT_FALSE(folder.Exists("Demo05.sty"));

    folder.Write("demo.txt", stylec_test::kSampleStyle);
    const ToolRun renamed = RunTool(folder, kStylec + " compile demo.txt -o Demo12.sty");
    EXPECT_EQ(renamed.exitCode, 1);
    EXPECT_NE(renamed.errors.find("write it as Demo05.sty"), std::string::npos) << renamed.errors;

    folder.Write("odd.sty", std::string("Mtrk,"));
    EXPECT_EQ(RunTool(folder, kStylec + " decode odd.sty").exitCode, 1);
}

TEST(Decodeout, WritesThePlainSong) {
    testsupport::TempProgramFolder folder;
    // Header, two plain tracks of one end event each, then one byte coded with run code 70.
    const std::string plain = std::string("MThd\0\0\0\6\0\1\0\3\1\x80", 14) +
                              std::string("MTrk\0\0\0\4\0\xFF\x2F\0", 12) +
                              std::string("MTrk\0\0\0\4\0\xFF\x2F\0", 12);
    folder.Write("ComposeOut.bin", plain + "\xB8");
    ASSERT_EQ(RunTool(folder, kDecodeout + " ComposeOut.bin 70 song.mid").exitCode, 0);
    EXPECT_EQ(folder.ReadText("song.mid"), plain + std::string(1, '\0'));
    EXPECT_EQ(RunTool(folder, kDecodeout + " ComposeOut.bin seventy song.mid").exitCode, 2);
    folder.Write("short.bin", std::string("MThd"));
    EXPECT_EQ(RunTool(folder, kDecodeout + " short.bin 70 song2.mid").exitCode, 1);
    EXPECT_FALSE(folder.Exists("song2.mid"));
}

}  // namespace
