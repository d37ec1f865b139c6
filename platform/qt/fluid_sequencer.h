// The program's player backend: FluidSynth's MIDI file player on a synthesizer of its own (the
// sound font loads at the first open and stays for the player's life). The player keeps time by
// the samples rendered, so it runs inside the thread that renders: the audio driver's, or where
// there is no audio device the silent sink's, which plays on in real time unheard. Positions
// come from the player's tick and the song's own division. A player that has reached the end of
// its song does not start again, so every Play builds a fresh one; the rendering thread ends
// before any player is deleted.
#pragma once

#include <fluidsynth.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/qt/fluid_engine.h"
#include "platform/qt/sequencer.h"

namespace platform::qt {

class FluidSynthSequencer : public SequencerBackend {
  public:
    // Without `audioDriver` the song plays into the silent sink, as with no device (tests).
    explicit FluidSynthSequencer(bool audioDriver);
    ~FluidSynthSequencer() override;

    bool Open(const std::string& fileName, std::span<const std::uint8_t> song,
              const SongTiming& timing, std::string& message) override;
    bool Play(std::int64_t sixteenth, std::string& message) override;
    void Stop() override;
    void Close() override;
    std::int64_t Position() override;
    bool Running() override;
    bool Audible() override { return !running_ || engine_.Audible(); }

    bool HasSoundFont() const { return engine_.HasSoundFont(); }

  private:
    void EndPlayer();

    bool audioDriver_;
    FluidSynthEngine engine_;
    std::vector<std::uint8_t> song_;
    SongTiming timing_;
    fluid_player_t* player_ = nullptr;
    std::int64_t startTick_ = 0;  // where the running player was started
    std::int64_t heldTick_ = 0;   // where a stopped player stopped
    bool running_ = false;
};

// Renders the first `seconds` of `song` offline, as the program's player would sound, into
// `left` and `right` (resized); false when no synthesizer could be made or the song does not
// load.
bool RenderSongOffline(std::span<const std::uint8_t> song, double seconds, double sampleRate,
                       std::vector<float>& left, std::vector<float>& right);

}  // namespace platform::qt
