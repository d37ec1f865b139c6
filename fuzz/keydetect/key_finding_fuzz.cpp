// Arbitrary note lists for the key finding, without the detour through a MIDI file: every three
// bytes are a note (key, then a length that the top bit of the key byte stretches far beyond 32
// bits of ticks), laid one after the other. The first byte picks the meter and whether the
// handle token holds. Looks for hangs and overflows in the segment scans.
#include <cstdint>
#include <memory>

#include "workers/keydetect/key_finding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static constexpr keydetect::Tick kMeasures[] = {768, 1152, 1536, 1152};
    const keydetect::SongTiming timing{kMeasures[data[0] & 3], 384};
    const bool tokenValid = (data[0] & 4) == 0;

    static const auto notes = std::make_unique<keydetect::NotOnList>();
    notes->Clear();
    keydetect::Tick tick = 0;
    for (std::size_t i = 1; i + 3 <= size; i += 3) {
        const int key = data[i] & 0x7F;
        keydetect::Tick length = data[i + 1] | data[i + 2] << 8;
        if (data[i] & 0x80) length <<= 24;
        if (!notes->RecordNoteOn(tick, key)) break;
        // A length of 0 leaves the note sounding to the end.
        if (length > 0) notes->RecordNoteOff(tick + length, key);
        tick += length;
    }

    const keydetect::NoteStatistics stats(notes->notes());
    const keydetect::GlobalKeyResult global = keydetect::FindGlobalKey(stats);
    if (!global.ok) return 0;
    (void)keydetect::KeyFoundLogText(global.key);
    const keydetect::KeyChangeResult changes =
        keydetect::FindKeyChangePoints(stats, timing, tokenValid);
    (void)keydetect::KeyListText(changes.points, true, global.key.keyCode);
    return 0;
}
