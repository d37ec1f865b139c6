// The worker runner as the main job and a developer use it: what a worker reported, and a
// worker that never ends killed at the time-out instead of waiting with it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

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

}  // namespace
