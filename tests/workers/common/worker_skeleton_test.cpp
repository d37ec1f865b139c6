#include "workers/common/worker_skeleton.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/completion.h"
#include "platform/file.h"
#include "workers/common/worker_fatal.h"

namespace {

using namespace std::chrono_literals;

struct SplitCase {
    std::string line;
    int expected;
    std::vector<std::string> fields;
};

TEST(SplitCommandLineTest, CasesOfTheSplitter) {
    const std::string w499 = "/1 " + std::string(496, 'x');
    const std::string w500 = "/1 " + std::string(497, 'x');
    const std::vector<SplitCase> cases = {
        {"/1 InPut.bin 123 2426", 5, {"/1", "InPut.bin", "123", "2426"}},
        {"a  b", 4, {"a", "", "b"}},
        {" a b", 0, {}},
        {"", 0, {}},
        {"a b ", 4, {"a", "b", ""}},
        {"a b c d e f g h i", 9, {"a", "b", "c", "d", "e", "f", "g"}},
        {"a\tb c", 3, {"a\tb", "c"}},
        {w499, 3, {"/1", std::string(496, 'x')}},
        {w500, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 40));
        worker::StoreCommandLine(c.line);
        EXPECT_EQ(worker::SplitCommandLine(), c.expected);
        for (std::size_t i = 0; i < c.fields.size(); ++i) {
            EXPECT_EQ(worker::Field(static_cast<int>(i) + 1), c.fields[i]) << "field " << i + 1;
        }
        EXPECT_STREQ(worker::Field(static_cast<int>(c.fields.size()) + 1), "");
    }
}

TEST(SplitCommandLineTest, NineFieldsKeepTheFirstSevenAndCutTheSeventhAtItsSpace) {
    worker::StoreCommandLine("1 2 3 4 5 6 seven eight nine");
    EXPECT_EQ(worker::SplitCommandLine(), 9);
    EXPECT_STREQ(worker::Field(7), "seven");
    EXPECT_STREQ(worker::StoredCommandLine(), "1");
}

std::optional<platform::CompletionReceiver> receiver;
int jobResult = 0;
int jobRuns = 0;

int Job() {
    ++jobRuns;
    worker::CallerWindow = receiver ? receiver->handle() : 0;
    return jobResult;
}

int RunOnce(const worker::WorkerConfig& config) {
    platform::ResetWindowSystem();
    return worker::RunWorker("x", config);
}

TEST(WorkerSkeletonTest, CompletionCarriesTheCodeAndTheFailureFlag) {
    const worker::WorkerConfig config{.job = Job, .successDoneCode = 47, .failureDoneCode = 47};
    receiver = platform::CompletionReceiver::Open();
    ASSERT_TRUE(receiver);

    jobResult = 0;
    EXPECT_EQ(RunOnce(config), 0);
    auto got = receiver->Receive(1s);
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, (platform::Completion{platform::WM_KEYUP, 47, 0}));

    jobResult = 1;
    EXPECT_EQ(RunOnce(config), 1);
    got = receiver->Receive(1s);
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, (platform::Completion{platform::WM_KEYUP, 47, 0x20000000}));
    receiver.reset();
}

TEST(WorkerSkeletonTest, PerRunSuccessCodeAndNoPostWithoutAHandle) {
    static int (*const job)() = [] {
        worker::SetSuccessDoneCode(53);
        worker::CallerWindow = receiver->handle();
        return 0;
    };
    const worker::WorkerConfig config{.job = job, .successDoneCode = 49, .failureDoneCode = 49};
    receiver = platform::CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    EXPECT_EQ(RunOnce(config), 0);
    auto got = receiver->Receive(1s);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->wParam, 53u);

    const worker::WorkerConfig silent{.job = [] { return 1; }, .failureDoneCode = 49};
    EXPECT_EQ(RunOnce(silent), 1);
    EXPECT_FALSE(receiver->Receive(100ms));
    receiver.reset();
}

