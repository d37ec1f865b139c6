// Loads arbitrary bytes as a style file and, when the style loads, composes a song with it in
// every slot, so that every cell value a style can hold also runs through the part generators.
// The first five bytes are not style: the first picks the style version and the song's time
// signature, the next four seed the song and the play options (random_song.h). So section
// switches between play modes and chord changes over held notes come up as often as the
// style's own register, placement and one-note settings do. A composed song whose note streams
// are not well formed (a note that never ends ...) stops the fuzzer like a crash.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "fuzz/composer/random_song.h"
#include "workers/composer/composer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace composer;
    constexpr std::size_t kHeaderSize = 5;
    if (size < kHeaderSize) return 0;
    static const char* kNames[] = {"Fuzz05.sty", "Fuzz08.sty", "Fuzz12.sty", "Fuzz25.sty",
                                   "Fuzz30.sty", "Fuzz31.sty", "Fuzz33.sty", "Fuzz35.sty"};
    static const int kNumerators[] = {4, 3, 2, 6};
    const std::string name = kNames[data[0] & 7];
    const int numerator = kNumerators[(data[0] >> 3) & 3];
    const std::uint32_t seed =
        static_cast<std::uint32_t>(data[1]) | static_cast<std::uint32_t>(data[2]) << 8 |
        static_cast<std::uint32_t>(data[3]) << 16 | static_cast<std::uint32_t>(data[4]) << 24;
    const std::span<const std::uint8_t> style(data + kHeaderSize, size - kHeaderSize);

    MessageLog log;
    ComposeSetup setup = RandomSetup(seed, {name, name, name, name, name}, numerator);
    const int runCode = setup.runCode;
    std::string faults;
    try {
        Composer composer(std::move(setup), log);
        composer.PrepareSong();
        for (int slot = 1; slot <= kSlotCount; ++slot) composer.LoadStyle(slot, style);
        faults = ComposedNoteFaults(composer.ComposeAll(), runCode);
    } catch (const worker::WorkerFatal&) {
    }
    if (!faults.empty()) {
        std::fprintf(stderr, "%s", faults.c_str());
        std::abort();
    }
    return 0;
}
