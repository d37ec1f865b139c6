// Arbitrary bytes as the key detector's song input: the shared reader with the key detector's
// note hooks, then the key finding over whatever notes were collected, as the worker runs it.
#include <cstdint>
#include <memory>
#include <span>

#include "workers/common/smf_reader.h"
#include "workers/keydetect/key_finding.h"
#include "workers/keydetect/keydetect_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto notes = std::make_unique<keydetect::NotOnList>();
    notes->Clear();
    const auto state = std::make_unique<worker::SongState>();
    state->quantMode = worker::QuantMode::kQuantised;
    keydetect::NoteCollector collector(*notes);
    const worker::ReadStatus read =
        worker::ReadSong(std::span<const std::uint8_t>(data, size), *state, collector);
    if (!read.ok) return 0;

    const keydetect::NoteStatistics stats(notes->notes());
    const keydetect::GlobalKeyResult global = keydetect::FindGlobalKey(stats);
    if (!global.ok) return 0;
    (void)keydetect::KeyFoundLogText(global.key);
    const keydetect::SongTiming timing{state->meter.ticksPerMeasure, worker::kTicksPerQuarter};
    const keydetect::KeyChangeResult changes = keydetect::FindKeyChangePoints(stats, timing, true);
    if (changes.status == keydetect::KeyChangeStatus::kOk) {
        (void)keydetect::KeyListText(changes.points, true, global.key.keyCode);
    }
    return 0;
}
