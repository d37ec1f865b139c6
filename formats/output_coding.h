// The coding of the composer's output (ComposeOut.bin): the header chunk and the two tracks
// copied from the song input stay plain; every byte of the composed tracks after them is
// stored as (plain - runCode - counter) mod 256, where the counter climbs from 2 by one per
// byte and stays at 255 from the 254th byte on, running across track boundaries. The run code
// is the composer's completion code, so only the caller that started the run can decode it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace formats {

// Where the output's header chunk keeps its 16-bit track count.
inline constexpr std::size_t kTrackCountOffset = 11;

class OutputTrackCoder {
  public:
    explicit OutputTrackCoder(int runCode) : runCode_(runCode) {}
    // Codes the next plain bytes of the output onto `out`.
    void Append(std::span<const std::uint8_t> plain, std::vector<std::uint8_t>& out);

  private:
    int runCode_;
    int counter_ = 1;
};

// Undoes the coding of the composed tracks in place, from their first byte on. No check.
void UndoOutputCoding(std::span<std::uint8_t> coded, int runCode);

// How many track chunks `tracks` holds when it is a run of whole track chunks and nothing else:
// each "MTrk" with a length that fits, ending with the end-of-track event. No bytes are zero
// whole chunks; nullopt when a chunk is not whole or something else follows.
[[nodiscard]] std::optional<std::size_t> CountWholeTrackChunks(
    std::span<const std::uint8_t> tracks);

// Decodes the composed tracks in place and checks them: false when they do not decode into
// whole track chunks, which is what a run code other than the composer's gives (codes equal
// modulo 256 decode alike and cannot be told apart) and what a file cut short inside a track
// gives.
[[nodiscard]] bool DecodeOutputTracks(std::span<std::uint8_t> coded, int runCode);

}  // namespace formats
