// partlevels [--only MIX] SONG.mid... [MIX]...: renders MIDI files offline with FluidSynth and the
// General MIDI sound font and prints, for each song, the level of every channel that plays notes:
//   channel <n>: notes <count> rms <dBFS> active <dBFS>
// and, for each mix asked for, the level of its channels mixed together:
//   channels <mix>: notes <count> rms <dBFS> active <dBFS>
// A mix is a channel range FIRST-LAST or several channels and ranges joined by commas, as in
// "2-5,10" (channels counted from 1). With "--only MIX" before the songs, only the notes of those
// channels are played and the others stay silent: quicker, when a test measures one part.
// With more than one song, each song's lines follow a line "song <path>". "rms" is taken over
// the whole song, "active" only over the stretches where the channel (or the mix) sounds at
// all, so a part that rests half the song is not heard as quieter than it plays. A song is
// rendered once, each MIDI channel into its own dry output; the sound font is loaded once for
// all songs and no audio device is needed. Tests use it to tell that no part is silent and that
// the melody stays on top.
#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sound_font.h"

namespace {

constexpr int kChannels = 16;
constexpr int kBlock = 512;
constexpr double kSampleRate = 22050.0;
// Levels are judged over windows of about 46 ms; a window below the gate counts as a rest.
constexpr int kWindow = 1024;
constexpr double kActiveGateDbfs = -60.0;
// Dense parts (a sustained piano, drum tails) must not steal each other's voices in the
// shared render.
constexpr int kPolyphony = 4096;

struct NoteCounter {
    fluid_synth_t* synth;
    std::array<bool, kChannels> plays{};
    std::array<int, kChannels> notes{};
    long long events = 0;  // every event the player handed on, of any channel or kind
};

int CountNotes(void* data, fluid_midi_event_t* event) {
    auto* counter = static_cast<NoteCounter*>(data);
    ++counter->events;
    const int channel = fluid_midi_event_get_channel(event);
    if (fluid_midi_event_get_type(event) == 0x90 && fluid_midi_event_get_velocity(event) > 0 &&
        channel >= 0 && channel < kChannels) {
        if (!counter->plays[channel]) return FLUID_OK;
        ++counter->notes[channel];
    }
    return fluid_synth_handle_midi_event(counter->synth, event);
}

// The level of one signal, fed sample by sample (left and right of a frame together).
class Meter {
  public:
    void Add(double left, double right) {
        const double energy = left * left + right * right;
        total_ += energy;
        window_ += energy;
        ++frames_;
        if (++inWindow_ == kWindow) CloseWindow();
    }
    void Finish() {
        if (inWindow_ > 0) CloseWindow();
    }
    double RmsDb() const { return Db(frames_ > 0 ? total_ / (2.0 * frames_) : 0.0); }
    double ActiveDb() const {
        return Db(activeFrames_ > 0 ? active_ / (2.0 * activeFrames_) : 0.0);
    }

