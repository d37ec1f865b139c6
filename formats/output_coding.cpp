#include "formats/output_coding.h"

#include "formats/midi_bytes.h"

namespace formats {

namespace {

constexpr int kLastCounter = 255;

}  // namespace

void OutputTrackCoder::Append(std::span<const std::uint8_t> plain, std::vector<std::uint8_t>& out) {
    out.reserve(out.size() + plain.size());
    for (const std::uint8_t b : plain) {
        if (counter_ < kLastCounter) ++counter_;
        out.push_back(static_cast<std::uint8_t>((b - runCode_ - counter_) & 0xFF));
    }
}

void UndoOutputCoding(std::span<std::uint8_t> coded, int runCode) {
    int counter = 1;
    for (std::uint8_t& b : coded) {
        if (counter < kLastCounter) ++counter;
        b = static_cast<std::uint8_t>((b + runCode + counter) & 0xFF);
    }
}

std::optional<std::size_t> CountWholeTrackChunks(std::span<const std::uint8_t> tracks) {
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < tracks.size()) {
        if (tracks.size() - at < midi::kChunkHeadLength ||
            !midi::HasChunkTag(tracks, at, midi::kTrackChunkTag)) {
            return std::nullopt;
        }
        const std::uint64_t length = midi::ReadChunkLength(tracks, at);
        if (length < midi::kEndOfTrackEvent.size() - 1 ||
            length > tracks.size() - at - midi::kChunkHeadLength) {
            return std::nullopt;
        }
        at += midi::kChunkHeadLength + static_cast<std::size_t>(length);
        // The end-of-track meta event without its delta time, which may be longer than a byte.
        if (tracks[at - 3] != midi::kMeta || tracks[at - 2] != midi::kMetaEndOfTrack ||
            tracks[at - 1] != 0x00) {
            return std::nullopt;
        }
        ++count;
    }
    return count;
}

bool DecodeOutputTracks(std::span<std::uint8_t> coded, int runCode) {
    UndoOutputCoding(coded, runCode);
    return CountWholeTrackChunks(coded).has_value();
}

}  // namespace formats
