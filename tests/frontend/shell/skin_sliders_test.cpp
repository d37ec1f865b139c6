// The sliders without a window: a thumb's place to its bar's value (rounding, clamping, the
// degenerate track), the round trip from a value to its place and back, and one drag step at
// and beyond the track's ends.
#include "frontend/shell/skin_sliders.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane::shell {
namespace {

// The design tracks, in twips.
const ThumbTrack kEcho = TrackOf(7980, 870, 120);       // 7980..8730
const ThumbTrack kVolume = TrackOf(4620, 1170, 120);    // 4620..5670
const ThumbTrack kMaster = TrackOf(4140, 1995, 120);    // 4140..6015
const ThumbTrack kPosition = TrackOf(6480, 1905, 120);  // 6480..8265

TEST(ThumbValue, RoundsHalvesToEvenAndClampsToTheRange) {
    const ThumbTrack unit{0, 0, 10};  // one twip is one step of a 0..10 bar
    struct Case {
        const char* what;
        ThumbTrack track;
        float left;
        int min, max;
        int value;
    } const cases[] = {
        {"echo 41 twips in: 0.492", kEcho, 7980 + 41, 0, 9, 0},
        {"echo 42 twips in: 0.504", kEcho, 7980 + 42, 0, 9, 1},
        {"echo at the right end", kEcho, 8730, 0, 9, 9},
        {"half to even 0.5", unit, 0.5f, 0, 10, 0},
        {"half to even 1.5", unit, 1.5f, 0, 10, 2},
        {"half to even 2.5", unit, 2.5f, 0, 10, 2},
        {"master three quarters along", kMaster, 4140 + 1875 * 0.75f, 20, 100, 80},
        {"master at the left end", kMaster, 4140, 20, 100, 20},
        {"beyond the right end", kVolume, 9000, 0, 127, 127},
        {"beyond the left end", kVolume, 100, 0, 127, 0},
        {"far beyond both ends", kPosition, 1e9f, 0, 40, 40},
        {"no width counts as one twip", {60, 500, 500}, 501, 0, 9, 9},
        {"no width at its left end", {60, 500, 500}, 500, 0, 9, 0},
        {"a bar without a range", kPosition, 7000, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ThumbValue(c.track, c.left, c.min, c.max), c.value);
    }
}

TEST(ThumbValue, EveryValuesPlaceGivesTheValueBack) {
    struct Bar {
        ThumbTrack track;
        int min, max;
    } const bars[] = {{kVolume, 0, 127}, {kMaster, 20, 100}, {kEcho, 0, 9}, {kPosition, 0, 260}};
    for (const Bar& bar : bars) {
        for (int v = bar.min; v <= bar.max; ++v) {
            SCOPED_TRACE(std::to_string(bar.max) + ": " + std::to_string(v));
            const float left = ThumbLeftForValue(bar.track, v, bar.min, bar.max);
            EXPECT_LT(left, bar.track.TrackRight);
            EXPECT_EQ(ThumbValue(bar.track, left, bar.min, bar.max), v);
        }
    }
}

TEST(DragThumb, TheMiddleFollowsThePointerInsideTheTrackAndStopsAtItsEnds) {
    // The pointer 60 twips into a thumb at 5000 keeps it there; 30 more moves it by 30.
    DragStep step = DragThumb(kVolume, 5000, 5000, 60);
    EXPECT_EQ(step.left, 5000);
    EXPECT_EQ(step.dragLeft, 5000);
    step = DragThumb(kVolume, 5000, 5000, 90);
    EXPECT_EQ(step.left, 5030);
    EXPECT_EQ(step.dragLeft, 5030);

    // Past the right end the thumb sits on TrackRight itself and the drag remembers the way
    // the thumb went, not the pointer's.
    step = DragThumb(kVolume, 5600, 5600, 2000);
    EXPECT_EQ(step.left, 5670);
    EXPECT_EQ(step.dragLeft, 5670);
    step = DragThumb(kVolume, 5670, 5670, 2000);
    EXPECT_EQ(step.left, 5670);
    EXPECT_EQ(step.dragLeft, 5670);

    // Past the left end.
    step = DragThumb(kVolume, 4700, 4700, -500);
    EXPECT_EQ(step.left, 4620);
    EXPECT_EQ(step.dragLeft, 4620);
    // Exactly on TrackLeft is inside the track.
    step = DragThumb(kVolume, 4700, 4700, -20);
    EXPECT_EQ(step.left, 4620);
}

}  // namespace
}  // namespace corvane::shell
