// The rules of playback without a window: the bar check and its boxes, the bar follower with
// its second chord, the playing section, the beat LEDs and the clean-up of the program folder.
#include "frontend/core/playback_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "frontend/styles/slot_tables.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

TEST(PlaybackRulesTest, TheOutputMayHoldOneBarMoreThanTheChordList) {
    const struct {
        int out, chords;
        bool match;
    } cases[] = {{8, 8, true}, {9, 8, true}, {10, 8, false}, {7, 8, false},
                 {0, 0, true}, {1, 0, true}, {0, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.out) + " bars, " + std::to_string(c.chords) + " in the list");
        EXPECT_EQ(BarCountsMatch(c.out, c.chords), c.match);
    }
    EXPECT_EQ(BarMismatchText(10, 8),
              "Number of Measures is not the same as in the ChordDataList: 10,8");
    // Bars are whole; a bar length not known yet gives none rather than a division by zero.
    EXPECT_EQ(OutMsCountOf(96, 12), 8);
    EXPECT_EQ(OutMsCountOf(107, 12), 8);
    EXPECT_EQ(OutMsCountOf(96, 0), 0);
}

TEST(PlaybackRulesTest, OpenErrorBoxAddsTheInvalidFileAdviceOnlyFor296) {
    const std::string common =
        "Please run <3.Make Output>, then try again.\n"
        "If this error appears many times, you may have an incorrect version of Compose "
        "installed, or there is an error in Style Data. Please try to use other style "
        "instead.\n\n";
    EXPECT_EQ(OutputOpenErrorText(275), "Error open Midi Device (275)\n" + common);
    EXPECT_EQ(OutputOpenErrorText(296),
              "Error open Midi Device (296)\n" + common +
                  "On some systems this error may occur for normal output midi data! You can "
                  "save the output and try to use other Midi Player to test.");
}

