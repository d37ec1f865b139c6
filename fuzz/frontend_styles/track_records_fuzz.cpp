// The bytes of a style file -> the part values of a slot. Every part keeps a channel in 16
// bits, the drum part stays on channel 9, sustain is 0 or 1, and record starts are at least
// 768 bytes apart.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "frontend/styles/track_records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto starts = corvane::styles::ScanTrackRecords(bytes);
    for (std::size_t i = 1; i < starts.size(); ++i) {
        if (starts[i] < starts[i - 1] + corvane::styles::kRecordSpacing) std::abort();
    }
    for (int slot : {0, 1}) {
        const auto read = corvane::styles::ReadSlotStyle(bytes, slot);
        if (read.parts[4].channel != 9 && read.recordsRead <= 4) {
            // Part index 4 holds drums unless a fifth melodic record reached it.
            std::abort();
        }
        for (const auto& part : read.parts) {
            if (part.sustain != 0 && part.sustain != 1) std::abort();
            if (part.mode < -9 || part.mode > 9) std::abort();
        }
    }
    return 0;
}
