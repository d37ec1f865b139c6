// Small arithmetic the part generators share: the velocity clamp, the pattern note's degree and
// octave, and the 32-bit view of wide intermediate values.
#pragma once

#include <algorithm>
#include <cstdint>

namespace composer {

// The channel volume of a part at full level and the step of its fades.
constexpr int kFullVolume = 125;
constexpr int kVolumeStep = 5;

// A note-on velocity: never 0 (that would be a note-off) and never above 127.
inline int Clamp127(int v) {
    return std::clamp(v, 1, 127);
}

// The low 32 bits of a wide value, as the stored 32-bit fields keep it.
inline std::int32_t Low32(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v & 0xFFFFFFFF));
}

// A velocity scaled by a cell's own velocity. Whole numbers, truncated, so that 90 is neutral
// at every velocity.
constexpr int kNeutralCellVelocity = 90;
inline int ScaleByCellVelocity(int velocity, int cellVel) {
    if (cellVel <= 0) return velocity;
    return Clamp127(cellVel * velocity / kNeutralCellVelocity);
}

// Degree 1..12 and the octave shift (a multiple of 12) of a pattern note.
inline void SplitDegree(int note, int& degree, int& octave) {
    degree = note;
    octave = 0;
    while (degree > 12) {
        degree -= 12;
        octave += 12;
    }
}

}  // namespace composer
