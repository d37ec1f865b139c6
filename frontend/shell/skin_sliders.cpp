#include "frontend/shell/skin_sliders.h"

#include <algorithm>

#include "frontend/core/vb_text.h"

namespace corvane::shell {

int ThumbValue(const ThumbTrack& track, float left, int min, int max) {
    float width = track.TrackRight - track.TrackLeft;
    if (width == 0) width = 1;
    const auto range = static_cast<float>(static_cast<std::int16_t>(max - min));
    // The product stays in single precision, as the window's arithmetic does: 9 x 41 / 750 is
    // 0.492 and rounds to 0, 9 x 42 / 750 is 0.504 and rounds to 1.
    const float place = range * ((left - track.TrackLeft) / width);
    // A thumb far outside its track cannot overflow the step; the value is clamped anyway.
    const long step = RoundHalfEven(std::clamp(place, -65536.0f, 65536.0f));
    const long value = min + step;
    return static_cast<int>(std::clamp<long>(value, min, std::max(min, max)));
}

DragStep DragThumb(const ThumbTrack& track, float left, float dragLeft, float X) {
    const float newLeft = (X - track.GrabOffset) + dragLeft;
    if (newLeft < track.TrackLeft) return {track.TrackLeft, dragLeft - (left - track.TrackLeft)};
    if (newLeft >= track.TrackRight)
        return {track.TrackRight, dragLeft + (track.TrackRight - left)};
    return {newLeft, newLeft};
}

}  // namespace corvane::shell
