// The bytes of one file in the program folder -> an accepted style entry or a refusal. An
// accepted entry is always a blank, a time signature and at most what fits in 40 characters.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "frontend/core/style_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const corvane::StyleHeaderScan scan = corvane::ScanStyleHeader(bytes);
    (void)corvane::HoldsFirstRecord(bytes);
    if (scan.status == corvane::StyleHeaderStatus::kAccepted) {
        if (scan.entry.size() < 4 || scan.entry.size() > corvane::kStyleHeaderTextLength ||
            scan.entry[0] != ' ' || scan.entry[1] == ' ') {
            std::abort();
        }
    } else if (!scan.entry.empty()) {
        std::abort();
    }
    return 0;
}
