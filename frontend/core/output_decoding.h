// The composer's output as the front end takes it in: ComposeOut.bin is a Standard MIDI File
// whose header chunk and first two tracks (the song input's) are stored plain and whose
// composed tracks carry the per-run output coding. This unit finds where the plain part ends
// and undoes the coding with the run code the composer reported, giving the playable song.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace frontend {

// The length of the plain part: the header chunk and the two copied tracks. Walks the chunk
// lengths; when the chunks do not check out, falls back to the end of the second 00 FF 2F 00
// sequence. nullopt when neither finds two tracks.
std::optional<std::size_t> FindOutputHeadLength(std::span<const std::uint8_t> output);

// Undoes the output coding of every byte from `headLength` on, in place (formats/output_coding.h);
// false when they do not decode into whole track chunks, as with another run's code.
bool DecodeOutputTracks(std::span<std::uint8_t> output, std::size_t headLength,
                        std::int16_t runCode);

struct DecodedOutput {
    std::vector<std::uint8_t> song;  // the whole output, decoded
    std::size_t headLength = 0;      // bytes of the plain part (what a song project keeps)
};

// The decoded song of a ComposeOut.bin, or nullopt when its plain part cannot be found or its
// composed tracks do not decode with `runCode`.
std::optional<DecodedOutput> DecodeComposeOutput(std::span<const std::uint8_t> output,
                                                 std::int16_t runCode);

}  // namespace frontend
