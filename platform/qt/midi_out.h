// The MIDI output: open a device, send short messages (status + 256 x data 1 + 65536 x data 2),
// close it. Handles are never 0 and never reused, so a message to a closed or unknown handle
// is ignored (with an error result) and cannot reach a later user of the output.
//
// The program's output is one process-wide FluidSynth synth with the General MIDI sound font
// (loaded once, at the first open); with no sound font or no audio device the output still
// opens and plays silently, with a warning on stderr. Tests install a MidiOutRecorder instead,
// which logs every call with its handle and time and touches no sound device; the offline
// render of a FluidSynthMidiOut without an audio driver lets a test listen to what was sent.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/qt/fluid_engine.h"

namespace platform::qt {

using MidiOutHandle = std::uint32_t;

// The device number of the system's default output.
constexpr int kMidiMapper = -1;
// Results, as the output reports them.
constexpr std::uint32_t kMidiOk = 0;
constexpr std::uint32_t kMidiError = 1;
constexpr std::uint32_t kMidiInvalidHandle = 5;

class MidiOutDevice {
  public:
    virtual ~MidiOutDevice() = default;
    // kMidiOk and a fresh handle, or an error result and `handle` unchanged.
    virtual std::uint32_t Open(MidiOutHandle& handle, int device) = 0;
    virtual std::uint32_t ShortMsg(MidiOutHandle handle, std::uint32_t message) = 0;
    virtual std::uint32_t Close(MidiOutHandle handle) = 0;
    // After an Open: false when the messages sound nowhere (no audio device, no sound font).
    virtual bool Audible() const { return true; }
};

// The device the program sends to: the installed one, else the process-wide FluidSynth output.
MidiOutDevice& MidiOut();
// Installs `device` (nullptr restores the FluidSynth output). The caller keeps ownership.
void SetMidiOutDevice(MidiOutDevice* device);

inline std::uint32_t MidiOutOpen(MidiOutHandle& handle, int device) {
    return MidiOut().Open(handle, device);
}
inline std::uint32_t MidiOutShortMsg(MidiOutHandle handle, std::uint32_t message) {
    return MidiOut().ShortMsg(handle, message);
}
inline std::uint32_t MidiOutClose(MidiOutHandle handle) {
    return MidiOut().Close(handle);
}
inline bool MidiOutAudible() {
    return MidiOut().Audible();
}

// status + 256 x data1 + 65536 x data2 in 32 bits (data out of 0..127 is the caller's fault and
// gives a message that the output ignores).
constexpr std::uint32_t ShortMessage(int status, int data1, int data2) {
    return static_cast<std::uint32_t>(status) + 256u * static_cast<std::uint32_t>(data1) +
           65536u * static_cast<std::uint32_t>(data2);
}

// Handles the open set of a device: fresh numbers from 1, none reused.
class MidiHandleSet {
  public:
    MidiOutHandle Add() {
        open_.insert(++last_);
        return last_;
    }
    bool Contains(MidiOutHandle handle) const { return open_.count(handle) > 0; }
    bool Remove(MidiOutHandle handle) { return open_.erase(handle) > 0; }
    bool Empty() const { return open_.empty(); }

  private:
    std::set<MidiOutHandle> open_;
    MidiOutHandle last_ = 0;
};

// One synth, its sound font loaded once. With `audioDriver` the synth plays through the
// machine's audio output; without, it sounds only through Render.
class FluidSynthMidiOut : public MidiOutDevice {
  public:
    explicit FluidSynthMidiOut(bool audioDriver, double sampleRate = 44100.0);
    ~FluidSynthMidiOut() override;
    FluidSynthMidiOut(const FluidSynthMidiOut&) = delete;
    FluidSynthMidiOut& operator=(const FluidSynthMidiOut&) = delete;

    std::uint32_t Open(MidiOutHandle& handle, int device) override;
    std::uint32_t ShortMsg(MidiOutHandle handle, std::uint32_t message) override;
    std::uint32_t Close(MidiOutHandle handle) override;
    bool Audible() const override { return engine_.Audible(); }

    // Whether a sound font was found and loaded (after the first Open).
    bool HasSoundFont() const { return engine_.HasSoundFont(); }
    // Renders `frames` stereo frames into the two buffers (resized); only without audio driver.
    bool Render(int frames, std::vector<float>& left, std::vector<float>& right);

  private:
    bool EnsureSynth();

    bool audioDriver_;
    double sampleRate_;
    FluidSynthEngine engine_;
    MidiHandleSet handles_;
};

// The test backend: logs every open, message and close with the time (NowMs) and the handle it
// was sent to, unknown and closed handles included; opens fail while `failOpen` is set.
class MidiOutRecorder : public MidiOutDevice {
  public:
    struct Entry {
        std::int64_t timeMs;
        MidiOutHandle handle;
        enum Kind { kOpen, kMessage, kClose } kind;
        std::uint32_t message;  // kMessage only
        bool accepted;          // the handle was open (kOpen: the open succeeded)
    };

    // Installs itself; the destructor restores the previous device.
    MidiOutRecorder();
    ~MidiOutRecorder() override;
    MidiOutRecorder(const MidiOutRecorder&) = delete;
    MidiOutRecorder& operator=(const MidiOutRecorder&) = delete;

    std::uint32_t Open(MidiOutHandle& handle, int device) override;
    std::uint32_t ShortMsg(MidiOutHandle handle, std::uint32_t message) override;
    std::uint32_t Close(MidiOutHandle handle) override;

    bool failOpen = false;
    // What Audible reports: a test plays as if no device or sound font were there.
    bool audible = true;
    bool Audible() const override { return audible; }
    const std::vector<Entry>& entries() const { return entries_; }
    // "t=<ms> h=<handle> open|close|<status> <data1> <data2>" with the bytes in upper-case hex.
    std::vector<std::string> Lines() const;
    void Clear() { entries_.clear(); }
    bool IsOpen(MidiOutHandle handle) const { return handles_.Contains(handle); }

  private:
    std::vector<Entry> entries_;
    MidiHandleSet handles_;
    MidiOutDevice* previous_;
};

}  // namespace platform::qt
