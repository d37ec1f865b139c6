// Corvane's start-up as a whole process, from its start to the shown main window (the program
// ends right after it, so the figure includes its exit): once with the shipped style library
// and once with 900 generated styles, each a real style file. Google Benchmark repeats the run
// and reports the median.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/frontend/support/program_files.h"
#include "tests/support/program_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

int RunCorvane(const fs::path& folder) {
    const std::string program = (folder / "Corvane").string();
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_CorvaneStartup(benchmark::State& state) {
    testsupport::TempProgramFolder root;
    const fs::path folder = root.path() / "program";
    fs::create_directories(folder);
    fs::create_directories(root.path() / "runtime");
    fs::permissions(root.path() / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    const bool generated = state.range(0) > 0;
    corvane::testing::PrepareProgramFolder(folder, /*withLibraryStyles=*/!generated);
    if (generated)
        corvane::testing::WriteGeneratedStyles(folder, static_cast<int>(state.range(0)), true);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("ORVELLA_QUIT_WHEN_SHOWN", "1", 1);
    ::setenv("ORVELLA_MSGBOX_LOG", (root.path() / "boxes.log").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root.path() / "config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (root.path() / "runtime").c_str(), 1);
    for (auto _ : state) {
        if (RunCorvane(folder) != 0) state.SkipWithError("Corvane did not start");
    }
    if (fs::exists(root.path() / "boxes.log")) state.SkipWithError("a message box was shown");
    state.SetLabel(generated ? "900 generated styles" : "shipped library");
}
BENCHMARK(BM_CorvaneStartup)
    ->Arg(0)
    ->Arg(900)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
