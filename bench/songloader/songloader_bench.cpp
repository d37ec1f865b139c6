// The song loader as a whole process on the largest dense song it accepts: 260 measures of
// 39 notes each. Google Benchmark repeats the run and reports the median.
#include <benchmark/benchmark.h>

#include "tests/support/program_folder.h"
#include "tests/support/song_builder.h"

namespace {

testsupport::SimpleSong DenseSong() {
    testsupport::SimpleSong song;
    for (int measure = 0; measure < 260; ++measure) {
        for (int i = 0; i < 39; ++i) {
            const std::int64_t start = measure * 1536 + i * 39;
            // Three pitches a measure, so that every placement mode finds main notes.
            song.notes.push_back({start, start + 36, 60 + (measure + i) % 3 * 2, 80 + i % 40});
        }
    }
    return song;
}

void BM_AmbrelDenseSong(benchmark::State& state) {
    testsupport::TempProgramFolder folder;
    folder.Write("InPut.bin", testsupport::BuildSong(DenseSong()));
    const std::string mode = state.range(0) == 0 ? "/1" : state.range(0) == 1 ? "/2" : "/0";
    for (auto _ : state) {
        const auto run =
            testsupport::RunWorker("Ambrel", folder.path(), mode + " InPut.bin {hwnd} 2426");
        if (run.exitCode != 0) state.SkipWithError("Ambrel failed");
    }
}
BENCHMARK(BM_AmbrelDenseSong)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
