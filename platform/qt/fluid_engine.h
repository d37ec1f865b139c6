// One FluidSynth synthesizer with the General MIDI sound font, and the audio driver that plays
// it through the machine's sound output when one is wanted and there is a device. The MIDI
// output and each player own one. A synthesizer without a sound font or without a device still
// takes every message and plays silently; the reason is said once per process on stderr.
#pragma once

#include <fluidsynth.h>

#include <atomic>
#include <thread>

namespace platform::qt {

enum class PlayerClock {
    kSystem,  // a player follows the wall clock, so it plays on without anything rendering
    kSample,  // a player follows the samples rendered (offline rendering)
};

class FluidSynthEngine {
  public:
    FluidSynthEngine() = default;
    ~FluidSynthEngine();
    FluidSynthEngine(const FluidSynthEngine&) = delete;
    FluidSynthEngine& operator=(const FluidSynthEngine&) = delete;

    // Makes the synthesizer and loads the sound font, once; false when no synthesizer could be
    // made (then synth() is null).
    bool Start(double sampleRate, PlayerClock clock = PlayerClock::kSystem);
    // Starts the audio driver unless it runs; false when there is no device, and then the
    // silent sink renders instead.
    bool StartAudio();
    // Renders the synthesizer in real time into nothing, as a device would, so that a song
    // played with no device keeps its voices and events flowing (a synthesizer that nobody
    // renders fills its event queue and drops events with a warning each).
    void StartSilentSink();
    // Ends the audio driver or the sink; its thread renders from the synthesizer, so it goes
    // first whenever anything the synthesizer serves is taken down.
    void StopAudio();

    fluid_synth_t* synth() const { return synth_; }
    bool HasSoundFont() const { return soundFontId_ >= 0; }
    // The synthesizer is heard: the audio driver plays it through a device, with a sound font.
    bool Audible() const { return driver_ != nullptr && HasSoundFont(); }

  private:
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
    int soundFontId_ = -1;
    bool started_ = false;
    bool noDevice_ = false;  // a device was looked for and none found: the sink from then on
    std::thread sink_;
    std::atomic<bool> sinkRunning_{false};
    double sampleRate_ = 44100.0;
};

}  // namespace platform::qt
