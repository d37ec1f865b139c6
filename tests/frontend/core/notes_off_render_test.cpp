// Exit silences the MIDI output: rendered offline through FluidSynth, a note held on one of the
// channels AllNotesOff reaches sounds, and after AllNotesOff and a release time there is silence.
#include <gtest/gtest.h>

#include <cmath>

#include "frontend/styles/audition.h"
#include "platform/qt/midi_out.h"
#include "platform/sound_font.h"

namespace corvane {
namespace {

using platform::qt::FluidSynthMidiOut;
using platform::qt::MidiOutHandle;
using platform::qt::ShortMessage;

constexpr int kSampleRate = 44100;
constexpr double kSilence = 1e-4;

double Rms(const std::vector<float>& left, const std::vector<float>& right) {
    double sum = 0.0;
    for (std::size_t i = 0; i < left.size(); ++i) sum += left[i] * left[i] + right[i] * right[i];
    return left.empty() ? 0.0 : std::sqrt(sum / (2.0 * static_cast<double>(left.size())));
}

TEST(NotesOffRenderTest, HeldNotesSoundUntilAllNotesOffAndAReleaseTime) {
    if (!platform::FindGeneralMidiSoundFont()) {
        GTEST_SKIP() << "no General MIDI sound font in /usr/share/sounds/sf2";
    }
    FluidSynthMidiOut synth(false, kSampleRate);
    platform::qt::SetMidiOutDevice(&synth);
    MidiOutHandle handle = 0;
    ASSERT_EQ(platform::qt::MidiOutOpen(handle, platform::qt::kMidiMapper), platform::qt::kMidiOk);
    ASSERT_TRUE(synth.HasSoundFont());
    std::vector<float> left, right;

    // Held chords of an organ on channel 2 and strings on channel 4 (counted from 0): neither
    // fades by itself, so only their note-offs end them.
    for (const auto& [channel, program] : {std::pair{2, 16}, std::pair{4, 48}}) {
        platform::qt::MidiOutShortMsg(handle, ShortMessage(0xC0 + channel, program, 0));
        for (int key : {48, 55, 64}) {
            platform::qt::MidiOutShortMsg(handle, ShortMessage(0x90 + channel, key, 110));
        }
    }
    ASSERT_TRUE(synth.Render(kSampleRate, left, right));
    EXPECT_GT(Rms(left, right), 1e-2) << "the held notes were not heard";
    ASSERT_TRUE(synth.Render(kSampleRate / 2, left, right));
    EXPECT_GT(Rms(left, right), 1e-2) << "the held notes stopped by themselves";

    styles::AllNotesOff(handle);
    ASSERT_TRUE(synth.Render(2 * kSampleRate, left, right));  // the release time
    ASSERT_TRUE(synth.Render(kSampleRate / 2, left, right));
    EXPECT_LT(Rms(left, right), kSilence) << "notes still sound after AllNotesOff";

    platform::qt::MidiOutClose(handle);
    platform::qt::SetMidiOutDevice(nullptr);
}

}  // namespace
}  // namespace corvane
