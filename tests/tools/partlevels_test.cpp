#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/program_folder.h"

namespace {

using testsupport::CommandOutput;

TEST(PartLevelsTest, DemoMelodySoundsOnItsChannelOnly) {
    const std::string out = CommandOutput(std::string(PARTLEVELS) + " " + DEMO_SONG);
    int channel = 0;
    int notes = 0;
    double rms = 0;
    ASSERT_EQ(std::sscanf(out.c_str(), "channel %d: notes %d rms %lf", &channel, &notes, &rms), 3)
        << out;
    EXPECT_EQ(channel, 1);
    EXPECT_EQ(notes, 62);
    EXPECT_GT(rms, -60.0);
    EXPECT_EQ(out.find("channel 2"), std::string::npos);
}

}  // namespace
