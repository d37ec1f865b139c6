#include "platform/qt/random_source.h"

#include <random>

namespace platform::qt {
namespace {

std::function<float()>& Source() {
    static std::function<float()> source;
    return source;
}

float DefaultRnd() {
    static std::mt19937 engine{std::random_device{}()};
    // 24 random bits give every float of [0, 1) on the single-precision grid, never 1.
    return static_cast<float>(engine() >> 8) / 16777216.0f;
}

}  // namespace

float Rnd() {
    return Source() ? Source()() : DefaultRnd();
}

void SetRandomSource(std::function<float()> source) {
    Source() = std::move(source);
}

}  // namespace platform::qt
