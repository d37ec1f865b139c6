// The built launcher in a temporary program folder, with HOME, XDG_DATA_HOME and the runtime
// folder of the test and the message-box log, and a stand-in front end that records its start
// and then stays for as long as it is told.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "launcher/font_install.h"
#include "platform/qt/single_instance.h"
#include "tests/launcher/font_fixtures.h"
#include "tests/support/program_folder.h"

namespace vessane::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct LauncherRun {
    int exitCode = -1;  // -1 when it did not end in time
    std::chrono::milliseconds took{};
    std::string output;
    std::vector<std::string> boxes;
};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WaitFor(const fs::path& path, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!fs::exists(path)) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class LauncherTest : public ::testing::Test {
  protected:
    LauncherTest() {
        for (const char* dir : {"program", "home", "data", "runtime"})
            fs::create_directories(root.path() / dir);
        fs::permissions(root.path() / "runtime", fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("HOME", (root.path() / "home").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (root.path() / "data").c_str(), 1);
        ::unsetenv("XDG_CACHE_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
        ::setenv("XDG_RUNTIME_DIR", (root.path() / "runtime").c_str(), 1);
        ::setenv("ORVELLA_MSGBOX_LOG", (root.path() / "boxes.log").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        fs::copy_file(testsupport::BinDir() / "Vessane", folder / "Vessane");
    }
    ~LauncherTest() override {
        // The stand-in front end may still be waiting.
        const std::string started = ReadText(folder / "started");
        if (const int pid = std::atoi(started.c_str()); pid > 0) ::kill(pid, SIGKILL);
    }

    void InstallFont() { fs::copy_file(EditorFontFile(), folder / "DIRIzu.fon"); }
    // A front end that writes its process id and current folder into "started", then waits
    // `seconds`.
    void InstallFakeCorvane(int seconds = 0) {
        std::ofstream(folder / "Corvane")
            // Renamed into place so that a test never reads the record half written.
            << "#!/bin/sh\necho \"$$ $(pwd)\" > started.part\nmv started.part started\nexec sleep "
            << seconds << "\n";
        fs::permissions(folder / "Corvane", fs::perms::owner_all);
    }

    // Starts the launcher in `where` and waits for its end.
    LauncherRun Run(const fs::path& where) {
        const fs::path output = root.path() / "output.txt";
        const auto start = Clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (::chdir(where.c_str()) != 0) ::_exit(126);
            if (!std::freopen(output.c_str(), "w", stdout)) ::_exit(126);
            ::dup2(STDOUT_FILENO, STDERR_FILENO);
            ::execl((folder / "Vessane").c_str(), "Vessane", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        LauncherRun run;
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (Clock::now() - start > std::chrono::seconds(20)) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return run;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        run.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
        run.output = ReadText(output);
        std::istringstream boxes(ReadText(root.path() / "boxes.log"));
        for (std::string line; std::getline(boxes, line);) run.boxes.push_back(line);
        return run;
    }
    LauncherRun Run() { return Run(folder); }

    testsupport::TempProgramFolder root;
    const fs::path folder = root.path() / "program";
};

struct RunCase {
    const char* name;
    enum class Font { kEditor, kMissing, kTwoFaces, kText } font;
    enum class Front { kFake, kMissing, kNotExecutable } front;
    std::vector<std::string> boxes;  // "{dir}" stands for the program folder
    int exitCode;
};

void PrintTo(const RunCase& c, std::ostream* out) {
    *out << c.name;
}

class LauncherRunTest : public LauncherTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(LauncherRunTest, ReportsWhatFailedAndStartsTheFrontEndWheneverItCan) {
    const RunCase& c = GetParam();
    switch (c.font) {
        case RunCase::Font::kEditor:
            InstallFont();
            break;
        case RunCase::Font::kTwoFaces:
            WriteBytes(folder / "DIRIzu.fon", TwoFaceCollection(ReadBytes(EditorFontFile())));
            break;
        case RunCase::Font::kText:
            std::ofstream(folder / "DIRIzu.fon") << "FONT\r\n";
            break;
        case RunCase::Font::kMissing:
            break;
    }
    if (c.front != RunCase::Front::kMissing) InstallFakeCorvane();
    if (c.front == RunCase::Front::kNotExecutable)
        fs::permissions(folder / "Corvane", fs::perms::owner_read | fs::perms::owner_write);

    const LauncherRun run = Run();
    std::vector<std::string> expected;
    for (std::string box : c.boxes) {
        if (const auto at = box.find("{dir}"); at != std::string::npos)
            box.replace(at, 5, fs::canonical(folder).string());
        expected.push_back(box);
    }
    EXPECT_EQ(run.boxes, expected);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, "");
    if (c.front == RunCase::Front::kFake) {
        ASSERT_TRUE(WaitFor(folder / "started", std::chrono::seconds(10)));
        // Started in the program folder, which is the launcher's current folder.
        const std::string started = ReadText(folder / "started");
        EXPECT_EQ(started.substr(started.find(' ') + 1), fs::canonical(folder).string() + "\n");
    } else {
        EXPECT_FALSE(fs::exists(folder / "started"));
    }
}

const char* const kFontBox = "none|Orvella|Cannot install {dir}/DIRIzu.fon fonts";
const char* const kStartBox = "critical|Orvella|Cannot start Corvane";

INSTANTIATE_TEST_SUITE_P(
    Cases, LauncherRunTest,
    ::testing::Values(
        RunCase{"AllThere", RunCase::Font::kEditor, RunCase::Front::kFake, {}, 0},
        RunCase{"FontMissing", RunCase::Font::kMissing, RunCase::Front::kFake, {kFontBox}, 0},
        RunCase{"FontWithTwoFaces", RunCase::Font::kTwoFaces, RunCase::Front::kFake, {kFontBox}, 0},
        RunCase{"FontNoFont", RunCase::Font::kText, RunCase::Front::kFake, {kFontBox}, 0},
        RunCase{
            "FrontEndMissing", RunCase::Font::kEditor, RunCase::Front::kMissing, {kStartBox}, 1},
        RunCase{"FrontEndNotExecutable",
                RunCase::Font::kEditor,
                RunCase::Front::kNotExecutable,
                {kStartBox},
                1},
        RunCase{"BothMissing",
                RunCase::Font::kMissing,
                RunCase::Front::kMissing,
                {kFontBox, kStartBox},
                1}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST_F(LauncherTest, ASecondCopyEndsAtOnceWithoutAWord) {
    InstallFont();
    InstallFakeCorvane();
    // This test holds the instance as a first copy would.
    const platform::qt::InstanceLock first("Vessane", folder.string());
    ASSERT_FALSE(first.anotherRunning());

    const LauncherRun run = Run();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_TRUE(run.boxes.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fs::exists(folder / "started"));
    EXPECT_FALSE(fs::exists(UserFontFolder()));
}

TEST_F(LauncherTest, EndsWithoutWaitingForTheFrontEnd) {
    InstallFont();
    InstallFakeCorvane(60);
    const LauncherRun run = Run();
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_LT(run.took, std::chrono::seconds(10));
    ASSERT_TRUE(WaitFor(folder / "started", std::chrono::seconds(10)));
    // The front end goes on after the launcher ended.
    const int pid = std::atoi(ReadText(folder / "started").c_str());
    EXPECT_EQ(::kill(pid, 0), 0);
}

TEST_F(LauncherTest, StartedFromAnotherFolderLooksForBothFilesThere) {
    InstallFont();
    InstallFakeCorvane();
    const fs::path elsewhere = root.path() / "home";
    const LauncherRun run = Run(elsewhere);
    EXPECT_EQ(run.boxes,
              (std::vector<std::string>{"none|Orvella|Cannot install " +
                                            fs::canonical(elsewhere).string() + "/DIRIzu.fon fonts",
                                        kStartBox}));
    EXPECT_EQ(run.exitCode, 1);
}

TEST_F(LauncherTest, WithoutAnyDisplayTheMessagesGoToStandardError) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ORVELLA_MSGBOX_LOG"})
        ::unsetenv(name);
    const LauncherRun run = Run();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Vessane: Cannot install " + fs::canonical(folder).string() +
                              "/DIRIzu.fon fonts\nVessane: Cannot start Corvane\n");
}

TEST_F(LauncherTest, AfterARunFontconfigListsTheEditorFontForTheUser) {
    InstallFont();
    InstallFakeCorvane();
    ASSERT_EQ(Run().exitCode, 0);
    const std::string copy = UserFontFolder() + "/DIRIzu.fon";
    EXPECT_EQ(ReadBytes(copy), ReadBytes(EditorFontFile()));

    std::string listing;
    FILE* list = ::popen("fc-list : file family", "r");
    ASSERT_NE(list, nullptr);
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, list) != nullptr) listing += buffer;
    ::pclose(list);
    EXPECT_NE(listing.find(copy + ": DejaVu Sans Mono"), std::string::npos) << listing;
}

}  // namespace
}  // namespace vessane::testing
