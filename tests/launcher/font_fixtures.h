// Font files for the launcher's tests: the editor font of the ready program folder, and a font
// collection made from it that holds the same face twice (a file with two fonts).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vessane::testing {

std::filesystem::path EditorFontFile();
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A TrueType collection whose two entries both point at the one face of `font`.
std::vector<std::uint8_t> TwoFaceCollection(const std::vector<std::uint8_t>& font);

}  // namespace vessane::testing
