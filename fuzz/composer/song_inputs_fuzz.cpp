// Feeds arbitrary bytes to every reader of the composer's song inputs: the song input's
// header and track copy, the coded chord data (first byte = key), the play options and the
// three measure text files. None may crash or read outside its input.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "workers/composer/compose_args.h"
#include "workers/composer/song_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace composer;
    const std::span<const std::uint8_t> bytes(data, size);
    SongHeader header;
    (void)ReadSongHeader(bytes, header);
    std::vector<std::uint8_t> copy;
    (void)CopyFirstTwoTracks(bytes, copy);
    if (size > 0) {
        ChordData chords;
        (void)ReadChordData(bytes.subspan(1), data[0], chords);
    }
    const auto text = TextModeBytes(bytes);
    std::array<SlotParams, kSlotCount> slots;
    (void)ParseVPara(text, slots);
    (void)ReadBeatPattern(text);
    (void)ReadSongPitchClasses(text, 2 * kMeasureTabSize);
    (void)ReadMeasureStats(text);
    std::vector<std::string> fields;
    const std::string line(text.begin(), text.end());
    if (SplitComposeArgs(line, fields) == kArgumentCount + 1) (void)DecodeComposeArgs(fields);
    return 0;
}
