// The completion receiver with a real worker: the song loader run on a fixture song reports
// completion code 47 to the handle on its command line.
#include "platform/qt/message_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <filesystem>

#include "platform/qt/worker_start.h"
#include "tests/frontend/support/fake_workers.h"
#include "tests/frontend/support/gui_harness.h"
#include "tests/frontend/support/program_files.h"
#include "tests/support/song_builder.h"

namespace corvane::testing {
namespace {

using platform::qt::MessageWindow;
using platform::qt::StartHidden;

struct KeyUps {
    std::vector<std::pair<int, int>> received;
    void Listen(MessageWindow& window) {
        QObject::connect(&window, &MessageWindow::KeyUp,
                         [this](int key, int shift) { received.emplace_back(key, shift); });
    }
};

class MessageWindowTest : public CorvaneTest {
  protected:
    std::string Folder() const { return folder().string(); }
    // A song the song loader takes, as its input.
    void WriteSongInput() {
        testsupport::SimpleSong song;
        for (int i = 0; i < 16; ++i) song.notes.push_back({i * 384, i * 384 + 300, 60 + i % 5, 90});
        WriteFile(folder() / "InPut.bin", testsupport::BuildSong(song));
    }
};

TEST_F(MessageWindowTest, SongLoaderCompletionArrivesAsKeyUp) {
    WriteSongInput();

    MessageWindow window;
    KeyUps keys;
    keys.Listen(window);
    const platform::Hwnd handle = window.Rebind();
    ASSERT_NE(handle, 0u);
    qint64 pid = 0;
    ASSERT_TRUE(
        StartHidden("Ambrel /2 InPut.bin " + std::to_string(handle) + " 2426", Folder(), &pid));
    EXPECT_GT(pid, 0);
    window.ExpectFrom(pid);
    ASSERT_TRUE(WaitUntil([&] { return !keys.received.empty(); }, 20000));
    EXPECT_EQ(keys.received, (std::vector<std::pair<int, int>>{{47, 0}}));
    EXPECT_TRUE(std::filesystem::exists(folder() / "Notes.aco"));

    // A failed run reports the same code with the Alt state.
    std::filesystem::remove(folder() / "InPut.bin");
    keys.received.clear();
    const platform::Hwnd next = window.Rebind();
    ASSERT_TRUE(
        StartHidden("Ambrel /2 InPut.bin " + std::to_string(next) + " 2426", Folder(), &pid));
    window.ExpectFrom(pid);
    ASSERT_TRUE(WaitUntil([&] { return !keys.received.empty(); }, 20000));
    EXPECT_EQ(keys.received, (std::vector<std::pair<int, int>>{{47, platform::qt::kAltMask}}));
}

// Any process of the user can send to the handle; only the worker started with it is heard.
// What another one sends (here the test itself), before the worker is named or while it runs,
// neither raises a key-up nor hides the worker's own answer.
TEST_F(MessageWindowTest, OnlyTheStartedWorkerIsHeard) {
    WriteSongInput();
    MessageWindow window;
    KeyUps keys;
    keys.Listen(window);
    const platform::Hwnd handle = window.Rebind();
    ASSERT_NE(handle, 0u);
    const platform::Completion foreign{platform::WM_KEYUP, 47, platform::kCompletionFailed};
    ASSERT_TRUE(platform::SendCompletion(handle, foreign));
    WaitUntil([] { return false; }, 200);
    EXPECT_TRUE(keys.received.empty());

    ASSERT_TRUE(platform::SendCompletion(handle, foreign));
    qint64 pid = 0;
    ASSERT_TRUE(
        StartHidden("Ambrel /2 InPut.bin " + std::to_string(handle) + " 2426", Folder(), &pid));
    window.ExpectFrom(pid);
    ASSERT_TRUE(platform::SendCompletion(handle, foreign));
    ASSERT_TRUE(WaitUntil([&] { return !keys.received.empty(); }, 20000));
    WaitUntil([] { return false; }, 200);
    EXPECT_EQ(keys.received, (std::vector<std::pair<int, int>>{{47, 0}}));
}

TEST_F(MessageWindowTest, RebindingLeavesTheOldHandleWithoutListener) {
    MessageWindow window;
    KeyUps keys;
    keys.Listen(window);
    const platform::Hwnd old = window.Rebind();
    const platform::Hwnd current = window.Rebind();
    ASSERT_NE(current, 0u);
    EXPECT_LE(current, platform::qt::kMaxFrontEndHandle);
    EXPECT_EQ(window.hWnd(), current);
    // The test stands for the worker started with the handle.
    window.ExpectFrom(::getpid());
    EXPECT_FALSE(platform::SendCompletion(old, {platform::WM_KEYUP, 49, 0}));
    ASSERT_TRUE(platform::SendCompletion(current, {platform::WM_LBUTTONUP, 60, 0}));
    WaitUntil([] { return false; }, 200);
    EXPECT_TRUE(keys.received.empty());
    ASSERT_TRUE(platform::SendCompletion(current, {platform::WM_KEYUP, 59, 0x20000000}));
    ASSERT_TRUE(WaitUntil([&] { return !keys.received.empty(); }));
    EXPECT_EQ(keys.received, (std::vector<std::pair<int, int>>{{59, 4}}));
    window.Close();
    EXPECT_EQ(window.hWnd(), 0u);
}

TEST_F(MessageWindowTest, StartRefusesWhatIsNotAProgramOfTheFolder) {
    EXPECT_FALSE(StartHidden("NoSuchWorker 1 2", Folder()));
    EXPECT_FALSE(StartHidden("../program/Ambrel 1", Folder()));
    EXPECT_FALSE(StartHidden("", Folder()));
    EXPECT_EQ(platform::qt::SplitCommandLine("Tressil 3  5"),
              (std::vector<std::string>{"Tressil", "3", "", "5"}));
}

// The key list and melody importer dialogs name files by their bytes too: a token that is not
// UTF-8 reaches the worker as it stands, and blanks split as they do for any other token.
TEST_F(MessageWindowTest, TokensReachTheWorkerByteForByte) {
    InstallFakeWorker(folder(), "Quenby", "code=none\n");
    const std::string tokens = "1 v\xE9gas.sty  m\xE9lodie.mid 5";
    ASSERT_TRUE(StartHidden("Quenby " + tokens, Folder()));
    ASSERT_TRUE(WaitUntil([&] { return FakeWorkerLog(folder(), "Quenby").size() == 2; }, 10000));
    EXPECT_EQ(FakeWorkerLog(folder(), "Quenby").front(), "start " + tokens);
}

// A started worker is the front end's child: once it has ended, nothing of it may stay behind in
// the process table, whether or not anything else is started after it.
TEST_F(MessageWindowTest, EndedWorkersLeaveNoProcessBehind) {
    WriteFile(folder() / "InPut.bin", "not a song");
    qint64 pid = 0;
    ASSERT_TRUE(StartHidden("Ambrel /2 InPut.bin 0 2426", Folder(), &pid));
    const std::string stat = "/proc/" + std::to_string(pid) + "/stat";
    EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(stat); }, 10000))
        << "the ended worker was not collected";

    // A worker ended by force is collected too.
    std::filesystem::remove(folder() / "Sorvik");
    std::filesystem::create_symlink("/bin/sleep", folder() / "Sorvik");
    ASSERT_TRUE(StartHidden("Sorvik 20", Folder(), &pid));
    EXPECT_TRUE(platform::qt::EndWorker(pid));
    EXPECT_TRUE(WaitUntil(
        [&] { return !std::filesystem::exists("/proc/" + std::to_string(pid) + "/stat"); }, 10000));
    // Its id, once collected, is free for any other process to take.
    EXPECT_FALSE(platform::qt::EndWorker(pid));
}

// Ending reaches only a worker the front end started and has not collected yet.
TEST_F(MessageWindowTest, EndLeavesOtherProcessesAlone) {
    QProcess other;
    other.start("/bin/sleep", {"20"});
    ASSERT_TRUE(other.waitForStarted());
    EXPECT_FALSE(platform::qt::EndWorker(other.processId()));
    EXPECT_FALSE(platform::qt::EndWorker(0));
    EXPECT_EQ(other.state(), QProcess::Running);
    EXPECT_FALSE(other.waitForFinished(200));
    other.kill();
    other.waitForFinished();
}

}  // namespace
}  // namespace corvane::testing
