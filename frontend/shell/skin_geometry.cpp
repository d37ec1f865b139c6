#include "frontend/shell/skin_geometry.h"

#include <cmath>

#include "frontend/core/vb_text.h"

namespace corvane::shell {

ThumbTrack TrackOf(float grooveLeft, float grooveWidth, float thumbWidth) {
    ThumbTrack track;
    track.GrabOffset = static_cast<float>(RoundHalfEven(thumbWidth) / 2);
    track.TrackLeft = grooveLeft;
    track.TrackRight = grooveWidth + grooveLeft - thumbWidth;
    return track;
}

float ThumbLeftForValue(const ThumbTrack& track, int value, int min, int max) {
    if (max - min < 1 || max < 1) return track.TrackLeft;
    float left = (track.TrackRight - track.TrackLeft) / static_cast<float>(max - min) *
                     static_cast<float>(value - min) +
                 track.TrackLeft;
    if (left < track.TrackLeft) left = track.TrackLeft;
    if (left >= track.TrackRight) left = track.TrackRight - 1;
    return left;
}

RippleGeometry RippleOf(float width, float height) {
    RippleGeometry ripple;
    ripple.RippleCentreX = static_cast<float>(RoundHalfEven(width / 2 - 1));
    ripple.RippleCentreY = static_cast<float>(RoundHalfEven((height + height) / 3));
    ripple.RippleMaxRadius = ripple.RippleCentreX - 1;
    ripple.RippleRadius = 20;
    ripple.RippleStep = 30;
    return ripple;
}

}  // namespace corvane::shell
