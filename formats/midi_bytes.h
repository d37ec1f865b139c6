// The Standard MIDI File bytes every program of the system reads or writes: chunk tags and
// lengths, channel status kinds and meta event types.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace formats::midi {

// Channel status kinds (high nibble; the low nibble is the channel).
inline constexpr std::uint8_t kNoteOff = 0x80;
inline constexpr std::uint8_t kNoteOn = 0x90;
inline constexpr std::uint8_t kKeyPressure = 0xA0;
inline constexpr std::uint8_t kControlChange = 0xB0;
inline constexpr std::uint8_t kProgramChange = 0xC0;
inline constexpr std::uint8_t kChannelPressure = 0xD0;
inline constexpr std::uint8_t kPitchBend = 0xE0;
inline constexpr std::uint8_t kSysEx = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;

// Meta events: FF, type, length, data.
inline constexpr std::uint8_t kMeta = 0xFF;
inline constexpr std::uint8_t kMetaTrackName = 0x03;
inline constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
inline constexpr std::uint8_t kMetaTempo = 0x51;
inline constexpr std::uint8_t kMetaTimeSignature = 0x58;
inline constexpr std::uint8_t kMetaKeySignature = 0x59;
// The end-of-track event with a zero delta time, as it closes every track the system writes.
inline constexpr std::array<std::uint8_t, 4> kEndOfTrackEvent = {0x00, kMeta, kMetaEndOfTrack,
                                                                 0x00};

// Chunks: a four-letter tag and a 32-bit big-endian length, then the data.
inline constexpr std::string_view kHeaderChunkTag = "MThd";
inline constexpr std::string_view kTrackChunkTag = "MTrk";
inline constexpr std::size_t kChunkHeadLength = 8;
inline constexpr std::uint32_t kHeaderDataLength = 6;  // format, track count, division
inline constexpr std::size_t kHeaderChunkLength = kChunkHeadLength + kHeaderDataLength;

// Whether the four bytes at `at` spell `tag`; the caller checks that they exist.
constexpr bool HasChunkTag(std::span<const std::uint8_t> bytes, std::size_t at,
                           std::string_view tag) {
    for (std::size_t i = 0; i < tag.size(); ++i) {
        if (bytes[at + i] != static_cast<std::uint8_t>(tag[i])) return false;
    }
    return true;
}

// The 32-bit length behind the tag of the chunk at `at`; the caller checks that it exists.
constexpr std::uint32_t ReadChunkLength(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint32_t{bytes[at + 4]} << 24) | (std::uint32_t{bytes[at + 5]} << 16) |
           (std::uint32_t{bytes[at + 6]} << 8) | std::uint32_t{bytes[at + 7]};
}

// Walks `bytes` as track chunks laid end to end, handing `visit` each chunk with its head.
// True when every byte belongs to a chunk whose "MTrk" tag and length fit and `visit` took
// every chunk (returned true); false at the first chunk that breaks either.
template <typename Visit>
constexpr bool ForEachTrackChunk(std::span<const std::uint8_t> bytes, Visit visit) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < kChunkHeadLength || !HasChunkTag(bytes, at, kTrackChunkTag)) {
            return false;
        }
        const std::uint64_t length = ReadChunkLength(bytes, at);
        if (length > bytes.size() - at - kChunkHeadLength) return false;
        const std::size_t size = kChunkHeadLength + static_cast<std::size_t>(length);
        if (!visit(bytes.subspan(at, size))) return false;
        at += size;
    }
    return true;
}

}  // namespace formats::midi
