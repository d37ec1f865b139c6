// The built program as a user starts it: its exit codes and the boxes it shows.
#include <sys/stat.h>

#include <filesystem>

#include "tests/frontend/support/gui_harness.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::testing {
namespace {

class EmptyFolderTest : public CorvaneTest {
  protected:
    EmptyFolderTest() : CorvaneTest(/*withLibraryStyles=*/false) {}
};

TEST_F(EmptyFolderTest, NoStyleFileEndsWithItsMessage) {
    const ProcessRun run = RunCorvane();
    EXPECT_EQ(run.exitCode, kFatalExitCode) << run.output.toStdString();
    EXPECT_EQ(run.messageBoxes,
              QStringList{"critical|Orvella|Style data files xxxxxx.sty not found in " +
                          QString::fromStdString(folder().string()) + "/,. Cannot continue."});
}

TEST_F(EmptyFolderTest, NoValidStyleEndsWithItsMessage) {
    WriteFile(folder() / "Aa0001.sty", "Mtrk,");
    WriteFile(folder() / "Aa0002.sty", "Not a style file");
    const ProcessRun run = RunCorvane();
    EXPECT_EQ(run.exitCode, kFatalExitCode) << run.output.toStdString();
    EXPECT_EQ(run.messageBoxes,
              QStringList{"critical|Orvella|Cannot find any Valid Style Data, program will stop."});
}

class ProcessTest : public CorvaneTest {};

TEST_F(ProcessTest, StartsQuietlyOnTheShippedLibrary) {
    const ProcessRun run = RunCorvane();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.messageBoxes.isEmpty()) << run.messageBoxes.join("\n").toStdString();
}

TEST_F(ProcessTest, AFifoAtTheSettingsFileIsNoSettingsFile) {
    const std::filesystem::path settings = configHome() / "Orvella" / "Orvella 2426.ini";
    std::filesystem::create_directories(settings.parent_path());
    ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0);
    // Waiting in the FIFO's open, the program would never show its window.
    const ProcessRun run = RunCorvane(/*quitWhenShown=*/true, 20000);
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.messageBoxes.isEmpty()) << run.messageBoxes.join("\n").toStdString();
    EXPECT_EQ(std::filesystem::status(settings).type(), std::filesystem::file_type::fifo);
}

TEST_F(ProcessTest, SecondCopyInTheSameFolderEndsAtOnce) {
    auto first = LaunchCorvane(/*quitWhenShown=*/false);
    ASSERT_TRUE(WaitUntil([&] { return InstanceHeld(); }, 20000));
    const ProcessRun second = RunCorvane(/*quitWhenShown=*/false, 20000);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.output.isEmpty()) << second.output.toStdString();
    EXPECT_TRUE(second.messageBoxes.isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);
    first->kill();
    first->waitForFinished();
    EXPECT_TRUE(WaitUntil([&] { return !InstanceHeld(); }, 5000));
}

}  // namespace
}  // namespace corvane::testing
