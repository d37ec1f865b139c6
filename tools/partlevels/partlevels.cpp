// partlevels SONG.mid... [FIRST-LAST]...: renders MIDI files offline with FluidSynth and the
// General MIDI sound font and prints, for each song, the level of every channel that plays
// notes:
//   channel <n>: notes <count> rms <dBFS> active <dBFS>
// and, for each channel range asked for, the level of those channels mixed together:
//   channels <first>-<last>: notes <count> rms <dBFS> active <dBFS>
// With more than one song, each song's lines follow a line "song <path>". "rms" is taken over
// the whole song, "active" only over the stretches where the channel (or the mix) sounds at
// all, so a part that rests half the song is not heard as quieter than it plays. A song is
// rendered once, each MIDI channel into its own dry output; the sound font is loaded once for
// all songs and no audio device is needed. Tests use it to tell that no part is silent and that
// the melody stays on top.
#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
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
    std::array<int, kChannels> notes{};
};

int CountNotes(void* data, fluid_midi_event_t* event) {
    auto* counter = static_cast<NoteCounter*>(data);
    const int channel = fluid_midi_event_get_channel(event);
    if (fluid_midi_event_get_type(event) == 0x90 && fluid_midi_event_get_velocity(event) > 0 &&
        channel >= 0 && channel < kChannels) {
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

struct Range {
    int first = 0;  // 0-based, inclusive
    int last = 0;
    Meter meter;
};

enum class Argument { kSong, kRange, kBadRange };

// "FIRST-LAST" names a channel range; anything else is a song.
Argument ParseRange(const char* text, Range& range) {
    int first = 0, last = 0;
    char end = 0;
    if (std::sscanf(text, "%d-%d%c", &first, &last, &end) != 2) return Argument::kSong;
    if (first < 1 || last > kChannels || first > last) return Argument::kBadRange;
    range.first = first - 1;
    range.last = last - 1;
    return Argument::kRange;
}

void PrintLevel(const std::string& label, int notes, const Meter& meter) {
    std::printf("%s: notes %d rms %.1f active %.1f\n", label.c_str(), notes, meter.RmsDb(),
                meter.ActiveDb());
}

// Renders one song and prints its levels; false when it cannot be played.
bool RenderSong(fluid_synth_t* synth, const char* song, std::vector<Range> ranges) {
    fluid_synth_system_reset(synth);
    fluid_player_t* player = new_fluid_player(synth);
    NoteCounter counter{synth, {}};
    fluid_player_set_playback_callback(player, CountNotes, &counter);
    bool ok = fluid_player_add(player, song) == FLUID_OK && fluid_player_play(player) == FLUID_OK;

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
            for (Range& range : ranges) {
                double left = 0.0, right = 0.0;
                for (int c = range.first; c <= range.last; ++c) {
                    left += buffers[2 * c][f];
                    right += buffers[2 * c + 1][f];
                }
                range.meter.Add(left, right);
            }
        }
        frames += kBlock;
    }
    delete_fluid_player(player);
    if (!ok) return false;
    for (int c = 0; c < kChannels; ++c) {
        if (counter.notes[c] == 0) continue;
        meters[c].Finish();
        PrintLevel("channel " + std::to_string(c + 1), counter.notes[c], meters[c]);
    }
    for (Range& range : ranges) {
        int notes = 0;
        for (int c = range.first; c <= range.last; ++c) notes += counter.notes[c];
        range.meter.Finish();
        PrintLevel(
            "channels " + std::to_string(range.first + 1) + "-" + std::to_string(range.last + 1),
            notes, range.meter);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<const char*> songs;
    std::vector<Range> ranges;
    for (int i = 1; i < argc; ++i) {
        Range range;
        switch (ParseRange(argv[i], range)) {
            case Argument::kRange:
                ranges.push_back(range);
                break;
            case Argument::kSong:
                songs.push_back(argv[i]);
                break;
            case Argument::kBadRange:
                std::fprintf(stderr, "partlevels: not a channel range (1-16): %s\n", argv[i]);
                return 2;
        }
    }
    if (songs.empty()) {
        std::fprintf(stderr, "usage: partlevels SONG.mid... [FIRST-LAST]...\n");
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
        if (!RenderSong(synth, song, ranges)) {
            std::fprintf(stderr, "partlevels: cannot render %s\n", song);
            status = 1;
            break;
        }
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return status;
}
