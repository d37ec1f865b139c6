// decodeout: turns the composer's ComposeOut.bin and the run code of its run (the composer's
// completion code + 1) into a plain MIDI file. A song whose chunks do not add up (an output cut
// short, a wrong run code) is refused rather than written.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <span>
#include <string_view>
#include <vector>

#include "formats/midi_bytes.h"
#include "formats/output_coding.h"
#include "frontend/core/output_decoding.h"
#include "platform/file.h"

namespace {

constexpr int kLowestRunCode = 1;
constexpr int kHighestRunCode = 32767;
namespace midi = formats::midi;

// The header chunk, then as many whole track chunks as it announces and nothing after them,
// the composed ones starting at `headLength`: what a player needs to read the song.
bool SongIsWhole(std::span<const std::uint8_t> song, std::size_t headLength) {
    if (headLength < midi::kHeaderChunkLength || headLength > song.size() ||
        !midi::HasChunkTag(song, 0, midi::kHeaderChunkTag) ||
        midi::ReadChunkLength(song, 0) != midi::kHeaderDataLength) {
        return false;
    }
    const std::size_t announced =
        std::size_t{song[formats::kTrackCountOffset - 1]} << 8 | song[formats::kTrackCountOffset];
    const auto plain = formats::CountWholeTrackChunks(
        song.subspan(midi::kHeaderChunkLength, headLength - midi::kHeaderChunkLength));
    const auto composed = formats::CountWholeTrackChunks(song.subspan(headLength));
    return plain && composed && *plain + *composed == announced;
}

int Run(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: decodeout <ComposeOut.bin> <run code> <song.mid>\n", stderr);
        return 2;
    }
    const std::string_view codeText = argv[2];
    int runCode = 0;
    const auto [end, ec] =
        std::from_chars(codeText.data(), codeText.data() + codeText.size(), runCode);
    if (ec != std::errc() || end != codeText.data() + codeText.size() || runCode < kLowestRunCode ||
        runCode > kHighestRunCode) {
        std::fprintf(stderr, "decodeout: the run code must be a number 1 to 32767, not %s\n",
                     argv[2]);
        return 2;
    }
    // A run killed before its rename left a temporary song beside the output; ours to remove.
    platform::RemoveStaleTemporaries(argv[3]);
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(argv[1], bytes)) {
        std::fprintf(stderr, "decodeout: cannot read %s\n", argv[1]);
        return 1;
    }
    const auto headLength = frontend::FindOutputHeadLength(bytes);
    if (!headLength) {
        std::fprintf(stderr, "decodeout: %s holds no two plain tracks to start from\n", argv[1]);
        return 1;
    }
    formats::UndoOutputCoding(std::span(bytes).subspan(*headLength), runCode);
    if (!SongIsWhole(bytes, *headLength)) {
        std::fprintf(stderr,
                     "decodeout: %s does not decode to a whole MIDI file with run code %d "
                     "(cut short or another run's code); %s is not written\n",
                     argv[1], runCode, argv[3]);
        return 1;
    }
    if (!platform::ReplaceFileAtomically(argv[3], bytes)) {
        std::fprintf(stderr, "decodeout: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "decodeout: %s\n", e.what());
        return 1;
    }
}
