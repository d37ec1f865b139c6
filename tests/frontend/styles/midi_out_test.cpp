// The MIDI output's handles, the recorder's log and an offline FluidSynth render of an
// audition: what the program sends is heard, what goes to a closed handle is not.
#include "platform/qt/midi_out.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frontend/styles/audition.h"
#include "platform/qt/virtual_clock.h"
#include "platform/sound_font.h"

namespace corvane::styles {
namespace {

using platform::qt::FluidSynthMidiOut;
using platform::qt::MidiOutHandle;
using platform::qt::MidiOutRecorder;
using platform::qt::ShortMessage;

TEST(MidiOutRecorderTest, LogsEveryCallWithItsHandleAndIgnoresClosedOnes) {
    platform::qt::VirtualClock clock;
    MidiOutRecorder recorder;
    MidiOutHandle first = 0;
    MidiOutHandle second = 0;
    ASSERT_EQ(platform::qt::MidiOutOpen(first, platform::qt::kMidiMapper), platform::qt::kMidiOk);
    ASSERT_EQ(platform::qt::MidiOutOpen(second, platform::qt::kMidiMapper), platform::qt::kMidiOk);
    EXPECT_NE(first, second);
    clock.Advance(5);
    EXPECT_EQ(platform::qt::MidiOutShortMsg(first, ShortMessage(0x90, 60, 120)),
              platform::qt::kMidiOk);
    EXPECT_EQ(platform::qt::MidiOutClose(first), platform::qt::kMidiOk);
    EXPECT_NE(platform::qt::MidiOutShortMsg(first, 0x7BB1), platform::qt::kMidiOk);
    EXPECT_NE(platform::qt::MidiOutClose(first), platform::qt::kMidiOk);
    EXPECT_NE(platform::qt::MidiOutShortMsg(0, 0x7BB1), platform::qt::kMidiOk);
    recorder.failOpen = true;
    MidiOutHandle third = 77;
    EXPECT_NE(platform::qt::MidiOutOpen(third, platform::qt::kMidiMapper), platform::qt::kMidiOk);
    EXPECT_EQ(third, 77u);

    const std::vector<std::string> expected = {
        "t=0 h=1 open",     "t=0 h=2 open",  "t=5 h=1 90 3C 78", "t=5 h=1 close",
        "t=5 h=1 B1 7B 00", "t=5 h=1 close", "t=5 h=0 B1 7B 00", "t=5 h=0 open failed"};
    EXPECT_EQ(recorder.Lines(), expected);
    EXPECT_FALSE(recorder.entries()[4].accepted);
    EXPECT_TRUE(recorder.IsOpen(second));
}

TEST(AllNotesOffTest, SendsControlChange123OnChannelsOneToFourAndNine) {
    MidiOutRecorder recorder;
    MidiOutHandle handle = 0;
    ASSERT_EQ(platform::qt::MidiOutOpen(handle, platform::qt::kMidiMapper), platform::qt::kMidiOk);
    AllNotesOff(handle);
    std::vector<std::uint32_t> sent;
    for (const auto& entry : recorder.entries()) {
        if (entry.kind == MidiOutRecorder::Entry::kMessage) sent.push_back(entry.message);
    }
    EXPECT_EQ(sent, (std::vector<std::uint32_t>{0x7BB1, 0x7BB2, 0x7BB3, 0x7BB4, 0x7BB9}));
}

double Rms(const std::vector<float>& left, const std::vector<float>& right) {
    double sum = 0.0;
    for (std::size_t i = 0; i < left.size(); ++i) sum += left[i] * left[i] + right[i] * right[i];
    return left.empty() ? 0.0 : std::sqrt(sum / (2.0 * left.size()));
}

TEST(FluidSynthMidiOutTest, AnAuditionRenderedOfflineIsHeard) {
    if (!platform::FindGeneralMidiSoundFont()) {
        GTEST_SKIP() << "no General MIDI sound font in /usr/share/sounds/sf2";
    }
    constexpr int kStepFrames = 44100 / 5;  // 200 ms
    FluidSynthMidiOut synth(false);
    platform::qt::SetMidiOutDevice(&synth);
    std::vector<float> left, right;

    // A note sent to a handle that was closed is not played.
    MidiOutHandle closed = 0;
    ASSERT_EQ(platform::qt::MidiOutOpen(closed, platform::qt::kMidiMapper), platform::qt::kMidiOk);
    ASSERT_TRUE(synth.HasSoundFont());
    platform::qt::MidiOutClose(closed);
    platform::qt::MidiOutShortMsg(closed, ShortMessage(0x91, 60, 120));
    ASSERT_TRUE(synth.Render(kStepFrames, left, right));
    EXPECT_LT(Rms(left, right), 1e-6);

    AuditionState state;
    AuditionRequest request;
    request.program = 25;  // a nylon guitar
    request.channel = 1;
    request.noteBase = -12;
    ASSERT_TRUE(StartAudition(state, request));
    double loudest = 0.0;
    for (int step = 0; step < 8; ++step) {
        ASSERT_TRUE(synth.Render(kStepFrames, left, right));
        loudest = std::max(loudest, Rms(left, right));
        ASSERT_TRUE(StepAudition(state));
    }
    EXPECT_GT(loudest, 1e-3) << "the audition was silent";
    StopAudition(state);
    platform::qt::SetMidiOutDevice(nullptr);
}

}  // namespace
}  // namespace corvane::styles
