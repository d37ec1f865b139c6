// The instrument audition on a right press of a program label, timed by a virtual clock and
// heard through the MIDI output recorder.
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frontend/styles/ui/frm_inst_list.h"
#include "platform/qt/virtual_clock.h"
#include "tests/frontend/styles/panel_fixture.h"

namespace corvane::styles::testing {
namespace {

std::string Hex(int value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

class AuditionTest : public PanelTest {
  protected:
    void SetUp() override { StartPanel(); }

    // Part p of the shown slot with the style's channel, note base and pan, the program on its
    // label and the part's volume on its slider.
    void SetPart(int p, int channel, int noteBase, int pan, const char* program, int volume) {
        const int s = tables().CurSlot;
        tables().StyChannel(s, p) = static_cast<std::int16_t>(channel);
        tables().StyNoteBase(s, p) = static_cast<std::int16_t>(noteBase);
        tables().StyPan(s, p) = static_cast<std::int16_t>(pan);
        main().LblProgNum[p]->SetCaption(program);
        main().CanGatVol[p]->SetValue(volume);
        midiOut.Clear();
    }

    // What a full audition sends: the opening at 0 ms, a note every 200 ms, the silencing at
    // 3000 ms.
    // `start` is the clock's time at the press, `handle` the output's handle.
    std::vector<std::string> FullAudition(std::int64_t start, int handle, int channel, int program,
                                          int pan, int volume, const std::vector<int>& notes,
                                          bool ownChannelOff) {
        const auto at = [&](int ms) {
            return "t=" + std::to_string(start + ms) + " h=" + std::to_string(handle) + " ";
        };
        const std::string c = Hex(channel).substr(1);
        std::vector<std::string> lines = {at(0) + "open",
                                          at(0) + "C" + c + " " + Hex(program - 1) + " 00",
                                          at(0) + "B" + c + " 0A " + Hex(pan),
                                          at(0) + "B" + c + " 40 3C",
                                          at(0) + "B" + c + " 07 " + Hex(volume),
                                          at(0) + "9" + c + " " + Hex(notes[0]) + " 78"};
        for (int k = 1; k < 8; ++k) {
            lines.push_back(at(200 * k) + "8" + c + " " + Hex(notes[k - 1]) + " 78");
            lines.push_back(at(200 * k) + "9" + c + " " + Hex(notes[k]) + " 78");
        }
        for (const char* off : {"B1", "B2", "B3", "B4", "B9"})
            lines.push_back(at(3000) + off + " 7B 00");
        if (ownChannelOff) lines.push_back(at(3000) + "B" + c + " 7B 00");
        lines.push_back(at(3000) + "close");
        return lines;
    }

    platform::qt::VirtualClock clock;
};

TEST_F(AuditionTest, PlaysTheScaleEveryTwoHundredMillisecondsAndClosesAtThreeSeconds) {
    struct Case {
        const char* what;
        int part;
        int channel;
        int noteBase;
        int pan;
        const char* program;
        int volume;
        int panSent;
        int volumeSent;
        std::vector<int> notes;
        bool ownChannelOff;
    };
    const Case cases[] = {
        {"melodic part, note base -12, pan 0 plays at the centre",
         0,
         1,
         -12,
         0,
         "25",
         100,
         64,
         100,
         {0x30, 0x32, 0x34, 0x35, 0x37, 0x39, 0x3B, 0x3C},
         false},
        {"drum kit: notes 17 below the scale",
         4,
         9,
         0,
         40,
         "1",
         90,
         40,
         90,
         {0x2B, 0x2D, 0x2F, 0x30, 0x32, 0x34, 0x36, 0x37},
         false},
        {"a part on channel 5 is silenced on its own channel too",
         2,
         5,
         0,
         30,
         "49",
         70,
         30,
         70,
         {60, 62, 64, 65, 67, 69, 71, 72},
         true},
        {"the default volume plays at 100",
         1,
         2,
         12,
         64,
         "1",
         0,
         64,
         100,
         {72, 74, 76, 77, 79, 81, 83, 84},
         false},
    };
    int handle = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetPart(c.part, c.channel, c.noteBase, c.pan, c.program, c.volume);
        const std::int64_t start = clock.Now();
        ++handle;
        Press(main().LblProgNum[c.part], Qt::RightButton);
        EXPECT_TRUE(main().TimerMidi->Enabled());
        clock.Advance(3000);
        EXPECT_FALSE(main().TimerMidi->Enabled());
        EXPECT_EQ(midiOut.Lines(), FullAudition(start, handle, c.channel, std::atoi(c.program),
                                                c.panSent, c.volumeSent, c.notes, c.ownChannelOff));
        // Letting go afterwards only repeats the silencing on the closed handle.
        midiOut.Clear();
        Release(main().LblProgNum[c.part], Qt::RightButton);
        for (const auto& entry : midiOut.entries()) EXPECT_FALSE(entry.accepted);
        EXPECT_FALSE(app().frmInstList().isVisible());
    }
}

TEST_F(AuditionTest, LettingGoEarlySilencesAtOnceAndNothingFollows) {
    SetPart(0, 1, 0, 64, "25", 100);
    Press(main().LblProgNum[0], Qt::RightButton);
    clock.Advance(500);
    // A second press while the scale plays starts nothing.
    Press(main().LblProgNum[1], Qt::RightButton);
    Release(main().LblProgNum[3], Qt::RightButton);
    const auto lines = midiOut.Lines();
    ASSERT_GE(lines.size(), 7u);
    const std::vector<std::string> tail(lines.end() - 6, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"t=500 h=1 B1 7B 00", "t=500 h=1 B2 7B 00",
                                              "t=500 h=1 B3 7B 00", "t=500 h=1 B4 7B 00",
                                              "t=500 h=1 B9 7B 00", "t=500 h=1 close"}));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "t=0 h=1 open"), 1);
    EXPECT_FALSE(main().TimerMidi->Enabled());
    const std::size_t before = midiOut.entries().size();
    clock.Advance(5000);
    EXPECT_EQ(midiOut.entries().size(), before);
    EXPECT_EQ(panel().audition().tick, 2);
}

