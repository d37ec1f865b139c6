#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "tests/support/program_folder.h"

namespace {

using testsupport::CommandOutput;

TEST(PartLevelsTest, DemoMelodySoundsOnItsChannelOnly) {
    const std::string out = CommandOutput(std::string(PARTLEVELS) + " " + DEMO_SONG);
    int channel = 0;
    int notes = 0;
    double rms = 0, active = 0;
    ASSERT_EQ(std::sscanf(out.c_str(), "channel %d: notes %d rms %lf active %lf", &channel, &notes,
                          &rms, &active),
              4)
        << out;
    EXPECT_EQ(channel, 1);
    EXPECT_EQ(notes, 62);
    EXPECT_GT(rms, -60.0);
    // The rests between the phrases count for the whole song's level only.
    EXPECT_GT(active, rms);
    EXPECT_EQ(out.find("channel 2"), std::string::npos);
}

TEST(PartLevelsTest, SeveralSongsAndChannelMixes) {
    const std::string out =
        CommandOutput(std::string(PARTLEVELS) + " " + DEMO_SONG + " 1-16 " + DEMO_SONG + " 2-16");
    // Each song's lines follow its name; the mixes come after the channels, in the order asked.
    const std::string song = std::string("song ") + DEMO_SONG + "\n";
    const auto first = out.find(song);
    ASSERT_EQ(first, 0u) << out;
    const auto second = out.find(song, first + 1);
    ASSERT_NE(second, std::string::npos) << out;
    EXPECT_EQ(out.substr(0, second), out.substr(second));
    const std::string block = out.substr(0, second);
    double melody = 0, all = 0, rest = 0;
    int notes = 0, restNotes = -1;
    ASSERT_EQ(std::sscanf(block.c_str() + block.find("channel 1:"),
                          "channel 1: notes %*d rms %*f active %lf", &melody),
              1);
    ASSERT_EQ(std::sscanf(block.c_str() + block.find("channels 1-16:"),
                          "channels 1-16: notes %d rms %*f active %lf", &notes, &all),
              2)
        << block;
    ASSERT_EQ(std::sscanf(block.c_str() + block.find("channels 2-16:"),
                          "channels 2-16: notes %d rms %*f active %lf", &restNotes, &rest),
              2)
        << block;
    EXPECT_EQ(notes, 62);
    EXPECT_DOUBLE_EQ(all, melody);  // the melody is all there is
    EXPECT_EQ(restNotes, 0);
    EXPECT_LT(rest, -150.0);
    EXPECT_EQ(CommandOutput(std::string(PARTLEVELS) + " " + DEMO_SONG + " 0-3 2>&1"),
              "partlevels: not a channel range (1-16): 0-3\n");
}

TEST(PartLevelsTest, MixesOfSeveralChannelsAndOnlySomeChannelsPlaying) {
    const std::string demo = std::string(" ") + DEMO_SONG;
    const std::string all = CommandOutput(std::string(PARTLEVELS) + demo + " 1,3-5 2-16");
    double melody = 0, mix = 0;
    ASSERT_EQ(std::sscanf(all.c_str(), "channel 1: notes %*d rms %*f active %lf", &melody), 1);
    ASSERT_EQ(std::sscanf(all.c_str() + all.find("channels 1,3-5:"),
                          "channels 1,3-5: notes 62 rms %*f active %lf", &mix),
              1)
        << all;
    EXPECT_DOUBLE_EQ(mix, melody);
    // Only the melody plays: the same levels; only channel 2 plays: nothing sounds.
    EXPECT_EQ(CommandOutput(std::string(PARTLEVELS) + " --only 1" + demo + " 1,3-5 2-16"), all);
    EXPECT_EQ(CommandOutput(std::string(PARTLEVELS) + " --only 2,10" + demo), "");
    // A song that is missing, no MIDI file, or a MIDI header before garbage (which the player
    // drops when it comes to play it) is an error, not a song without parts.
    testsupport::TempProgramFolder folder;
    folder.Write("damaged.mid", std::string_view("MThd and garbage, no tracks"));
    const std::string damaged = " '" + (folder.path() / "damaged.mid").string() + "'";
    for (const std::string& song :
         {std::string(" /nonexistent/song.mid"), std::string(" " PARTLEVELS), damaged}) {
        const auto run = testsupport::RunCommand(std::string(PARTLEVELS) + song + " 2>&1");
        EXPECT_EQ(run.exitCode, 1) << song;
        EXPECT_NE(run.output.find("partlevels: cannot render"), std::string::npos) << run.output;
    }
    for (const char* bad : {"--only 2x", "--only 0", "1,", "3-2", "5,17"}) {
        EXPECT_EQ(
            testsupport::RunCommand(std::string(PARTLEVELS) + " " + bad + demo + " 2>/dev/null")
                .exitCode,
            2)
            << bad;
    }
}

}  // namespace
