// A volume slider moved by its thumb reaches the composer: the waltz made twice through the real
// workers, the second time after the master volume of style 1 was dragged to its lowest, plays
// its accompaniment softer.
#include <cstdint>
#include <vector>

#include "frontend/shell/ui/mixer.h"
#include "tests/frontend/support/workflow_harness.h"

namespace corvane::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t VarLen(const Bytes& b, std::size_t& at) {
    std::uint32_t value = 0;
    while (at < b.size()) {
        const std::uint8_t byte = b[at++];
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80)) break;
    }
    return value;
}

// The velocities of the note-ons of every track after the first two (the song's own), in order.
std::vector<int> AccompanimentVelocities(const Bytes& song) {
    std::vector<int> velocities;
    std::size_t at = 14;
    for (int track = 0; at + 8 <= song.size(); ++track) {
        const std::size_t length = static_cast<std::size_t>(song[at + 4]) << 24 |
                                   song[at + 5] << 16 | song[at + 6] << 8 | song[at + 7];
        std::size_t p = at + 8;
        const std::size_t end = std::min(song.size(), p + length);
        std::uint8_t status = 0;
        while (track >= 2 && p < end) {
            VarLen(song, p);
            if (song[p] & 0x80) status = song[p++];
            if (status == 0xFF) {
                ++p;
                const std::uint32_t n = VarLen(song, p);
                p += n;
            } else if (status == 0xF0 || status == 0xF7) {
                const std::uint32_t n = VarLen(song, p);
                p += n;
            } else if ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) {
                p += 1;
            } else {
                if ((status & 0xF0) == 0x90 && p + 1 < end && song[p + 1] > 0)
                    velocities.push_back(song[p + 1]);
                p += 2;
            }
        }
        at += 8 + length;
    }
    return velocities;
}

TEST_F(WorkflowTest, DraggingTheMasterVolumeDownMakesTheAccompanimentSofter) {
    StartWithSong(8);
    LoadAndProceed();
    SetWaltzStyles();
    Click(main().PictMake);
    ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
    const std::vector<int> before = AccompanimentVelocities(g().Output.OutputBuf());
    ASSERT_FALSE(before.empty());

    shell::Mixer& mixer = main().mixer();
    mixer.PictVols_MouseDown(5, shell::kLeftButton, 60, 100);
    mixer.PictVols_MouseMove(5, shell::kLeftButton, -5000, 100);
    mixer.PictVols_MouseUp(5, shell::kLeftButton, -5000, 100);
    ASSERT_EQ(app().slotTables.PartVol(0, 5), 20);
    ASSERT_EQ(app().slotTables.SectVol[0], 20);

    Click(main().PictMake);
    ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
    const std::vector<int> after = AccompanimentVelocities(g().Output.OutputBuf());
    ASSERT_EQ(after.size(), before.size());
    long softer = 0, louder = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        softer += after[i] < before[i];
        louder += after[i] > before[i];
    }
    EXPECT_GT(softer, 0);
    EXPECT_EQ(louder, 0);
}

}  // namespace
}  // namespace corvane::testing