TEST_F(AuditionTest, NothingPlaysForTheStylesOwnInstrumentOrWithoutAnOutput) {
    SetPart(0, 1, 0, 64, "0", 100);
    Press(main().LblProgNum[0], Qt::RightButton);
    EXPECT_FALSE(main().TimerMidi->Enabled());
    EXPECT_TRUE(midiOut.entries().empty());
    // The release still runs the silencing, on no open handle; no list opens for the right button.
    Release(main().LblProgNum[0], Qt::RightButton);
    for (const auto& entry : midiOut.entries()) {
        EXPECT_NE(entry.kind, platform::qt::MidiOutRecorder::Entry::kOpen);
        EXPECT_FALSE(entry.accepted);
    }
    EXPECT_FALSE(app().frmInstList().isVisible());

    // An output that does not open: silence, no timer, no message.
    SetPart(1, 2, 0, 64, "5", 100);
    midiOut.failOpen = true;
    Press(main().LblProgNum[1], Qt::RightButton);
    EXPECT_FALSE(main().TimerMidi->Enabled());
    EXPECT_EQ(midiOut.Lines(), std::vector<std::string>{"t=0 h=0 open failed"});
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(AuditionTest, AnAuditionWithNoAudioOutputSaysSoOnceAndStillPlays) {
    const QString silent = "No audio output: playing silently";
    midiOut.audible = false;
    SetPart(0, 1, 0, 64, "25", 100);
    main().LblInName->SetCaption("V418 Style Setting Load Ok.");
    Press(main().LblProgNum[0], Qt::RightButton);
    EXPECT_EQ(main().LblInName->Caption(), silent);
    EXPECT_TRUE(main().TimerMidi->Enabled());
    clock.Advance(3000);
    EXPECT_EQ(midiOut.Lines().back(), "t=3000 h=1 close");
    // Once in a run is enough.
    main().LblInName->SetCaption("");
    Press(main().LblProgNum[0], Qt::RightButton);
    EXPECT_EQ(main().LblInName->Caption(), "");
    EXPECT_TRUE(main().TimerMidi->Enabled());
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(AuditionTest, ShutdownSilencingGoesThroughTheAuditionsHandle) {
    SetPart(0, 1, 0, 64, "25", 100);
    Press(main().LblProgNum[0], Qt::RightButton);
    midiOut.Clear();
    panel().AllNotesOff();
    EXPECT_EQ(midiOut.Lines(),
              (std::vector<std::string>{"t=0 h=1 B1 7B 00", "t=0 h=1 B2 7B 00", "t=0 h=1 B3 7B 00",
                                        "t=0 h=1 B4 7B 00", "t=0 h=1 B9 7B 00"}));
    EXPECT_EQ(panel().audition().handle, 1u);
}

}  // namespace
}  // namespace corvane::styles::testing
