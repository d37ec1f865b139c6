// The colour visualiser's rules without a window: the root of a chord text as an index of the
// chord colour table, the random fill style, the drawing mode's cycle, the icon's colour cycle
// and the ripple's colour walk. Colours are 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane::shell {

using VisColour = std::uint32_t;

// Ab 0, A 1, Bb 2, B 3, Cb 4, C 5, ... G 13: twice the letter's place in "ABCDEFG" plus one,
// one less for a flat. A sharp keeps the natural's index. -1 when the text does not start with
// one of the seven capital letters (an empty cell too).
int ChordRootOf(std::string_view chordText);

// From one random value in [0, 1): solid 8 times in 12, the other four styles (1 none, 2
// horizontal, 4 upward and 5 downward diagonals) once each; never 3.
int FillStyleFor(float rnd);

// Drawing modes run 1..16 and start again.
int NextDrawModeAfter(int drawMode);

// The icon's click: a left click quickens the colour walk by 5 up to 73 and more, any other
// button slows it by 5 down to 8 and less; the back colour moves to the next of the five.
struct DemoColourCycle {
    int step = 8;
    int index = 0;
};
DemoColourCycle NextDemoColours(DemoColourCycle now, int button);

// One step of the ripple's colour walk: `amount` added to one component (0 red, 1 green, 2
// blue), wrapping at 256.
VisColour WalkColour(VisColour colour, int component, int amount);

// The ripple's growth per update climbs from 30 towards 40 in tenths and starts again.
float NextRippleStep(float rippleStep);

}  // namespace corvane::shell
