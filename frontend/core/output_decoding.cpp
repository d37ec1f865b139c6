#include "frontend/core/output_decoding.h"

#include <array>

namespace frontend {

namespace {

constexpr std::size_t kHeaderChunkLength = 14;  // "MThd", length 6, format, tracks, division
constexpr std::uint32_t kHeaderDataLength = 6;
constexpr std::size_t kChunkHeadLength = 8;  // tag and 32-bit length
constexpr int kPlainTracks = 2;
constexpr std::array<std::uint8_t, 4> kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};
constexpr int kFirstCounter = 1;
constexpr int kLastCounter = 255;

bool HasTag(std::span<const std::uint8_t> bytes, std::size_t pos, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        if (bytes[pos + i] != static_cast<std::uint8_t>(tag[i])) return false;
    }
    return true;
}

std::uint32_t ReadLength(std::span<const std::uint8_t> bytes, std::size_t pos) {
    return (std::uint32_t{bytes[pos]} << 24) | (std::uint32_t{bytes[pos + 1]} << 16) |
           (std::uint32_t{bytes[pos + 2]} << 8) | std::uint32_t{bytes[pos + 3]};
}

// The chunk walk: a header chunk of length 6, then two "MTrk" chunks that fit the file and
// each end with the end-of-track meta event.
std::optional<std::size_t> WalkChunks(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderChunkLength || !HasTag(bytes, 0, "MThd") ||
        ReadLength(bytes, 4) != kHeaderDataLength) {
        return std::nullopt;
    }
    std::size_t pos = kHeaderChunkLength;
    for (int track = 0; track < kPlainTracks; ++track) {
        if (bytes.size() - pos < kChunkHeadLength || !HasTag(bytes, pos, "MTrk")) {
            return std::nullopt;
        }
        const std::uint64_t length = ReadLength(bytes, pos + 4);
        const std::uint64_t end = pos + kChunkHeadLength + length;
        if (length < 3 || end > bytes.size() || bytes[end - 3] != kEndOfTrack[1] ||
            bytes[end - 2] != kEndOfTrack[2] || bytes[end - 1] != kEndOfTrack[3]) {
            return std::nullopt;
        }
        pos = static_cast<std::size_t>(end);
    }
    return pos;
}

// The byte search: the end of the second 00 FF 2F 00 wherever it stands.
std::optional<std::size_t> SearchEndOfTracks(std::span<const std::uint8_t> bytes) {
    int found = 0;
    for (std::size_t i = 0; i + 3 < bytes.size(); ++i) {
        if (bytes[i] == kEndOfTrack[0] && bytes[i + 1] == kEndOfTrack[1] &&
            bytes[i + 2] == kEndOfTrack[2] && bytes[i + 3] == kEndOfTrack[3]) {
            if (++found == kPlainTracks) return i + kEndOfTrack.size();
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> FindOutputHeadLength(std::span<const std::uint8_t> output) {
    if (auto length = WalkChunks(output)) return length;
    return SearchEndOfTracks(output);
}

void DecodeOutputTracks(std::span<std::uint8_t> output, std::size_t headLength,
                        std::int16_t runCode) {
    int counter = kFirstCounter;
    for (std::size_t j = headLength; j < output.size(); ++j) {
        if (counter < kLastCounter) ++counter;
        const int value = (output[j] + runCode + counter) % 256;
        output[j] = static_cast<std::uint8_t>(value < 0 ? value + 256 : value);
    }
}

std::optional<DecodedOutput> DecodeComposeOutput(std::span<const std::uint8_t> output,
                                                 std::int16_t runCode) {
    const auto headLength = FindOutputHeadLength(output);
    if (!headLength) return std::nullopt;
    DecodedOutput decoded{std::vector<std::uint8_t>(output.begin(), output.end()), *headLength};
    DecodeOutputTracks(decoded.song, decoded.headLength, runCode);
    return decoded;
}

}  // namespace frontend
