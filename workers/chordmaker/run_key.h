// The per-run chord data key: '1' + (calendar seconds mod 9), so 49 to 57. It is also the chord
// maker's success completion code. A test makes it reproducible by seeding the one engine the
// draw then comes from, in the process (SeedRunKey) or through the environment variable
// TRESSIL_SEED of a Tressil run.
#pragma once

#include <cstdint>
#include <optional>

namespace chordmaker {

inline constexpr const char* kRunKeySeedVariable = "TRESSIL_SEED";
inline constexpr int kRunKeyChoices = 9;

void SeedRunKey(std::uint32_t seed);
// Seeds from TRESSIL_SEED when it holds a number.
void SeedRunKeyFromEnvironment();
std::uint8_t DrawRunKey();

}  // namespace chordmaker
