// The visualiser's rules without a window: chord roots, the random fill style over all its
// buckets, the icon's colour cycle at its limits and the ripple's colour walk.
#include "frontend/shell/visualiser_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace corvane::shell {
namespace {

TEST(ChordRootOf, EveryRootFlatsAndSharpsAndTextsWithoutARoot) {
    const std::map<std::string, int> cases = {
        {"Ab", 0}, {"A", 1},   {"Am7", 1}, {"Bb", 2},    {"Bb7", 2},  {"B", 3},  {"Cb", 4},
        {"C", 5},  {"Db", 6},  {"D", 7},   {"D#m", 7},   {"Eb", 8},   {"E", 9},  {"Fb", 10},
        {"F", 11}, {"F#", 11}, {"Gb", 12}, {"G", 13},    {"Gbm", 12}, {"c", -1}, {"bb", -1},
        {"H", -1}, {"", -1},   {" C", -1}, {"N.C.", -1},
    };
    for (const auto& [text, index] : cases) EXPECT_EQ(ChordRootOf(text), index) << text;
}

TEST(FillStyleFor, SolidEightTimesInTwelveAndNeverThreeSixOrSeven) {
    std::map<int, int> counts;
    for (int bucket = 0; bucket < 12; ++bucket) {
        // The bucket's first value and its last one below the next bucket.
        for (float rnd : {bucket / 12.0f, std::nextafter((bucket + 1) / 12.0f, 0.0f)}) {
            const int style = FillStyleFor(rnd);
            EXPECT_TRUE(style == 0 || style == 1 || style == 2 || style == 4 || style == 5)
                << rnd << " gives " << style;
            if (rnd == bucket / 12.0f) ++counts[style];
        }
    }
    EXPECT_EQ(counts, (std::map<int, int>{{0, 8}, {1, 1}, {2, 1}, {4, 1}, {5, 1}}));
    EXPECT_EQ(FillStyleFor(0.99999994f), 0);
}

TEST(NextDemoColours, StepsByFiveInsideItsLimitsAndTheIndexRunsOneToFourThenZero) {
    struct Case {
        int button, step, newStep;
    } const cases[] = {
        {2, 8, 8}, {4, 8, 8}, {2, 9, 4}, {2, 30, 25}, {1, 73, 73}, {1, 72, 77}, {1, 8, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.button) + " on " + std::to_string(c.step));
        EXPECT_EQ(NextDemoColours({c.step, 0}, c.button).step, c.newStep);
    }
    DemoColourCycle cycle{40, 0};
    std::string indices;
    for (int click = 0; click < 6; ++click) {
        cycle = NextDemoColours(cycle, 1);
        indices += std::to_string(cycle.index);
    }
    EXPECT_EQ(indices, "123401");
}

TEST(WalkColour, AddsToOneComponentAndWrapsAt256) {
    const VisColour colour = 0x30F0FA;  // red 0xFA, green 0xF0, blue 0x30
    EXPECT_EQ(WalkColour(colour, 0, 10), 0x30F004u);
    EXPECT_EQ(WalkColour(colour, 1, 16), 0x3000FAu);
    EXPECT_EQ(WalkColour(colour, 2, 73), 0x79F0FAu);
    EXPECT_EQ(WalkColour(0, 2, 255), 0xFF0000u);
}

TEST(RippleSteps, ClimbFromThirtyToFortyInTenthsAndStartAgain) {
    float step = 30;
    int updates = 0;
    do {
        step = NextRippleStep(step);
        ++updates;
        ASSERT_LE(step, 40.1f);
    } while (step != 30 && updates < 1000);
    EXPECT_EQ(step, 30);
    EXPECT_GE(updates, 100);
    EXPECT_LE(updates, 102);
    EXPECT_EQ(NextDrawModeAfter(16), 1);
    EXPECT_EQ(NextDrawModeAfter(12), 13);
}

}  // namespace
}  // namespace corvane::shell
