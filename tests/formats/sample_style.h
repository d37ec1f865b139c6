// A small description used by several style tests: a 2/4 style of version 5 (8 steps per
// quarter note, 16 steps a measure) with a chord track and a drum track.
#pragma once

#include <string_view>

namespace testsupport {

inline constexpr std::string_view kSampleStyle = R"(# a tiny 2/4 style
style "Demo: 2/4 Tiny demo"
code Demo
version 5

track
  channel 1
  base -12
  chord program 4 volume 101 pan 30 effect 20
  pattern program 5 volume 102 pan 90 effect 21
  sustain 1
  register 2 tight
  playmode 2
  mode 0
    lane 0: 6 . . . . . . -6 | 10 . . . . . . -10
    lane 3: 9v80 . . . . . . -9 | . . . . . . . .

track "Drums"
  channel 9
  chord program 0 volume 110 pan 64 effect 40
  pattern program 0 volume 110 pan 64 effect 40
  mode 0
    lane 0: 36 . . -36 . . . . | 38 . . -38 . . . .
  mode 2 slope 3
    lane 15: 42v100 -42 42 -42 42 -42 42 -42 | 42 -42 42 -42 42 -42 42 -42
)";

}  // namespace testsupport
