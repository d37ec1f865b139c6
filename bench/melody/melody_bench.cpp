// The melody importer on a long source of the kind other programs write: format 1, 16 tracks,
// 960 ticks per quarter note, 12000 notes a track in running status with controller sweeps
// between them. The reader, the writer and the whole program are timed apart; Google
// Benchmark repeats each and reports the median.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "tests/support/program_folder.h"
#include "workers/melody/melody_reader.h"
#include "workers/melody/melody_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kTracks = 16;
constexpr int kNotesPerTrack = 12000;
constexpr int kDivision = 960;
constexpr int kMelodyTrack = 8;

void PutVariableLength(Bytes& out, std::uint32_t value) {
    Bytes groups = {static_cast<std::uint8_t>(value & 0x7F)};
    for (value >>= 7; value > 0; value >>= 7) {
        groups.insert(groups.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    }
    out.insert(out.end(), groups.begin(), groups.end());
}

void PutChunk(Bytes& file, const Bytes& events) {
    const auto size = static_cast<std::uint32_t>(events.size());
    file.insert(file.end(),
                {'M', 'T', 'r', 'k', static_cast<std::uint8_t>(size >> 24),
                 static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 8),
                 static_cast<std::uint8_t>(size)});
    file.insert(file.end(), events.begin(), events.end());
}

Bytes LongSource() {
    Bytes file = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, kTracks + 1, kDivision >> 8, kDivision & 0xFF};
    Bytes conductor = {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,
                       0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
    for (int bar = 1; bar < 200; ++bar) {
        PutVariableLength(conductor, 4 * kDivision * 10);
        conductor.insert(conductor.end(),
                         {0xFF, 0x51, 0x03, 0x07, static_cast<std::uint8_t>(bar), 0x20});
    }
    conductor.insert(conductor.end(), {0x00, 0xFF, 0x2F, 0x00});
    PutChunk(file, conductor);
    for (int track = 0; track < kTracks; ++track) {
        const auto channel = static_cast<std::uint8_t>(track);
        Bytes events = {0x00, static_cast<std::uint8_t>(0xC0 | channel), 0x05,
                        0x00, static_cast<std::uint8_t>(0x90 | channel), 60,
                        90};
        for (int note = 0; note < kNotesPerTrack; ++note) {
            const auto key = static_cast<std::uint8_t>(48 + (note * 7 + track) % 36);
            if (note > 0) {
                events.push_back(0x00);
                events.insert(events.end(), {static_cast<std::uint8_t>(0x90 | channel), key, 90});
            }
            PutVariableLength(events, kDivision / 4);
            events.insert(events.end(), {key, 0x00});  // running status, velocity 0
            if (note % 8 == 0) {
                events.push_back(0x00);
                events.insert(events.end(), {static_cast<std::uint8_t>(0xB0 | channel), 0x07, 100});
                for (int step = 0; step < 4; ++step) {
                    events.insert(events.end(),
                                  {0x00, 0x0B, static_cast<std::uint8_t>(100 + step)});
                }
            }
        }
        events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
        PutChunk(file, events);
    }
    return file;
}

const Bytes& Source() {
    static const Bytes source = LongSource();
    return source;
}

void BM_ReadMelodySource(benchmark::State& state) {
    for (auto _ : state) {
        const melody::MelodyScan scan = melody::ReadMelodySource(Source(), kMelodyTrack);
        if (scan.fatal || scan.notesOn != kNotesPerTrack) state.SkipWithError("reader failed");
        benchmark::DoNotOptimize(scan.eventLines.data());
    }
    state.counters["source_bytes"] = static_cast<double>(Source().size());
}
BENCHMARK(BM_ReadMelodySource)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_BuildMelodySong(benchmark::State& state) {
    const melody::MelodyScan scan = melody::ReadMelodySource(Source(), kMelodyTrack);
    melody::MelodyJob job;
    job.velPercent = 80;
    for (auto _ : state) {
        const melody::SongOutcome outcome =
            melody::BuildMelodySong(job, scan.division, scan.tempoLines, scan.eventLines, 0);
        if (!outcome.ok) state.SkipWithError(outcome.message.c_str());
        benchmark::DoNotOptimize(outcome.song.data());
    }
}
BENCHMARK(BM_BuildMelodySong)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_QuenbyImportLongSource(benchmark::State& state) {
    testsupport::TempProgramFolder folder;
    folder.Write("InpMel.bin", Source());
    for (auto _ : state) {
        const auto run = testsupport::RunWorker("Quenby", folder.path(), [](platform::Hwnd handle) {
            const std::int64_t sum =
                std::int64_t{kMelodyTrack} + 4 + 0 + 60 + 120 + 1 + 1 + 0 + 0 + 100 + handle;
            return std::to_string(kMelodyTrack) + " 4 0 60 120 1 1 0 0 100 " +
                   std::to_string(static_cast<std::int32_t>(sum)) + " " + std::to_string(handle) +
                   " 0";
        });
        if (run.exitCode != 0) state.SkipWithError("Quenby failed");
    }
    state.counters["source_bytes"] = static_cast<double>(Source().size());
}
BENCHMARK(BM_QuenbyImportLongSource)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
