#include "frontend/core/output_decoding.h"

#include "formats/midi_bytes.h"
#include "formats/output_coding.h"

namespace frontend {

namespace {

namespace midi = formats::midi;

constexpr int kPlainTracks = 2;

// The chunk walk: a header chunk of length 6, then two "MTrk" chunks that fit the file and
// each end with the end-of-track meta event.
std::optional<std::size_t> WalkChunks(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < midi::kHeaderChunkLength ||
        !midi::HasChunkTag(bytes, 0, midi::kHeaderChunkTag) ||
        midi::ReadChunkLength(bytes, 0) != midi::kHeaderDataLength) {
        return std::nullopt;
    }
    std::size_t pos = midi::kHeaderChunkLength;
    for (int track = 0; track < kPlainTracks; ++track) {
        if (bytes.size() - pos < midi::kChunkHeadLength ||
            !midi::HasChunkTag(bytes, pos, midi::kTrackChunkTag)) {
            return std::nullopt;
        }
        const std::uint64_t length = midi::ReadChunkLength(bytes, pos);
        const std::uint64_t end = pos + midi::kChunkHeadLength + length;
        if (length < 3 || end > bytes.size() || bytes[end - 3] != midi::kMeta ||
            bytes[end - 2] != midi::kMetaEndOfTrack || bytes[end - 1] != 0x00) {
            return std::nullopt;
        }
        pos = static_cast<std::size_t>(end);
    }
    return pos;
}

// The byte search: the end of the second 00 FF 2F 00 wherever it stands.
std::optional<std::size_t> SearchEndOfTracks(std::span<const std::uint8_t> bytes) {
    const auto& end = midi::kEndOfTrackEvent;
    int found = 0;
    for (std::size_t i = 0; i + 3 < bytes.size(); ++i) {
        if (bytes[i] == end[0] && bytes[i + 1] == end[1] && bytes[i + 2] == end[2] &&
            bytes[i + 3] == end[3]) {
            if (++found == kPlainTracks) return i + end.size();
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> FindOutputHeadLength(std::span<const std::uint8_t> output) {
    if (auto length = WalkChunks(output)) return length;
    return SearchEndOfTracks(output);
}

bool DecodeOutputTracks(std::span<std::uint8_t> output, std::size_t headLength,
                        std::int16_t runCode) {
    if (headLength > output.size()) return false;
    return formats::DecodeOutputTracks(output.subspan(headLength), runCode);
}

std::optional<DecodedOutput> DecodeComposeOutput(std::span<const std::uint8_t> output,
                                                 std::int16_t runCode) {
    const auto headLength = FindOutputHeadLength(output);
    if (!headLength) return std::nullopt;
    DecodedOutput decoded{std::vector<std::uint8_t>(output.begin(), output.end()), *headLength};
    if (!DecodeOutputTracks(decoded.song, decoded.headLength, runCode)) return std::nullopt;
    return decoded;
}

}  // namespace frontend
