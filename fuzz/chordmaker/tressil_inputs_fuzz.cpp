// The chord maker's text inputs: Notes.aco (header line and measure lines), Temps2.aco, Notes.dat
// and the key list, taken from one input split at 0x01 bytes; the first byte picks AcMode and the
// phrase length. Whatever the text, the run ends with a message or with records of 35 bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "workers/chordmaker/chord_sheet.h"
#include "workers/chordmaker/song_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t settings = data[0];
    std::vector<std::span<const std::uint8_t>> parts;
    std::size_t start = 1;
    for (std::size_t i = 1; i <= size && parts.size() < 4; ++i) {
        if (i == size || data[i] == 0x01) {
            parts.emplace_back(data + start, i - start);
            start = i + 1;
        }
    }
    while (parts.size() < 4) parts.emplace_back();

    chordmaker::SongInput song;
    std::string log;
    if (!chordmaker::ReadMeasureFiles(parts[0], parts[1], song, log)) return 0;
    chordmaker::ReadNotesDat(parts[2], song);
    const chordmaker::RunParameters params{.acMode = 1 + settings % 5,
                                           .phraseLen = 8 * ((settings / 5) % 11)};
    chordmaker::ChordSheet sheet;
    if (!chordmaker::MakeChordSheet(song, parts[3], params, sheet, log)) return 0;
    std::string plain;
    if (!chordmaker::FormatChordData(sheet, plain)) std::abort();
    if (plain.size() != 35 * sheet.measures.size()) std::abort();
    return 0;
}