TEST(PlaybackRulesTest, FollowerAnnouncesEachBarOnceAndItsSecondChordOnceLater) {
    // 4/4: 16 sixteenths a bar, the second chord from 8.
    const struct {
        const char* name;
        std::vector<std::int64_t> positions;
        std::vector<const char*> shown;  // "bar N", "second", or "" per update
    } cases[] = {
        {"updates through a bar", {0, 3, 8, 9, 15, 16}, {"bar 0", "", "second", "", "", "bar 1"}},
        {"the update that announces a bar past its half shows no second chord",
         {9, 12, 20},
         {"bar 0", "second", "bar 1"}},
        {"a bar with a single update shows no second chord",
         {0, 18, 40},
         {"bar 0", "bar 1", "bar 2"}},
        {"a jump back is a new bar", {40, 8, 8}, {"bar 2", "bar 0", "second"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int last = -1;
        bool second = false;
        for (std::size_t i = 0; i < c.positions.size(); ++i) {
            const BarStep step = FollowPosition(c.positions[i], 16, 8, last, second);
            std::string shown = step.newBar ? "bar " + std::to_string(step.bar) : "";
            if (step.secondChord) shown += "second";
            EXPECT_EQ(shown, c.shown[i]) << "update " << i;
        }
    }
}

TEST(PlaybackRulesTest, SectionUnderTheBarNamesItsSlotAndStyle) {
    const std::vector<std::string> lines = {"001: 1-Jazz Waltz", "005: 3-Swing", "009: 6-Ending"};
    const struct {
        const char* name;
        std::vector<std::string> lines;
        int bar;
        PlayingSection expected;
    } cases[] = {
        {"first section", lines, 0, {1, "waltz.mid: 1-Jazz Waltz", 0}},
        {"the bar before a switch point", lines, 3, {1, "waltz.mid: 1-Jazz Waltz", 0}},
        {"on a switch point", lines, 4, {3, "waltz.mid: 3-Swing", 1}},
        {"the last section", lines, 20, {6, "waltz.mid: 6-Ending", 2}},
        // Slot 1 plays before the first switch point, whatever the first line names.
        {"before the first switch point", {"003: 2-Bossa"}, 1, {1, "waltz.mid", 0}},
        {"no sections", {}, 4, {1, "waltz.mid", -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PlayingSection section = LookUpSection(c.lines, c.bar, "waltz.mid");
        EXPECT_EQ(section.slot, c.expected.slot);
        EXPECT_EQ(section.caption, c.expected.caption);
        EXPECT_EQ(section.selectedRow, c.expected.selectedRow);
    }
}

TEST(PlaybackRulesTest, SlotsOneToFiveHaveTheirColoursAndOthersNone) {
    for (int slot = 1; slot <= 5; ++slot)
        EXPECT_EQ(SlotColour(slot), styles::kSlotColours[slot - 1]);
    for (int slot : {0, 6, 7, -1}) EXPECT_FALSE(SlotColour(slot).has_value()) << slot;
}

TEST(PlaybackRulesTest, BeatLedsStepWithTheTimeSignature) {
    const struct {
        const char* signature;
        int ticksPerLed, leds;
        std::vector<std::int64_t> positions;
        std::vector<int> lit;
    } cases[] = {
        {"3/4", 4, 3, {0, 4, 8, 12, 16, 3, 7}, {0, 1, 2, 0, 1, 0, 1}},
        {"6/8", 2, 6, {12, 13, 14, 22, 23}, {0, 0, 1, 5, 5}},
        {"4/4", 4, 4, {12, 16, 63}, {3, 0, 3}},
        {"before the first Make", 0, 0, {0, 4}, {-1, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signature);
        for (std::size_t i = 0; i < c.positions.size(); ++i)
            EXPECT_EQ(BeatLedAt(c.positions[i], c.ticksPerLed, c.leds), c.lit[i]) << c.positions[i];
    }
}

class WorkFilesTest : public ::testing::Test {
  protected:
    WorkFilesTest() {
        std::random_device entropy;
        root_ = fs::temp_directory_path() / ("orvella-workfiles-" + std::to_string(entropy()));
        folder_ = root_ / "program";
        fs::create_directories(folder_ / "songs");
    }
    ~WorkFilesTest() override {
        std::error_code ignored;
        fs::permissions(folder_ / "Locked.msg", fs::perms::owner_all, ignored);
        fs::remove_all(root_, ignored);
    }
    void Plant(const fs::path& path) { std::ofstream(path) << "x"; }
    fs::path root_;
    fs::path folder_;
};

TEST_F(WorkFilesTest, ExitCleansTheExchangeFilesOfTheFolderAndNothingElse) {
    const std::vector<std::string> going = {
        "Play.sti",   "InPut.bin", "KeysData.Aco", "Data.aco",  "vPara.dat",
        "Error3.msg", "Temp.DAT",  "old.err",      "NOTES.ACO", "QXsDataSet.dat"};
    const std::vector<std::string> staying = {"Jw3430.sty", "song.qxs",  "song.mid",    "mine.set",
                                              "Corvane",    "notes.txt", "Play.sti.bak"};
    for (const auto& name : going) Plant(folder_ / name);
    for (const auto& name : staying) Plant(folder_ / name);
    Plant(folder_ / "songs" / "kept.dat");  // below the folder
    Plant(root_ / "outside.dat");           // beside it
    Plant(folder_ / "Locked.msg");
    fs::permissions(folder_ / "Locked.msg", fs::perms::owner_read | fs::perms::group_read,
                    fs::perm_options::replace);

    DeleteWorkFiles(folder_.string(), (folder_ / "Play.sti").string());

    for (const auto& name : going) EXPECT_FALSE(fs::exists(folder_ / name)) << name;
    for (const auto& name : staying) EXPECT_TRUE(fs::exists(folder_ / name)) << name;
    EXPECT_TRUE(fs::exists(folder_ / "songs" / "kept.dat"));
    EXPECT_TRUE(fs::exists(root_ / "outside.dat"));
    EXPECT_TRUE(fs::exists(folder_ / "Locked.msg")) << "a read-only file is left alone";
    DeleteWorkFiles(folder_.string(), (folder_ / "Locked.msg").string());
    EXPECT_TRUE(fs::exists(folder_ / "Locked.msg")) << "even when it is the play file";
}

}  // namespace
}  // namespace corvane
