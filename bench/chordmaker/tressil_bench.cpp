// Tressil as a whole process on the largest song it accepts: 260 measures in A minor, AcMode 3,
// with a melody that keeps the cadence scans busy (every A measure passes the final test and
// every E before it the dominant run, but no pre-dominant follows), once with one key line and
// once with 63 key lines over all 28 keys. Google Benchmark repeats the run and reports the
// median.
#include <benchmark/benchmark.h>

#include "tests/support/program_folder.h"
#include "tests/workers/chordmaker/song_fixture.h"

namespace {

using chordmaker::testing::KeyLine;
using chordmaker::testing::MeasureSpec;

constexpr int kMeasures = 260;

chordmaker::testing::SongFiles BusyCadenceSong() {
    const char* pattern[] = {"A", "E", "F#"};
    std::vector<MeasureSpec> measures;
    for (int m = 0; m + 1 < kMeasures; ++m) measures.push_back({pattern[m % 3], ""});
    measures.push_back({"A", ""});
    return chordmaker::testing::MakeSongFiles("0,+,A,260,100,4/4", measures);
}

void BM_TressilLargestSong(benchmark::State& state) {
    testsupport::TempProgramFolder folder;
    const auto song = BusyCadenceSong();
    folder.Write("Notes.aco", song.notesAco);
    folder.Write("Temps2.aco", song.temps2);
    folder.Write("Notes.dat", song.notesDat);
    std::string keys = KeyLine(1, 1);
    for (int line = 1; line < state.range(0); ++line) keys += KeyLine(1 + 4 * line, line % 28);
    folder.Write("KeysData.Aco", keys);
    for (auto _ : state) {
        const auto run = testsupport::RunWorker("Tressil", folder.path(), "3 {hwnd} 2426 1");
        if (run.exitCode != 0) state.SkipWithError("Tressil failed");
    }
}
BENCHMARK(BM_TressilLargestSong)
    ->ArgName("keyLines")
    ->Arg(1)
    ->Arg(63)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
