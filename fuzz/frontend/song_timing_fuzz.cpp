// The bytes of a song a player is asked to open -> its timing or a refusal. An accepted song has
// a usable division and a length the synthesizer can count, and converts to sixteenths and back
// without overflow.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/qt/song_timing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::qt;
    const auto timing = ScanSongTiming(std::span<const std::uint8_t>(data, size));
    if (!timing) return 0;
    if (timing->division < 1 || timing->division > 32767) std::abort();
    if (timing->lengthTicks < 0 || timing->lengthTicks > kMaxSongTicks) std::abort();
    const std::int64_t sixteenths = TicksToSixteenths(timing->lengthTicks, timing->division);
    if (SixteenthsToTicks(sixteenths, timing->division) > timing->lengthTicks) std::abort();
    return 0;
}
