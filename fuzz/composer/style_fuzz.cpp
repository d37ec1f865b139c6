// Loads arbitrary bytes as a style file (the first byte picks the style version and the song's
// time signature) and, when the style loads, composes a short song with it in every slot, so
// that every cell value a style can hold also runs through the part generators.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "workers/composer/composer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace composer;
    if (size < 1) return 0;
    static const char* kNames[] = {"Fuzz08.sty", "Fuzz12.sty", "Fuzz30.sty", "Fuzz31.sty"};
    static const int kNumerators[] = {4, 3, 2, 6};
    const std::string name = kNames[data[0] & 3];
    const int numerator = kNumerators[(data[0] >> 2) & 3];
    const std::span<const std::uint8_t> style(data + 1, size - 1);

    ComposeSetup setup;
    setup.runCode = 60 + (data[0] >> 4);
    setup.header.numerator = numerator;
    setup.header.timeCode = numerator == 6 ? 3 : numerator;
    setup.header.timeSigName = numerator == 6 ? "6/8" : std::to_string(numerator) + "/4";
    for (int slot = 0; slot < kSlotCount; ++slot) {
        setup.options.styleNames[slot] = name;
        setup.slotSettings[slot] = SlotSettingsFromName(name);
        setup.slotParams[slot].sectVol = 80;
        setup.slotParams[slot].channelMode = {0, 2, 3, 1, (data[0] >> 6) & 1};
    }
    setup.options.echoLevel1 = 65;
    setup.options.echoLevel2 = 39;
    static const char* kChords[] = {"C....", "A.m7.", "F.M9.", "G..7+", "Dbs.-", "E.m6o"};
    static const int kCodes[] = {4, 3, 2, 1, 6, 9};
    for (int m = 0; m < 6; ++m) {
        MeasureRecord r;
        r.chord1 = kChords[m];
        r.chord2 = kChords[(m + 1) % 6];
        r.drumCode = r.instCode = kCodes[m];
        setup.chords.measures.push_back(r);
        setup.stats.push_back({60 + m, m - 1, 0, 0, 80});
    }
    setup.chords.measures.back().chord1 = "C....";
    setup.chords.sections = {{0, 1}, {2, 2}, {4, 3}};
    setup.songPitchClasses = {60, 0, 62, 0, 64, 65, 0, 67, 0, 69, 0, 71};
    setup.beatPattern.fill(1);

    MessageLog log;
    try {
        Composer composer(std::move(setup), log);
        composer.PrepareSong();
        for (int slot = 1; slot <= kSlotCount; ++slot) composer.LoadStyle(slot, style);
        (void)composer.ComposeAll();
    } catch (const ComposeAbort&) {
    }
    return 0;
}
