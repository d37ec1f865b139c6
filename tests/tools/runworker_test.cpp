// The worker runner as the main job and a developer use it: what a worker reported, and a
// worker that never ends killed at the time-out instead of waiting with it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/completion.h"
#include "tests/support/hex_text.h"
#include "tests/support/program_folder.h"

namespace {

using testsupport::CommandOutput;

TEST(RunWorkerTool, ReportsTheCompletionAndTheExitCode) {
    testsupport::TempProgramFolder folder;
    const std::string ambrel = (testsupport::BinDir() / "Ambrel").string();
    // No song input: the song loader fails with its completion 47 and the failure flag.
    EXPECT_EQ(CommandOutput(std::string(RUNWORKER) + " " + folder.path().string() + " " + ambrel +
                            " /2 InPut.bin {hwnd} 2426"),
              "completion: 257 47 0x20000000\nexit: 1\n");
    EXPECT_EQ(CommandOutput(std::string(RUNWORKER) + " " + folder.path().string() +
                            " /bin/sh -c 'exit 3'"),
              "completion: none\nexit: 3\n");
}

TEST(RunWorkerTool, KillsAWorkerThatOutlivesTheTimeOut) {
    testsupport::TempProgramFolder folder;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CommandOutput(std::string(RUNWORKER) + " --timeout=1 " + folder.path().string() +
                            " /bin/sleep 60"),
              "completion: none\nexit: timeout\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    const testsupport::CommandRun refused = testsupport::RunCommand(
        std::string(RUNWORKER) + " --timeout=x " + folder.path().string() + " /bin/true 2>&1");
    EXPECT_EQ(refused.output,
              "runworker: the time-out must be a number of seconds, not --timeout=x\n");
    EXPECT_EQ(refused.exitCode, 2);
}

std::vector<std::uint8_t> DemoSong() {
    return testsupport::BytesFromHexText(
        testsupport::ReadTextFile(testsupport::SourceDir() / "demo" / "ode_to_joy.txt"));
}

// Sends stray completions ("the key detector failed") to a handle's socket as a neighbour of the
// same user would; the socket's queue takes only a few of them.
std::string StraysCommand(const std::string& socket) {
    return std::string(ORVELLA_FOREIGN_SENDER) + " " + socket + " 40 send-only";
}

// Datagrams of another process at the worker's handle, queued before the worker runs: read only
// after the worker's end, they kept the queue full until the worker gave up its completion, and
// one of them was then reported in its place.
TEST(RunWorkerTool, StrayDatagramsAtTheHandleNeitherHideNorReplaceTheCompletion) {
    testsupport::TempProgramFolder folder;
    folder.Write("InPut.bin", DemoSong());
    const testsupport::WorkerRun run =
        testsupport::RunWorker("Ambrel", folder.path(), [](platform::Hwnd handle) {
            const std::string sent =
                CommandOutput(StraysCommand(platform::CompletionSocketPath(handle)));
            EXPECT_TRUE(sent.starts_with("delivered=") && !sent.starts_with("delivered=0")) << sent;
            return "/2 InPut.bin " + std::to_string(handle) + " 2426";
        });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.completion, (platform::Completion{257, 47, 0}));

    // The tool itself, with the strays sent from the worker's own start.
    const std::string ambrel = (testsupport::BinDir() / "Ambrel").string();
    const std::string socket = platform::CompletionFolder() + "/hwnd.{hwnd}";
    EXPECT_EQ(CommandOutput(std::string(RUNWORKER) + " " + folder.path().string() +
                            " /bin/sh -c '" + StraysCommand(socket) + " >/dev/null; exec " +
                            ambrel + " /2 InPut.bin {hwnd} 2426'"),
              "completion: 257 47 0x00000000\nexit: 0\n");
}

}  // namespace
