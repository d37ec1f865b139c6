#include "workers/chordmaker/run_key.h"

#include <cstdlib>
#include <ctime>
#include <random>

namespace chordmaker {

namespace {

std::optional<std::mt19937>& Engine() {
    static std::optional<std::mt19937> engine;
    return engine;
}

}  // namespace

void SeedRunKey(std::uint32_t seed) {
    Engine().emplace(seed);
}

void SeedRunKeyFromEnvironment() {
    const char* text = std::getenv(kRunKeySeedVariable);
    if (text == nullptr || *text == '\0') return;
    char* end = nullptr;
    const unsigned long seed = std::strtoul(text, &end, 10);
    if (end != nullptr && *end == '\0') SeedRunKey(static_cast<std::uint32_t>(seed));
}

std::uint8_t DrawRunKey() {
    if (Engine()) {
        std::uniform_int_distribution<int> choice(0, kRunKeyChoices - 1);
        return static_cast<std::uint8_t>('1' + choice(*Engine()));
    }
    const std::time_t now = std::time(nullptr);
    return static_cast<std::uint8_t>('1' + static_cast<int>(now % kRunKeyChoices));
}

}  // namespace chordmaker
