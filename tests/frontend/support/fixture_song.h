// The workflow tests' song: a waltz melody in G major (one sharp, ending on G) at 96 beats per
// minute in 3/4, in the system's input shape, with any number of measures. The GUI tests, the
// workflow benchmark and the screenshot scenario all use it.
#pragma once

#include <cstdint>
#include <vector>

namespace corvane::testing {

std::vector<std::uint8_t> WaltzInG(int measures);

}  // namespace corvane::testing
