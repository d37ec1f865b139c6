// The composer as a whole process in a temporary program folder: completion codes, the output
// song's structure, the section table and the scratch files.
#include <gtest/gtest.h>

#include <map>

#include "compose_fixture.h"
#include "output_reader.h"
#include "tests/support/program_folder.h"

namespace composertest {
namespace {

using testsupport::RunWorker;
using testsupport::TempProgramFolder;

struct Outcome {
    testsupport::WorkerRun run;
    std::optional<MidiSong> song;
};

Outcome RunFixture(const ComposeFixture& fixture, const TempProgramFolder& folder) {
    fixture.WriteTo(folder);
    Outcome o;
    o.run = RunWorker("Compose", folder.path(), [&](platform::Hwnd h) { return fixture.Args(h); });
    if (o.run.completion && !o.run.completion->failed()) {
        o.song = ReadComposerOutput(folder.ReadBytes("ComposeOut.bin"), static_cast<int>(o.run.completion->wParam) + 1);
    }
    return o;
}

TEST(ComposeRun, ComposesTwelveTrackSongInEveryTimeSignature) {
    struct Case { int numerator, power, version; };
    for (const Case c : {Case{4, 2, 12}, Case{3, 2, 12}, Case{2, 2, 12}, Case{6, 3, 12}, Case{4, 2, 8}}) {
        SCOPED_TRACE(testing::Message() << c.numerator << "/" << (1 << c.power) << " v" << c.version);
        TempProgramFolder folder;
        ComposeFixture f;
        f.numerator = c.numerator;
        f.denominatorPower = c.power;
        f.version = c.version;
        if (c.version < 10) f.styleNames = {"Tsta08.sty", "Tstb08.sty", "Tstc08.sty", "Tstd08.sty", "Tste08.sty"};
        f.measures = TypicalMeasures(12);
        const Outcome o = RunFixture(f, folder);
        ASSERT_TRUE(o.run.completion.has_value()) << folder.ReadText("Error3.msg");
        EXPECT_FALSE(o.run.completion->failed()) << folder.ReadText("Error3.msg");
        EXPECT_GE(o.run.completion->wParam, 58u);
        EXPECT_LE(o.run.completion->wParam, 99u);
        EXPECT_EQ(o.run.exitCode, 0);
        EXPECT_EQ(folder.ReadText("sty.err"), "");
        ASSERT_TRUE(o.song.has_value());
        EXPECT_EQ(o.song->trackCount, 12);
        EXPECT_EQ(o.song->division, 384);
        ASSERT_EQ(o.song->tracks.size(), 12u);
        std::map<int, int> balance, ons;
        for (const MidiTrack& t : o.song->tracks) {
            for (const MidiEvent& e : t.events) {
                const int type = e.status & 0xF0, ch = e.status & 0x0F;
                if (type == 0x90 && e.data[1] > 0) { ++balance[ch]; ++ons[ch]; }
                if (type == 0x80 || (type == 0x90 && e.data[1] == 0)) --balance[ch];
            }
        }
        for (int ch : {1, 2, 3, 4, 5, 6, 7, 8, 9}) EXPECT_GT(ons[ch], 0) << "channel " << ch;
        for (auto [ch, b] : balance) EXPECT_EQ(b, 0) << "channel " << ch;
    }
}

}  // namespace
}  // namespace composertest
