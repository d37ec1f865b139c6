// The key detector on the longest song it accepts: 3999 sixteenth notes (250 measures) that
// move round the circle of fifths, a new major key every 100 notes. The whole process is timed
// as the front end waits for it (start, read, find, write, exit); the key finding alone beside
// it. Each is repeated fifteen times and reports its median.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/worker_process.h"
#include "tests/support/song_builder.h"
#include "workers/keydetect/key_finding.h"

namespace {

constexpr int kNotes = 3999;
constexpr int kNotesPerKey = 100;
constexpr std::int64_t kSixteenth = 96;
// Scale degrees (0 = tonic) as a melody walks them; the tonic and the fifth weigh most.
constexpr int kMajorSteps[] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kDegrees[] = {0, 4, 2, 0, 1, 4, 3, 0, 5, 4, 6, 0, 2, 4, 1, 0};

// Key k has its tonic k fifths above C; each key opens with its leading tone, the one class
// that the key before lacks.
int NoteAt(int index) {
    const int key = index / kNotesPerKey;
    const int tonic = key * 7 % 12;
    const int inKey = index % kNotesPerKey;
    const int step = inKey == 0 ? 11 : kMajorSteps[kDegrees[(inKey - 1) % 16]];
    return 60 + (tonic + step) % 12;
}

std::vector<std::uint8_t> CircleOfFifthsSong() {
    testsupport::SongBuilder song;
    for (int i = 0; i < kNotes; ++i) song.Append(NoteAt(i), kSixteenth);
    return song.Bytes();
}

int RunSorvik(const std::filesystem::path& folder) {
    // The runner kills a run that hangs, so a broken build cannot stall the benchmark.
    const auto run = platform::RunWorkerProcess(SORVIK_PROGRAM, folder, [](platform::Hwnd handle) {
        return std::vector<std::string>{std::to_string(handle), "2426",
                                        std::to_string(std::int64_t{handle} + 31470952 + 2426),
                                        "1"};
    });
    return run.exitCode;
}

void BM_SorvikProcess(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("sorvik_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    {
        const std::vector<std::uint8_t> song = CircleOfFifthsSong();
        std::ofstream(folder / "InPut.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(song.data()),
                   static_cast<std::streamsize>(song.size()));
    }
    for (auto _ : state) {
        if (RunSorvik(folder) != 0) {
            state.SkipWithError("Sorvik failed");
            break;
        }
    }
    std::ifstream list(folder / "KeysData.Aco");
    int lines = 0;
    for (std::string line; std::getline(list, line);) ++lines;
    state.counters["key_lines"] = lines;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SorvikProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_KeyFinding(benchmark::State& state) {
    keydetect::NotOnList notes;
    for (int i = 0; i < kNotes; ++i) {
        (void)notes.RecordNoteOn(i * kSixteenth, NoteAt(i));
        notes.RecordNoteOff((i + 1) * kSixteenth, NoteAt(i));
    }
    const keydetect::SongTiming timing{4 * 384, 384};
    std::size_t points = 0;
    for (auto _ : state) {
        const keydetect::NoteStatistics stats(notes.notes());
        benchmark::DoNotOptimize(keydetect::FindGlobalKey(stats));
        points = keydetect::FindKeyChangePoints(stats, timing, true).points.size();
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_KeyFinding)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
