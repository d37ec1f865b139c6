// The players' sound side. A player control (mm_control.h) checks and reads the song itself and
// hands it to a backend, which only plays: from a position in sixteenth notes, stopped where it
// is, closed. The program's backend is FluidSynth; tests install FakeSequencer
// (fake_sequencer.h), which plays on the test's clock and logs every command.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/qt/song_timing.h"

namespace platform::qt {

// Modes a player reports.
constexpr int kModeNotReady = 524;  // no device open
constexpr int kModeStopped = 525;
constexpr int kModePlaying = 526;

// Error numbers a player reports.
constexpr int kErrorNone = 0;
constexpr int kErrorNoSynthesizer = 1;  // no synthesizer could be made to play the song
constexpr int kErrorFileNotFound = 275;
constexpr int kErrorInvalidFile = 296;  // not a MIDI song a player can play

class SequencerBackend {
  public:
    virtual ~SequencerBackend() = default;

    // Takes a checked song (read from `fileName`) for playing; false with `message` when
    // nothing can play it.
    virtual bool Open(const std::string& fileName, std::span<const std::uint8_t> song,
                      const SongTiming& timing, std::string& message) = 0;
    // Plays from `sixteenth`; false with `message` when it cannot start.
    virtual bool Play(std::int64_t sixteenth, std::string& message) = 0;
    // Stops where it is.
    virtual void Stop() = 0;
    virtual void Close() = 0;
    // Sixteenths from the song's start; may run past the song's end.
    virtual std::int64_t Position() = 0;
    // True from a successful Play until Stop, Close or an error.
    virtual bool Running() = 0;
    // An error that arose while playing, reported once: its number (kErrorNone when none) and
    // its text.
    virtual int TakeError(std::string& /*message*/) { return kErrorNone; }
    // False while a song plays on unheard (no audio device, no sound font); true when nothing
    // plays.
    virtual bool Audible() { return true; }
};

// Makes the backend of the player control named `control`.
using SequencerBackendMaker =
    std::function<std::unique_ptr<SequencerBackend>(const std::string& control)>;

// Installs `maker` for players opened from now on; an empty one restores FluidSynth with the
// machine's audio output.
void SetSequencerBackendMaker(SequencerBackendMaker maker);
std::unique_ptr<SequencerBackend> MakeSequencerBackend(const std::string& control);

}  // namespace platform::qt
