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
    const bool whole =
        midi::ForEachTrackChunk(tracks, [&count](std::span<const std::uint8_t> chunk) {
            // The end-of-track meta event without its delta time, which may be longer than a byte.
            const std::size_t end = chunk.size();
            ++count;
            return end >= midi::kChunkHeadLength + midi::kEndOfTrackEvent.size() - 1 &&
                   chunk[end - 3] == midi::kMeta && chunk[end - 2] == midi::kMetaEndOfTrack &&
                   chunk[end - 1] == 0x00;
        });
    if (!whole) return std::nullopt;
    return count;
}

bool DecodeOutputTracks(std::span<std::uint8_t> coded, int runCode) {
    UndoOutputCoding(coded, runCode);
    return CountWholeTrackChunks(coded).has_value();
}

}  // namespace formats
