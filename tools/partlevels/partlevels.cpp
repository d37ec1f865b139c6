// partlevels SONG.mid: renders a MIDI file offline with FluidSynth and the General MIDI sound
// font, once per channel with only that channel's events let through, and prints each
// channel's level:
//   channel <n>: notes <count> rms <dBFS>
// Tests use it to tell that no part of a composed song is silent; no audio device is needed.
#include <fluidsynth.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/sound_font.h"

namespace {

constexpr int kBlock = 512;
constexpr double kSampleRate = 44100.0;

struct Filter {
    fluid_synth_t* synth;
    int channel;
    int notes;
};

// Lets only the chosen channel's events reach the synth (0-based channel in FluidSynth).
int PassChannel(void* data, fluid_midi_event_t* event) {
    auto* filter = static_cast<Filter*>(data);
    if (fluid_midi_event_get_channel(event) != filter->channel) return FLUID_OK;
    if (fluid_midi_event_get_type(event) == 0x90 && fluid_midi_event_get_velocity(event) > 0) {
        ++filter->notes;
    }
    return fluid_synth_handle_midi_event(filter->synth, event);
}

struct Level {
    int notes = 0;
    double rms = 0.0;
};

bool RenderChannel(fluid_synth_t* synth, const char* song, int channel, Level& level) {
    fluid_synth_system_reset(synth);
    bool ok = true;
    fluid_player_t* player = new_fluid_player(synth);
    Filter filter{synth, channel, 0};
    fluid_player_set_playback_callback(player, PassChannel, &filter);
    ok = ok && fluid_player_add(player, song) == FLUID_OK && fluid_player_play(player) == FLUID_OK;

    double sum = 0.0;
    long long samples = 0;
    std::vector<float> left(kBlock), right(kBlock);
    // Bounded: at most an hour of audio, whatever the file says.
    const long long limit = static_cast<long long>(kSampleRate) * 3600;
    while (ok && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && samples < limit) {
        if (fluid_synth_write_float(synth, kBlock, left.data(), 0, 1, right.data(), 0, 1) != FLUID_OK) {
            ok = false;
            break;
        }
        for (int i = 0; i < kBlock; ++i) sum += double(left[i]) * left[i] + double(right[i]) * right[i];
        samples += kBlock;
    }
    level.notes = filter.notes;
    level.rms = samples > 0 ? std::sqrt(sum / (2.0 * samples)) : 0.0;
    delete_fluid_player(player);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: partlevels SONG.mid\n");
        return 2;
    }
    const auto soundFont = platform::FindGeneralMidiSoundFont();
    if (!soundFont) {
        std::fprintf(stderr, "partlevels: no General MIDI sound font in /usr/share/sounds/sf2\n");
        return 1;
    }
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    // The sound font is large: load it once and reset the synth between channels.
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (fluid_synth_sfload(synth, soundFont->c_str(), 1) == FLUID_FAILED) {
        std::fprintf(stderr, "partlevels: cannot load %s\n", soundFont->c_str());
        return 1;
    }
    for (int channel = 0; channel < 16; ++channel) {
        Level level;
        if (!RenderChannel(synth, argv[1], channel, level)) {
            std::fprintf(stderr, "partlevels: cannot render %s\n", argv[1]);
            return 1;
        }
        if (level.notes == 0) continue;
        const double db = level.rms > 0 ? 20.0 * std::log10(level.rms) : -200.0;
        std::printf("channel %d: notes %d rms %.1f\n", channel + 1, level.notes, db);
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return 0;
}
