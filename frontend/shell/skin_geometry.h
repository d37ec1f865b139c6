// What the skin painter measures once at start: each slider thumb's track on its groove and
// the visualiser's ripple geometry. All in twips, single precision, as the window keeps them.
#pragma once

namespace corvane::shell {

// A thumb's Left runs over [TrackLeft, TrackRight]: its left edge on the groove's left edge at
// one end, its right edge on the groove's right edge at the other. GrabOffset is half the
// thumb's width, so the thumb's middle follows the pointer.
struct ThumbTrack {
    float GrabOffset = 0;
    float TrackLeft = 0;
    float TrackRight = 0;
};

ThumbTrack TrackOf(float grooveLeft, float grooveWidth, float thumbWidth);

// Where a thumb sits for a value of its scroll bar: the track's left end for a bar without a
// range, and one twip short of the right end at most.
float ThumbLeftForValue(const ThumbTrack& track, int value, int min, int max);

struct RippleGeometry {
    float RippleCentreX = 0;
    float RippleCentreY = 0;
    float RippleMaxRadius = 0;
    float RippleRadius = 0;
    float RippleStep = 0;
};

// From the visualiser's width and height; halves round to the even neighbour.
RippleGeometry RippleOf(float width, float height);

}  // namespace corvane::shell
