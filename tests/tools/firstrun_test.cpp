// firstrun, the command form of what the window's Make sends on a first run: the play options
// it writes and the composer's tokens it prints for runworker, and its refusals.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "tests/support/program_folder.h"
#include "tools/firstrun/first_run.h"

namespace {

using testsupport::RunCommand;
using testsupport::TempProgramFolder;

const std::string kFirstRun = FIRSTRUN_PROGRAM;
// A line of "vPara.dat": 16 values of three digits, 15 commas, CR LF.
constexpr std::size_t kLine = 65;

TEST(FirstRunTest, WritesThePlayOptionsAndPrintsTheComposersTokens) {
    TempProgramFolder folder;
    const std::array<std::string, 5> styles = {"8B4431.sty", "Ds4433.sty", "Rk4430.sty",
                                               "Bl4412.sty", "Bs4432.sty"};
    std::array<firstrun::SlotStyle, firstrun::kSlots> slots;
    std::string names;
    for (int s = 0; s < firstrun::kSlots; ++s) {
        std::filesystem::copy_file(testsupport::BinDir() / styles[s], folder.path() / styles[s]);
        slots[s] = {styles[s], folder.ReadBytes(styles[s])};
        names += " " + styles[s];
    }
    const auto run = RunCommand(kFirstRun + " '" + folder.path().string() + "' 96 55" + names);
    ASSERT_EQ(run.exitCode, 0);
    // Tempo class 2 for 96, echo levels 6 and 5, echo voices 50 and 90, no automatic octave.
    EXPECT_EQ(run.output, "2 6 5 1" + names + " 49 89 55 {hwnd} 0 0 0 1 2426\n");
    const auto request = firstrun::FirstRunMake(slots, 96, 55, 0);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(folder.ReadText("vPara.dat"), request->vPara);
    // Every slot at 80 percent with the styles' own programs and volumes; the first slot's drums
    // play from the start whatever their style proposes.
    EXPECT_EQ(request->vPara.substr(0, kLine),
              "080,000,000,000,000,000,000,000,000,000,000,001,000,003,001,001\r\n");
    EXPECT_EQ(request->vPara.substr(3 * kLine, kLine),
              "080,000,000,000,000,000,000,000,000,000,000,001,000,003,000,000\r\n");
}

TEST(FirstRunTest, RefusesWhatItCannotUse) {
    TempProgramFolder folder;
    const std::string at = kFirstRun + " '" + folder.path().string() + "'";
    EXPECT_EQ(RunCommand(kFirstRun + " 2>/dev/null").exitCode, 2);
    EXPECT_EQ(RunCommand(at + " fast 55 a b c d e 2>/dev/null").exitCode, 2);
    const auto missing = RunCommand(at + " 120 55 A.sty A.sty A.sty A.sty A.sty 2>&1");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.output, "firstrun: cannot read " + folder.path().string() + "/A.sty\n");
    EXPECT_FALSE(folder.Exists("vPara.dat"));
}

}  // namespace
