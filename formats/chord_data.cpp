#include "formats/chord_data.h"

namespace formats {

std::uint8_t ChordDataCoder::NextOffset() {
    ++counter_;
    return static_cast<std::uint8_t>(key_ + 1 + 3 * counter_);
}

std::uint8_t ChordDataCoder::Encode(std::uint8_t plain) {
    return static_cast<std::uint8_t>(plain + NextOffset());
}

std::uint8_t ChordDataCoder::Decode(std::uint8_t stored) {
    return static_cast<std::uint8_t>(stored - NextOffset());
}

std::vector<std::uint8_t> EncodeChordData(std::span<const std::uint8_t> plain, std::uint8_t key) {
    ChordDataCoder coder(key);
    std::vector<std::uint8_t> stored;
    stored.reserve(plain.size());
    for (const std::uint8_t byte : plain) stored.push_back(coder.Encode(byte));
    return stored;
}

std::vector<std::uint8_t> DecodeChordData(std::span<const std::uint8_t> stored, std::uint8_t key) {
    ChordDataCoder coder(key);
    std::vector<std::uint8_t> plain;
    plain.reserve(stored.size());
    for (const std::uint8_t byte : stored) plain.push_back(coder.Decode(byte));
    return plain;
}

}  // namespace formats
