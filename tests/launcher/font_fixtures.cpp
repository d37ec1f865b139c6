#include "tests/launcher/font_fixtures.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/support/program_folder.h"

namespace vessane::testing {
namespace {

std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t{bytes.at(at)} << 24 | std::uint32_t{bytes.at(at + 1)} << 16 |
           std::uint32_t{bytes.at(at + 2)} << 8 | bytes.at(at + 3);
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

}  // namespace

std::filesystem::path EditorFontFile() {
    return testsupport::BinDir() / "DIRIzu.fon";
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> TwoFaceCollection(const std::vector<std::uint8_t>& font) {
    // Header: "ttcf", version 1.0, two fonts, and the offset of each font's table directory.
    constexpr std::uint32_t kHeaderSize = 20;
    std::vector<std::uint8_t> collection(kHeaderSize);
    Put32(collection, 0, 0x74746366);
    Put32(collection, 4, 0x00010000);
    Put32(collection, 8, 2);
    Put32(collection, 12, kHeaderSize);
    Put32(collection, 16, kHeaderSize);
    collection.insert(collection.end(), font.begin(), font.end());
    // Table offsets count from the start of the file, which the header moved.
    const std::size_t tables = (std::size_t{font.at(4)} << 8) | font.at(5);
    for (std::size_t t = 0; t < tables; ++t) {
        const std::size_t offsetAt = kHeaderSize + 12 + 16 * t + 8;
        Put32(collection, offsetAt, Get32(collection, offsetAt) + kHeaderSize);
    }
    return collection;
}

}  // namespace vessane::testing
