#include "platform/qt/midi_out.h"

#include <fluidsynth.h>

#include <cstdio>

#include "formats/midi_bytes.h"
#include "platform/qt/virtual_clock.h"

namespace platform::qt {
namespace {

MidiOutDevice* g_installed = nullptr;

MidiOutDevice* InstalledDevice() {
    return g_installed;
}

// Channel voice message kinds (the status byte's upper half).
constexpr int kNoteOff = formats::midi::kNoteOff;
constexpr int kNoteOn = formats::midi::kNoteOn;
constexpr int kKeyPressure = formats::midi::kKeyPressure;
constexpr int kControlChange = formats::midi::kControlChange;
constexpr int kProgramChange = formats::midi::kProgramChange;
constexpr int kChannelPressure = formats::midi::kChannelPressure;
constexpr int kPitchBend = formats::midi::kPitchBend;

}  // namespace

MidiOutDevice& MidiOut() {
    if (g_installed) return *g_installed;
    // Made at the first use and kept for the life of the process: the sound font loads once.
    static FluidSynthMidiOut output(true);
    return output;
}

void SetMidiOutDevice(MidiOutDevice* device) {
    g_installed = device;
}

FluidSynthMidiOut::FluidSynthMidiOut(bool audioDriver, double sampleRate)
    : audioDriver_(audioDriver), sampleRate_(sampleRate) {}

FluidSynthMidiOut::~FluidSynthMidiOut() = default;

bool FluidSynthMidiOut::EnsureSynth() {
    if (!engine_.Start(sampleRate_)) return false;
    if (audioDriver_) engine_.StartAudio();
    return true;
}

std::uint32_t FluidSynthMidiOut::Open(MidiOutHandle& handle, int /*device*/) {
    // A synth that cannot start still gives a handle: the output is silent, as without a device.
    EnsureSynth();
    handle = handles_.Add();
    return kMidiOk;
}

std::uint32_t FluidSynthMidiOut::ShortMsg(MidiOutHandle handle, std::uint32_t message) {
    if (!handles_.Contains(handle)) return kMidiInvalidHandle;
    const int status = static_cast<int>(message & 0xFF);
    const int data1 = static_cast<int>((message >> 8) & 0xFF);
    const int data2 = static_cast<int>((message >> 16) & 0xFF);
    if (status < 0x80 || data1 > 127 || data2 > 127) return kMidiError;
    fluid_synth_t* synth = engine_.synth();
    if (!synth) return kMidiOk;
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
        case kNoteOff:
            fluid_synth_noteoff(synth, channel, data1);
            break;
        case kNoteOn:
            fluid_synth_noteon(synth, channel, data1, data2);
            break;
        case kKeyPressure:
            fluid_synth_key_pressure(synth, channel, data1, data2);
            break;
        case kControlChange:
            fluid_synth_cc(synth, channel, data1, data2);
            break;
        case kProgramChange:
            fluid_synth_program_change(synth, channel, data1);
            break;
        case kChannelPressure:
            fluid_synth_channel_pressure(synth, channel, data1);
            break;
        case kPitchBend:
            fluid_synth_pitch_bend(synth, channel, data1 | data2 << 7);
            break;
        default:
            return kMidiError;  // system messages are not short channel messages
    }
    return kMidiOk;
}

std::uint32_t FluidSynthMidiOut::Close(MidiOutHandle handle) {
    return handles_.Remove(handle) ? kMidiOk : kMidiInvalidHandle;
}

bool FluidSynthMidiOut::Render(int frames, std::vector<float>& left, std::vector<float>& right) {
    if (audioDriver_ || !engine_.synth() || frames < 0) return false;
    left.assign(static_cast<std::size_t>(frames), 0.0f);
    right.assign(static_cast<std::size_t>(frames), 0.0f);
    return fluid_synth_write_float(engine_.synth(), frames, left.data(), 0, 1, right.data(), 0,
                                   1) == FLUID_OK;
}

MidiOutRecorder::MidiOutRecorder() : previous_(InstalledDevice()) {
    SetMidiOutDevice(this);
}

MidiOutRecorder::~MidiOutRecorder() {
    SetMidiOutDevice(previous_);
}

std::uint32_t MidiOutRecorder::Open(MidiOutHandle& handle, int /*device*/) {
    if (failOpen) {
        entries_.push_back({NowMs(), 0, Entry::kOpen, 0, false});
        return kMidiError;
    }
    handle = handles_.Add();
    entries_.push_back({NowMs(), handle, Entry::kOpen, 0, true});
    return kMidiOk;
}

std::uint32_t MidiOutRecorder::ShortMsg(MidiOutHandle handle, std::uint32_t message) {
    const bool open = handles_.Contains(handle);
    entries_.push_back({NowMs(), handle, Entry::kMessage, message, open});
    return open ? kMidiOk : kMidiInvalidHandle;
}

std::uint32_t MidiOutRecorder::Close(MidiOutHandle handle) {
    const bool open = handles_.Remove(handle);
    entries_.push_back({NowMs(), handle, Entry::kClose, 0, open});
    return open ? kMidiOk : kMidiInvalidHandle;
}

std::vector<std::string> MidiOutRecorder::Lines() const {
    std::vector<std::string> lines;
    for (const Entry& entry : entries_) {
        char text[80];
        const int prefix = std::snprintf(text, sizeof text, "t=%lld h=%u ",
                                         static_cast<long long>(entry.timeMs), entry.handle);
        switch (entry.kind) {
            case Entry::kOpen:
                std::snprintf(text + prefix, sizeof text - prefix,
                              entry.accepted ? "open" : "open failed");
                break;
            case Entry::kClose:
                std::snprintf(text + prefix, sizeof text - prefix, "close");
                break;
            case Entry::kMessage:
                std::snprintf(text + prefix, sizeof text - prefix, "%02X %02X %02X",
                              entry.message & 0xFF, (entry.message >> 8) & 0xFF,
                              (entry.message >> 16) & 0xFF);
                break;
        }
        lines.emplace_back(text);
    }
    return lines;
}

}  // namespace platform::qt