  private:
    static double Db(double meanSquare) {
        return meanSquare > 0 ? 10.0 * std::log10(meanSquare) : -200.0;
    }
    void CloseWindow() {
        if (Db(window_ / (2.0 * inWindow_)) > kActiveGateDbfs) {
            active_ += window_;
            activeFrames_ += inWindow_;
        }
        window_ = 0.0;
        inWindow_ = 0;
    }
    double total_ = 0.0, window_ = 0.0, active_ = 0.0;
    long long frames_ = 0, activeFrames_ = 0;
    int inWindow_ = 0;
};

struct Mix {
    std::string label;                   // as asked for
    std::array<bool, kChannels> with{};  // 0-based channels
    Meter meter;
};

enum class Argument { kSong, kMix, kBadMix };

// One element of a mix: "N" or "FIRST-LAST", 1 to 16.
bool AddToMix(std::string_view element, Mix& mix) {
    const auto number = [](std::string_view text, int& value) {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && end == text.data() + text.size();
    };
    const std::size_t dash = element.find('-');
    int first = 0, last = 0;
    if (!number(element.substr(0, dash), first)) return false;
    if (dash == std::string_view::npos) {
        last = first;
    } else if (!number(element.substr(dash + 1), last)) {
        return false;
    }
    if (first < 1 || last > kChannels || first > last) return false;
    for (int c = first; c <= last; ++c) mix.with[c - 1] = true;
    return true;
}

// Channels and ranges joined by commas.
bool ReadMix(const std::string& text, Mix& mix) {
    mix.label = text;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view all = text;
        if (!AddToMix(all.substr(start, comma == std::string::npos ? comma : comma - start), mix))
            return false;
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

// Digits with a "-" or a "," among them name a mix; anything else is a song.
Argument ParseMix(const std::string& text, Mix& mix) {
    if (text.find_first_not_of("0123456789-,") != std::string::npos ||
        text.find_first_of("-,") == std::string::npos) {
        return Argument::kSong;
    }
    return ReadMix(text, mix) ? Argument::kMix : Argument::kBadMix;
}

void PrintLevel(const std::string& label, int notes, const Meter& meter) {
    std::printf("%s: notes %d rms %.1f active %.1f\n", label.c_str(), notes, meter.RmsDb(),
                meter.ActiveDb());
}

// Renders one song and prints its levels; false when it cannot be played.
bool RenderSong(fluid_synth_t* synth, const char* song, const std::array<bool, kChannels>& plays,
                std::vector<Mix> mixes) {
    fluid_synth_system_reset(synth);
    fluid_player_t* player = new_fluid_player(synth);
    NoteCounter counter{synth, plays, {}};
    fluid_player_set_playback_callback(player, CountNotes, &counter);
    // The player takes any name and, at play, quietly drops a file it cannot read, ending at
    // once as if the song were over: a missing or damaged song would print no levels and still
    // count as rendered. The header check turns away what is no MIDI file at all; a song whose
    // header is good but whose tracks the player could not load hands no event on (checked
    // after the render).
    bool ok = fluid_is_midifile(song) && fluid_player_add(player, song) == FLUID_OK &&
              fluid_player_play(player) == FLUID_OK;

    std::array<Meter, kChannels> meters;
    std::vector<std::vector<float>> buffers(2 * kChannels, std::vector<float>(kBlock));
    std::vector<float*> out(2 * kChannels);
    // Bounded: at most an hour of audio, whatever the file says.
    const long long limit = static_cast<long long>(kSampleRate) * 3600;
    long long frames = 0;
    while (ok && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && frames < limit) {
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            std::fill(buffers[i].begin(), buffers[i].end(), 0.0f);
            out[i] = buffers[i].data();
        }
        // The effects sends are left out: the levels are those of the dry parts.
        if (fluid_synth_process(synth, kBlock, 0, nullptr, 2 * kChannels, out.data()) != FLUID_OK) {
            ok = false;
            break;
        }
        for (int f = 0; f < kBlock; ++f) {
            for (int c = 0; c < kChannels; ++c) {
                meters[c].Add(buffers[2 * c][f], buffers[2 * c + 1][f]);
            }
            for (Mix& mix : mixes) {
                double left = 0.0, right = 0.0;
                for (int c = 0; c < kChannels; ++c) {
                    if (!mix.with[c]) continue;
                    left += buffers[2 * c][f];
                    right += buffers[2 * c + 1][f];
                }
                mix.meter.Add(left, right);
            }
        }
        frames += kBlock;
    }
    delete_fluid_player(player);
    if (!ok || counter.events == 0) return false;
    for (int c = 0; c < kChannels; ++c) {
        if (counter.notes[c] == 0) continue;
        meters[c].Finish();
        PrintLevel("channel " + std::to_string(c + 1), counter.notes[c], meters[c]);
    }
    for (Mix& mix : mixes) {
        int notes = 0;
        for (int c = 0; c < kChannels; ++c) notes += mix.with[c] ? counter.notes[c] : 0;
        mix.meter.Finish();
        PrintLevel("channels " + mix.label, notes, mix.meter);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<const char*> songs;
    std::vector<Mix> mixes;
    std::array<bool, kChannels> plays;
    plays.fill(true);
    int first = 1;
    if (argc > 2 && std::string(argv[1]) == "--only") {
        Mix only;
        if (!ReadMix(argv[2], only)) {
            std::fprintf(stderr, "partlevels: not a channel range (1-16): %s\n", argv[2]);
            return 2;
        }
        plays = only.with;
        first = 3;
    }
    for (int i = first; i < argc; ++i) {
        Mix mix;
        switch (ParseMix(argv[i], mix)) {
            case Argument::kMix:
                mixes.push_back(mix);
                break;
            case Argument::kSong:
                songs.push_back(argv[i]);
                break;
            case Argument::kBadMix:
                std::fprintf(stderr, "partlevels: not a channel range (1-16): %s\n", argv[i]);
                return 2;
        }
    }
    if (songs.empty()) {
        std::fprintf(stderr, "usage: partlevels [--only MIX] SONG.mid... [MIX]...\n");
        return 2;
    }
    const auto soundFont = platform::FindGeneralMidiSoundFont();
    if (!soundFont) {
        std::fprintf(stderr, "partlevels: no General MIDI sound font in /usr/share/sounds/sf2\n");
        return 1;
    }
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    // Only the samples of the instruments a song uses are read from the large sound font.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setint(settings, "synth.polyphony", kPolyphony);
    // One stereo output per MIDI channel: channel n sounds in group n only.
    fluid_settings_setint(settings, "synth.audio-channels", kChannels);
    fluid_settings_setint(settings, "synth.audio-groups", kChannels);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (synth == nullptr || fluid_synth_sfload(synth, soundFont->c_str(), 1) == FLUID_FAILED) {
        std::fprintf(stderr, "partlevels: cannot load %s\n", soundFont->c_str());
        return 1;
    }
    int status = 0;
    for (const char* song : songs) {
        if (songs.size() > 1) std::printf("song %s\n", song);
        if (!RenderSong(synth, song, plays, mixes)) {
            std::fprintf(stderr, "partlevels: cannot render %s\n", song);
            status = 1;
            break;
        }
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return status;
}
