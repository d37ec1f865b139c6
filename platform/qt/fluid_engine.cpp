#include "platform/qt/fluid_engine.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/sound_font.h"

namespace platform::qt {
namespace {

// Each reason for silence is worth one line on stderr, not one per device opened.
void WarnOnce(std::atomic<bool>& said, const char* text) {
    if (!said.exchange(true)) std::fprintf(stderr, "%s\n", text);
}

std::atomic<bool> g_noSynthSaid{false};
std::atomic<bool> g_noSoundFontSaid{false};
std::atomic<bool> g_noDeviceSaid{false};

}  // namespace

FluidSynthEngine::~FluidSynthEngine() {
    StopAudio();
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

bool FluidSynthEngine::Start(double sampleRate, PlayerClock clock) {
    if (started_) return synth_ != nullptr;
    started_ = true;
    sampleRate_ = sampleRate;
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    settings_ = new_fluid_settings();
    if (!settings_) {
        WarnOnce(g_noSynthSaid, "Corvane: the MIDI synthesizer cannot start; the output is silent");
        return false;
    }
    fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    // Only the samples of the programs in use are read from the large sound font.
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    fluid_settings_setstr(settings_, "player.timing-source",
                          clock == PlayerClock::kSystem ? "system" : "sample");
    synth_ = new_fluid_synth(settings_);
    if (!synth_) {
        WarnOnce(g_noSynthSaid, "Corvane: the MIDI synthesizer cannot start; the output is silent");
        return false;
    }
    const auto soundFont = platform::FindGeneralMidiSoundFont();
    if (soundFont) {
        soundFontId_ = fluid_synth_sfload(synth_, soundFont->c_str(), 1);
        if (soundFontId_ < 0) {
            std::fprintf(stderr, "Corvane: cannot load the sound font %s; the output is silent\n",
                         soundFont->c_str());
        }
    } else {
        WarnOnce(g_noSoundFontSaid,
                 "Corvane: no General MIDI sound font in /usr/share/sounds/sf2; the output is "
                 "silent");
    }
    return true;
}

bool FluidSynthEngine::StartAudio() {
    if (driver_) return true;
    if (!synth_) return false;
    // Looking again on every start would repeat each driver's complaints on stderr.
    if (noDevice_) {
        StartSilentSink();
        return false;
    }
    driver_ = new_fluid_audio_driver(settings_, synth_);
    // The built-in choice may be a sound server that is not running; the others may be.
    for (const char* driver : {"pipewire", "pulseaudio", "alsa"}) {
        if (driver_) break;
        if (fluid_settings_setstr(settings_, "audio.driver", driver) == FLUID_OK)
            driver_ = new_fluid_audio_driver(settings_, synth_);
    }
    if (!driver_) {
        noDevice_ = true;
        WarnOnce(g_noDeviceSaid, "Corvane: no audio device; the MIDI output is silent");
        StartSilentSink();
    }
    return driver_ != nullptr;
}

void FluidSynthEngine::StartSilentSink() {
    if (!synth_ || driver_ || sinkRunning_) return;
    sinkRunning_ = true;
    sink_ = std::thread([this] {
        constexpr int kBlock = 512;
        std::vector<float> left(kBlock), right(kBlock);
        const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(kBlock / sampleRate_));
        auto next = std::chrono::steady_clock::now();
        while (sinkRunning_) {
            fluid_synth_write_float(synth_, kBlock, left.data(), 0, 1, right.data(), 0, 1);
            next += period;
            std::this_thread::sleep_until(next);
        }
    });
}

void FluidSynthEngine::StopAudio() {
    if (driver_) delete_fluid_audio_driver(driver_);
    driver_ = nullptr;
    sinkRunning_ = false;
    if (sink_.joinable()) sink_.join();
}

}  // namespace platform::qt
