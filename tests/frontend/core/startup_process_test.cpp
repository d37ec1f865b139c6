// The built program as a user starts it: its exit codes and the boxes it shows.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

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

// The private folder is the test's own ($XDG_RUNTIME_DIR/orvella), never the user's.
TEST_F(ProcessTest, AnUnusablePrivateFolderIsSaidOnceAndEndsTheStart) {
    namespace fs = std::filesystem;
    const fs::path runtime = std::getenv("XDG_RUNTIME_DIR");
    const fs::path privateFolder = runtime / "orvella";
    fs::create_directory(runtime / "ours");
    fs::permissions(runtime / "ours", fs::perms::owner_all, fs::perm_options::replace);
    const struct {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"open to everybody",
         [&] {
             fs::create_directory(privateFolder);
             fs::permissions(privateFolder,
                             fs::perms::owner_all | fs::perms::others_read |
                                 fs::perms::others_exec | fs::perms::group_read |
                                 fs::perms::group_exec,
                             fs::perm_options::replace);
         }},
        {"open to the group",
         [&] {
             fs::create_directory(privateFolder);
             fs::permissions(privateFolder, fs::perms::owner_all | fs::perms::group_read,
                             fs::perm_options::replace);
         }},
        {"a link to a folder of ours",
         [&] { fs::create_directory_symlink("ours", privateFolder); }},
        {"a file", [&] { WriteFile(privateFolder, "x"); }},
        {"another user's",
         [&] {
             fs::create_directory(privateFolder);
             fs::permissions(privateFolder, fs::perms::owner_all, fs::perm_options::replace);
             // Only the super-user can give it away; as anybody else the case is the next one's.
             if (::geteuid() == 0) {
                 ASSERT_EQ(::chown(privateFolder.c_str(), 65534, 65534), 0);
             }
         }},
    };
    qsizetype seen = 0;  // the boxes of the earlier runs
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(privateFolder);
        c.make();
        const ProcessRun run = RunCorvane();
        if (std::string(c.name) == "another user's" && ::geteuid() != 0) {
            EXPECT_EQ(run.exitCode, 0) << "our own closed folder is used";
            continue;
        }
        EXPECT_EQ(run.exitCode, kFatalExitCode) << run.output.toStdString();
        EXPECT_EQ(run.messageBoxes.mid(seen),
                  QStringList{"critical|Orvella|Orvella cannot use its private folder " +
                              QString::fromStdString(privateFolder.string()) +
                              ": the folder must belong to you and be closed to other users.\\n"
                              "Please have it removed, or made yours with mode 700, then start "
                              "Orvella again."});
        seen = run.messageBoxes.size();
    }
    fs::remove_all(privateFolder);
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
