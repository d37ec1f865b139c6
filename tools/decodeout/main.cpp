// decodeout: turns the composer's ComposeOut.bin and the run code of its run (the composer's
// completion code + 1) into a plain MIDI file. A song whose chunks do not add up (an output cut
// short, a wrong run code) is refused rather than written.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <span>
#include <string_view>
#include <vector>

#include "frontend/core/output_decoding.h"
#include "platform/file.h"

namespace {

constexpr int kLowestRunCode = 1;
constexpr int kHighestRunCode = 32767;
constexpr std::size_t kChunkHead = 8;
constexpr std::uint32_t kHeaderLength = 6;

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

bool HasTag(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag) {
    return std::equal(tag.begin(), tag.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// The header chunk, then as many track chunks as it announces, each inside the file and ending
// with the end-of-track event, and nothing after them: what a player needs to read the song.
bool ChunksAreWhole(std::span<const std::uint8_t> song) {
    if (song.size() < kChunkHead + kHeaderLength || !HasTag(song, 0, "MThd") ||
        BigEndian(song, 4, 4) != kHeaderLength) {
        return false;
    }
    const std::uint32_t tracks = BigEndian(song, 10, 2);
    std::size_t at = kChunkHead + kHeaderLength;
    for (std::uint32_t track = 0; track < tracks; ++track) {
        if (song.size() - at < kChunkHead || !HasTag(song, at, "MTrk")) return false;
        const std::uint64_t length = BigEndian(song, at + 4, 4);
        if (length < 3 || length > song.size() - at - kChunkHead) return false;
        at += kChunkHead + static_cast<std::size_t>(length);
        if (song[at - 3] != 0xFF || song[at - 2] != 0x2F || song[at - 1] != 0x00) return false;
    }
    return at == song.size();
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
    const auto decoded = frontend::DecodeComposeOutput(bytes, static_cast<std::int16_t>(runCode));
    if (!decoded) {
        std::fprintf(stderr, "decodeout: %s holds no two plain tracks to start from\n", argv[1]);
        return 1;
    }
    if (!ChunksAreWhole(decoded->song)) {
        std::fprintf(stderr,
                     "decodeout: %s does not decode to a whole MIDI file with run code %d "
                     "(cut short or another run's code); %s is not written\n",
                     argv[1], runCode, argv[3]);
        return 1;
    }
    if (!platform::ReplaceFileAtomically(argv[3], decoded->song)) {
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
