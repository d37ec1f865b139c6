// Moving the title-less window with Ctrl, and what the painter measures: slider tracks and the
// visualiser's ripple geometry.
#include "frontend/shell/window_drag.h"

#include <gtest/gtest.h>

#include "frontend/shell/skin_buttons.h"
#include "frontend/shell/skin_geometry.h"

namespace corvane::shell {
namespace {

TEST(WindowDrag, OnlyCtrlAloneStartsADragWithAnyButton) {
    struct Case {
        int button, shift;
        bool starts;
    } const cases[] = {
        {kLeftButton, kCtrlKey, true},
        {kRightButton, kCtrlKey, true},
        {kMiddleButton, kCtrlKey, true},
        {kLeftButton, 0, false},
        {kLeftButton, kCtrlKey | kShiftKey, false},
        {kLeftButton, kCtrlKey | kAltKey, false},
        {kLeftButton, kShiftKey, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.button) + "/" + std::to_string(c.shift));
        WindowDrag drag;
        drag.Form_MouseDown(c.button, c.shift, 300, 150, {1500, 3000});
        EXPECT_EQ(drag.WinDragOn, c.starts);
        EXPECT_EQ(drag.Form_MouseMove(kLeftButton, 450, 300).has_value(), c.starts);
    }
}

TEST(WindowDrag, TheWindowFollowsThePointerUntilTheRelease) {
    WindowDrag drag;
    drag.Form_MouseDown(kLeftButton, kCtrlKey, 300, 150, {1500, 3000});
    // The pointer moves 600 twips right and 150 down; the window's inside point under it is
    // the press point plus that movement before the window follows.
    auto place = drag.Form_MouseMove(kLeftButton, 900, 300);
    ASSERT_TRUE(place);
    EXPECT_EQ(place->left, 2100);
    EXPECT_EQ(place->top, 3150);
    // After the window followed, the same pointer is over the press point again: no move left.
    place = drag.Form_MouseMove(kLeftButton, 300, 150);
    EXPECT_EQ(place->left, 2100);
    EXPECT_EQ(place->top, 3150);
    // Ctrl may be let go (moves carry no keys); a middle button or none moves nothing.
    EXPECT_FALSE(drag.Form_MouseMove(kMiddleButton, 0, 0));
    EXPECT_FALSE(drag.Form_MouseMove(0, 0, 0));
    EXPECT_FALSE(drag.Form_MouseMove(kLeftButton | kRightButton, 0, 0));
    // A press without Ctrl leaves the running drag alone.
    drag.Form_MouseDown(kLeftButton, 0, 0, 0, {0, 0});
    EXPECT_TRUE(drag.WinDragOn);
    place = drag.Form_MouseMove(kRightButton, 315, 135);
    EXPECT_EQ(place->left, 2115);
    EXPECT_EQ(place->top, 3135);
    drag.Form_MouseUp();
    EXPECT_FALSE(drag.WinDragOn);
    EXPECT_FALSE(drag.Form_MouseMove(kLeftButton, 900, 900));
}

TEST(SkinGeometry, TracksOfTheDesignGrooves) {
    struct Case {
        const char* slider;
        float grooveLeft, grooveWidth, trackLeft, trackRight;
    } const cases[] = {
        {"position", 6480, 1905, 6480, 8265},
        {"part volume", 4620, 1170, 4620, 5670},
        {"master volume", 4140, 1995, 4140, 6015},
        {"echo", 7980, 870, 7980, 8730},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slider);
        const ThumbTrack track = TrackOf(c.grooveLeft, c.grooveWidth, 120);
        EXPECT_EQ(track.GrabOffset, 60);
        EXPECT_EQ(track.TrackLeft, c.trackLeft);
        EXPECT_EQ(track.TrackRight, c.trackRight);
    }
    // An odd width rounds (half to even) before the halving.
    EXPECT_EQ(TrackOf(0, 500, 121.5f).GrabOffset, 61);
    EXPECT_EQ(TrackOf(0, 500, 122.5f).GrabOffset, 61);
}

TEST(SkinGeometry, ThumbPlaceForAValue) {
    const ThumbTrack master = TrackOf(4140, 1995, 120);
    EXPECT_EQ(ThumbLeftForValue(master, 80, 20, 100), 4140 + 1875 * 0.75f);
    EXPECT_EQ(ThumbLeftForValue(master, 20, 20, 100), 4140);
    EXPECT_EQ(ThumbLeftForValue(master, 100, 20, 100), 6014);  // one twip short of the end
    const ThumbTrack position = TrackOf(6480, 1905, 120);
    EXPECT_EQ(ThumbLeftForValue(position, 0, 0, 0), 6480);  // no range: the left end
    EXPECT_EQ(ThumbLeftForValue(position, 3, 5, 5), 6480);
}

TEST(SkinGeometry, RippleOfTheDesignVisualiser) {
    const RippleGeometry ripple = RippleOf(2235, 495);
    EXPECT_EQ(ripple.RippleCentreX, 1116);  // 1116.5 goes to the even neighbour
    EXPECT_EQ(ripple.RippleCentreY, 330);
    EXPECT_EQ(ripple.RippleMaxRadius, 1115);
    EXPECT_EQ(ripple.RippleRadius, 20);
    EXPECT_EQ(ripple.RippleStep, 30);
    EXPECT_EQ(RippleOf(2205, 500).RippleCentreX, 1102);  // 1101.5 up to the even 1102
}

}  // namespace
}  // namespace corvane::shell
