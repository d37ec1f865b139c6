// The front end's one source of random numbers: single-precision values in [0, 1), as the
// system's formulas expect. Tests replace it so that every random choice can be repeated.
#pragma once

#include <functional>

namespace platform::qt {

float Rnd();

// Replaces the source; an empty function restores the default, seeded from the machine.
void SetRandomSource(std::function<float()> source);

}  // namespace platform::qt