TEST(WorkerSkeletonTest, JobRunsOnceAndRightButtonEndsOnlyWorkersThatQuitOnIt) {
    receiver.reset();
    jobRuns = 0;
    jobResult = 0;
    for (bool quits : {true, false}) {
        SCOPED_TRACE(quits);
        const worker::WorkerConfig config{.job = Job, .quitOnRightButton = quits};
        EXPECT_EQ(RunOnce(config), 0);
        // A second creation message runs nothing.
        worker::WorkerWndProc(platform::kFirstOwnWindow, platform::WM_CREATE, 0, 0);
        worker::WorkerWndProc(platform::kFirstOwnWindow, platform::WM_RBUTTONUP, 0, 0);
        platform::PostQuitMessage(5);
        EXPECT_EQ(platform::RunMessageLoop(), quits ? 0 : 5);
    }
    EXPECT_EQ(jobRuns, 2);
}

TEST(WorkerSkeletonTest, AFatalFromTheJobPostsTheFailureAndEndsWithItsCode) {
    receiver = platform::CompletionReceiver::Open();
    ASSERT_TRUE(receiver);
    static int fatalCode = 0;
    static const worker::WorkerConfig config{.job = []() -> int {
                                                 worker::CallerWindow = receiver->handle();
                                                 throw worker::WorkerFatal("unused", fatalCode);
                                             },
                                             .successDoneCode = 46,
                                             .failureDoneCode = 46,
                                             .quitOnRightButton = false};
    // A fatal that names code 0 still ends as a failure.
    for (const auto& [named, exitCode] : {std::pair{3, 3}, std::pair{0, 1}}) {
        SCOPED_TRACE(named);
        fatalCode = named;
        EXPECT_EQ(RunOnce(config), exitCode);
        auto got = receiver->Receive(1s);
        ASSERT_TRUE(got);
        EXPECT_EQ(*got, (platform::Completion{platform::WM_KEYUP, 46, 0x20000000}));
    }
    receiver.reset();
}

// The outputs a failed run leaves depend on why it failed: a disk that could not take one of
// them (here a folder that does not exist) leaves only the error file and what was appended to,
// a failure of any other kind leaves every file whole as written, and so does a run that went
// on without the output it could not write.
TEST(WorkerSkeletonTest, AFailedRunRemovesItsOutputsOnlyWhenOneCouldNotBeWritten) {
    static std::filesystem::path folder;
    folder = std::filesystem::temp_directory_path() /
             ("orvella-skeleton-outputs-" +
              std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    static bool fault = false;
    static int result = 0;
    const auto path = [](const char* name) { return (folder / name).string(); };
    static const std::string errorFile = (folder / "error.msg").string();
    static const worker::WorkerConfig config{
        .job = []() -> int {
            platform::File error, output, log, lost;
            EXPECT_TRUE(error.Open(errorFile, platform::FileMode::kWriteText));
            error.Write("what happened");
            EXPECT_TRUE(
                output.Open((folder / "output.dat").string(), platform::FileMode::kWriteText));
            output.Write("a whole file");
            EXPECT_TRUE(log.Open((folder / "log.txt").string(), platform::FileMode::kAppendText));
            log.Write(" and more");
            if (fault) {
                EXPECT_FALSE(lost.Open((folder / "missing" / "lost.dat").string(),
                                       platform::FileMode::kWriteText));
            }
            return result;
        },
        .errorFile = errorFile.c_str()};
    const struct {
        bool fault;
        int result;
        bool outputKept;
    } cases[] = {{true, 1, false}, {false, 1, true}, {true, 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fault ? "an output fault, " : "no fault, ") +
                     (c.result != 0 ? "failed" : "succeeded"));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::ofstream(path("log.txt")) << "earlier";
        fault = c.fault;
        result = c.result;
        EXPECT_EQ(RunOnce(config), c.result);
        EXPECT_EQ(std::filesystem::exists(path("output.dat")), c.outputKept);
        EXPECT_TRUE(std::filesystem::exists(errorFile));
        EXPECT_EQ(std::filesystem::file_size(path("log.txt")),
                  std::string("earlier and more").size());
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
