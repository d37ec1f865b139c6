// The byte keys of the style data coding, one per style version family. The composer reads and
// the style compiler writes with these same values, so a style file is only readable by a build
// that shares this header.
#pragma once

#include <cstdint>

namespace formats {

constexpr std::uint8_t kStyleKeyBelow20 = 0x2B;  // versions 00 to 19
constexpr std::uint8_t kStyleKey20To30 = 0x5D;   // versions 20 to 30
constexpr std::uint8_t kStyleKeyFrom31 = 0x71;   // versions 31 and above

constexpr std::uint8_t StyleKeyForVersion(int version) {
    if (version < 20) return kStyleKeyBelow20;
    if (version <= 30) return kStyleKey20To30;
    return kStyleKeyFrom31;
}

}  // namespace formats
