// The chord data coding: every byte of a chord data file (Data.aco, and a chord file that copies
// it) is stored as (plain + K + 1 + 3i) mod 256, where K is a one-byte key and i counts the bytes
// of the whole file from 1, across record boundaries. The chord maker codes with its per-run key
// (the character code of a digit '1' to '9') and reports that key as its completion code; the
// chord list editor codes with the fixed key 0x37. The format carries no check value, so a wrong
// key decodes into garbage that only the reader's own field checks can notice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace formats {

// One record per measure, no line ends.
constexpr std::size_t kChordDataRecordSize = 35;
// The key the chord list editor writes and reads its files with.
constexpr std::uint8_t kChordEditorKey = 0x37;

// Codes or decodes one byte after another, keeping the running byte counter, so a reader can
// decode record by record and a writer can code as it goes.
class ChordDataCoder {
  public:
    explicit ChordDataCoder(std::uint8_t key) : key_(key) {}

    std::uint8_t Encode(std::uint8_t plain);
    std::uint8_t Decode(std::uint8_t stored);
    // Starts again at the first byte of a file (counter 1).
    void Rewind() { counter_ = 0; }

  private:
    std::uint8_t NextOffset();

    std::uint8_t key_;
    // Kept modulo 256: only its value modulo 256 enters the byte arithmetic.
    std::uint8_t counter_ = 0;
};

// A whole file's bytes, counted from its first byte.
std::vector<std::uint8_t> EncodeChordData(std::span<const std::uint8_t> plain, std::uint8_t key);
std::vector<std::uint8_t> DecodeChordData(std::span<const std::uint8_t> stored, std::uint8_t key);

}  // namespace formats
