#include "platform/worker_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace platform {
namespace {

class WorkerProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("orvella-worker-process-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Runs a shell script as the worker, the handle as its first argument.
    WorkerProcessRun RunScript(const std::string& script, WorkerProcessOptions options = {}) {
        return RunWorkerProcess(
            "/bin/sh", folder_,
            [&](Hwnd handle) {
                handle_ = handle;
                return std::vector<std::string>{"-c", script, "sh", WithHandle("{hwnd}", handle)};
            },
            options);
    }

    std::string Read(const char* name) const {
        std::ifstream in(folder_ / name);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path folder_;
    Hwnd handle_ = 0;
};

TEST_F(WorkerProcessTest, RunsInTheFolderWithTheHandleAndTheEnvironment) {
    WorkerProcessOptions options;
    options.environment = {{"ORVELLA_WORKER_PROCESS_TEST", "set"}};
    const auto run =
        RunScript("echo \"$1 $ORVELLA_WORKER_PROCESS_TEST\" > seen.txt; exit 3", options);
    EXPECT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.signal, 0);
    EXPECT_FALSE(run.timedOut);
    EXPECT_FALSE(run.completion.has_value());
    EXPECT_GE(handle_, kMinReceiverHandle);
    EXPECT_EQ(Read("seen.txt"), std::to_string(handle_) + " set\n");
}

TEST_F(WorkerProcessTest, AHangIsKilledAtTheTimeOut) {
    WorkerProcessOptions options;
    options.timeout = std::chrono::milliseconds(200);
    const auto started = std::chrono::steady_clock::now();
    const auto run = RunScript("exec sleep 30", options);
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_NE(run.signal, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

TEST_F(WorkerProcessTest, AProgramThatCannotRunExitsWith127) {
    const auto missing = RunWorkerProcess(folder_ / "no-such-program", folder_,
                                          [](Hwnd) { return std::vector<std::string>{}; });
    EXPECT_TRUE(missing.started);
    EXPECT_EQ(missing.exitCode, 127);
    const auto noFolder = RunWorkerProcess("/bin/true", folder_ / "no-such-folder",
                                           [](Hwnd) { return std::vector<std::string>{}; });
    EXPECT_EQ(noFolder.exitCode, 127);
}

TEST(WithHandle, ReplacesEveryPlaceholder) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"no handle", "no handle"},
        {"{hwnd}", "42"},
        {"a {hwnd} b {hwnd}", "a 42 b 42"},
        {"{hwnd}{hwnd}", "4242"},
        {"{hwnd", "{hwnd"},
    };
    for (const auto& c : cases) EXPECT_EQ(WithHandle(c.text, 42), c.expected) << c.text;
}

}  // namespace
}  // namespace platform
