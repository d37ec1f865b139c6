#include "frontend/styles/audition.h"

#include <array>

#include "formats/midi_bytes.h"
#include "frontend/core/name_tables.h"
#include "frontend/styles/slot_tables.h"

namespace corvane::styles {
namespace {

using platform::qt::MidiOutShortMsg;
using platform::qt::ShortMessage;

constexpr int kNoteOff = formats::midi::kNoteOff;
constexpr int kNoteOn = formats::midi::kNoteOn;
constexpr int kControlChange = formats::midi::kControlChange;
constexpr int kProgramChange = formats::midi::kProgramChange;
constexpr int kPanController = 10;
constexpr int kVolumeController = 7;
constexpr int kPedalController = 64;
constexpr int kPedalReleased = 60;
constexpr int kAllNotesOffController = 123;
constexpr int kCentrePan = 64;
constexpr std::array<int, 5> kAllNotesOffChannels = {1, 2, 3, 4, 9};

void Send(const AuditionState& state, int kind, int data1, int data2) {
    MidiOutShortMsg(state.handle, ShortMessage(kind + state.channel, data1, data2));
}

}  // namespace

int AuditionNote(const AuditionState& state, int k) {
    const int note = AuditionNotes.at(static_cast<std::size_t>(k));
    if (state.channel == kDrumChannel) return note - state.drumNoteOffset;
    return note + state.noteOffset;
}

bool StartAudition(AuditionState& state, const AuditionRequest& request) {
    platform::qt::MidiOutHandle handle = 0;
    if (platform::qt::MidiOutOpen(handle, platform::qt::kMidiMapper) != platform::qt::kMidiOk)
        return false;
    state.handle = handle;
    state.channel = static_cast<std::uint8_t>(request.channel & 0x0F);
    state.noteOffset = request.noteBase;
    state.drumNoteOffset = 17;
    const int pan = request.pan == 0 ? kCentrePan : request.pan;
    const int volume = request.volume == 0 ? kAuditionDefaultVolume : request.volume;
    Send(state, kProgramChange, request.program - 1, 0);
    Send(state, kControlChange, kPanController, pan);
    Send(state, kControlChange, kPedalController, kPedalReleased);
    Send(state, kControlChange, kVolumeController, volume);
    Send(state, kNoteOn, AuditionNote(state, 0), kAuditionVelocity);
    state.tick = 0;
    return true;
}

bool StepAudition(AuditionState& state) {
    if (state.tick >= kAuditionLastTick) return false;
    if (state.tick <= 6) {
        Send(state, kNoteOff, AuditionNote(state, state.tick), kAuditionVelocity);
        ++state.tick;
        Send(state, kNoteOn, AuditionNote(state, state.tick), kAuditionVelocity);
    } else {
        ++state.tick;
    }
    return true;
}

void StopAudition(AuditionState& state) {
    AllNotesOff(state.handle);
    if (!AllNotesOffReaches(state.channel)) Send(state, kControlChange, kAllNotesOffController, 0);
    platform::qt::MidiOutClose(state.handle);
}

bool AllNotesOffReaches(int channel) {
    for (int reached : kAllNotesOffChannels) {
        if (reached == channel) return true;
    }
    return false;
}

void AllNotesOff(platform::qt::MidiOutHandle handle) {
    for (int channel : kAllNotesOffChannels)
        MidiOutShortMsg(handle, ShortMessage(kControlChange + channel, kAllNotesOffController, 0));
}

}  // namespace corvane::styles
