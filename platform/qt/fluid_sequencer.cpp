#include "platform/qt/fluid_sequencer.h"

#include <algorithm>

namespace platform::qt {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr int kRenderBlock = 512;

}  // namespace

FluidSynthSequencer::FluidSynthSequencer(bool audioDriver) : audioDriver_(audioDriver) {}

FluidSynthSequencer::~FluidSynthSequencer() {
    Close();
}

bool FluidSynthSequencer::Open(const std::string& /*fileName*/, std::span<const std::uint8_t> song,
                               const SongTiming& timing, std::string& message) {
    Close();
    if (!engine_.Start(kSampleRate, PlayerClock::kSample)) {
        message = "No MIDI synthesizer can be started.";
        return false;
    }
    // The previous song's programs and controllers do not carry over.
    fluid_synth_system_reset(engine_.synth());
    song_.assign(song.begin(), song.end());
    timing_ = timing;
    heldTick_ = 0;
    return true;
}

bool FluidSynthSequencer::Play(std::int64_t sixteenth, std::string& message) {
    EndPlayer();
    const std::int64_t tick =
        std::clamp<std::int64_t>(SixteenthsToTicks(sixteenth, timing_.division), 0, kMaxSongTicks);
    player_ = new_fluid_player(engine_.synth());
    if (!player_ || fluid_player_add_mem(player_, song_.data(), song_.size()) != FLUID_OK ||
        fluid_player_seek(player_, static_cast<int>(tick)) != FLUID_OK ||
        fluid_player_play(player_) != FLUID_OK) {
        EndPlayer();
        heldTick_ = tick;
        message = "The MIDI synthesizer cannot play the song.";
        return false;
    }
    startTick_ = tick;
    running_ = true;
    // The rendering thread runs the player. Without a device (or without the driver, in tests)
    // the silent sink renders in the device's place.
    if (audioDriver_) {
        engine_.StartAudio();
    } else {
        engine_.StartSilentSink();
    }
    return true;
}

void FluidSynthSequencer::Stop() {
    heldTick_ = SixteenthsToTicks(Position(), timing_.division);
    EndPlayer();
}

void FluidSynthSequencer::Close() {
    EndPlayer();
    heldTick_ = 0;
    song_.clear();
}

void FluidSynthSequencer::EndPlayer() {
    // The player runs inside the thread that renders the synthesizer (the audio driver's or the
    // silent sink's): with that thread ended first, nothing touches the player any more, so it
    // can go whatever it was doing.
    engine_.StopAudio();
    if (player_) {
        fluid_player_stop(player_);
        delete_fluid_player(player_);
        player_ = nullptr;
        // What was sounding stops with the player.
        if (engine_.synth()) fluid_synth_all_sounds_off(engine_.synth(), -1);
    }
    running_ = false;
}

std::int64_t FluidSynthSequencer::Position() {
    if (!player_) return TicksToSixteenths(heldTick_, timing_.division);
    // Until the player has read the song, its tick is 0 although it starts at startTick_.
    const std::int64_t tick =
        std::max<std::int64_t>(fluid_player_get_current_tick(player_), startTick_);
    return TicksToSixteenths(tick, timing_.division);
}

bool FluidSynthSequencer::Running() {
    return running_ && player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

bool RenderSongOffline(std::span<const std::uint8_t> song, double seconds, double sampleRate,
                       std::vector<float>& left, std::vector<float>& right) {
    FluidSynthEngine engine;
    if (!engine.Start(sampleRate, PlayerClock::kSample)) return false;
    fluid_player_t* player = new_fluid_player(engine.synth());
    if (!player) return false;
    bool ok = fluid_player_add_mem(player, song.data(), song.size()) == FLUID_OK &&
              fluid_player_play(player) == FLUID_OK;
    const auto frames = static_cast<std::size_t>(std::max(seconds, 0.0) * sampleRate);
    left.assign(frames, 0.0f);
    right.assign(frames, 0.0f);
    for (std::size_t at = 0; ok && at < frames; at += kRenderBlock) {
        const int block = static_cast<int>(std::min<std::size_t>(kRenderBlock, frames - at));
        ok = fluid_synth_write_float(engine.synth(), block, left.data() + at, 0, 1,
                                     right.data() + at, 0, 1) == FLUID_OK;
    }
    delete_fluid_player(player);
    return ok;
}

}  // namespace platform::qt
