// The library as a new user meets it: every style, alone in all five slots, composed on the
// fixture song of its time signature with what the window's Make Output sends on a first run
// (tools/firstrun: echo levels 6 and 5, echo voices 50 and 90, slots at 80, every part at its
// style's own program, volume and play mode). The melody stays on top of the style's parts, the
// bass and a chord part play from the melody's first measure, no part rests long unless a
// section code says so, and the volume sliders have room: at the top a part plays out, and a
// swept part (one per style family) grows over the slider's range.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/library/library_catalog.h"
#include "tests/library/library_fixture.h"
#include "tests/library/midi_events.h"
#include "tests/library/render_levels.h"
#include "tests/support/program_folder.h"

namespace librarytest {
namespace {

// Channels counted from 0, as the song's events carry them.
constexpr int kMelodyChannel = 0;
constexpr int kBassChannel = 1;
constexpr std::array<int, 3> kChordPartChannels = {2, 3, 4};
constexpr int kDrumChannel = 9;
// The composer's marker on the drum track: note 56 at velocity 5 in every half measure.
constexpr int kMarkerNote = 56;
constexpr int kMarkerVelocity = 5;
// A struck note is heard at least this long, however soon its note-off comes.
constexpr std::int64_t kRingTicks = kTicksPerQuarter;
constexpr double kLongestRestMeasures = 2.0;
constexpr int kDrumPart = 4;
constexpr int kTopVolume = 127;
constexpr int kLeastMedianVelocityAtTop = 80;
constexpr double kLeastSweepRiseDb = 24.0;

// The part whose volume slider is swept, one per style family: the plain parts (versions below
// 30), the late parts (30) and the sixteen-mode styles (31 on); each a different generator.
const std::map<std::string, int> kSweptPart = {
    {"Bl4412.sty", 1},          // the piano, a chord part
    {"Rk4430.sty", kDrumPart},  // the late drum part
    {"8B4431.sty", 0},          // the bass in a pattern mode
};

bool IsMarker(const ChannelEvent& e) {
    return e.channel == kDrumChannel && e.data1 == kMarkerNote && e.data2 == kMarkerVelocity;
}

const Signature& SignatureOf(const StyleInfo& style) {
    for (const Signature& ts : kSignatures) {
        if (style.signature == ts.name) return ts;
    }
    return kSignatures[0];
}

// Where each composed channel sounds, in ticks: from each note-on to its note-off, and at least
// kRingTicks.
std::map<int, std::vector<std::pair<std::int64_t, std::int64_t>>> SoundingSpans(
    const MidiSong& song) {
    std::map<int, std::vector<std::pair<std::int64_t, std::int64_t>>> spans;
    std::map<std::pair<int, int>, std::vector<std::int64_t>> open;  // (channel, key) -> note-ons
    for (const ChannelEvent& e : song.events) {
        if (IsMarker(e)) continue;
        if (e.IsNoteOn()) {
            open[{e.channel, e.data1}].push_back(e.tick);
        } else if (e.IsNoteOff()) {
            auto& ons = open[{e.channel, e.data1}];
            if (ons.empty()) continue;
            spans[e.channel].emplace_back(ons.front(), std::max(e.tick, ons.front() + kRingTicks));
            ons.erase(ons.begin());
        }
    }
    for (auto& [key, ons] : open) {
        for (const std::int64_t on : ons) spans[key.first].emplace_back(on, on + kRingTicks);
    }
    for (auto& [channel, list] : spans) std::sort(list.begin(), list.end());
    return spans;
}

// The stretches where the fixture's section codes rest the parts: from a Stop to the measure
// that lets the parts in again, the Pause with the measure before it (its first step only plays)
// and the Ending.
std::vector<std::pair<std::int64_t, std::int64_t>> RestsTheSectionsAskFor(
    std::int64_t measureTicks) {
    std::vector<std::pair<int, int>> measures;  // first, last (inclusive)
    for (int m = 0; m < kMeasures; ++m) {
        if (kSections[m] == kStop) {
            int back = m + 1;
            while (back < kMeasures && kSections[back] != kBreak1 && kSections[back] != kIntro2 &&
                   kSections[back] != kBreak2) {
                ++back;
            }
            measures.emplace_back(m, std::min(back, kMeasures - 1));
        }
        if (kSections[m] == kPause) measures.emplace_back(std::max(0, m - 1), m);
        if (kSections[m] == kEnding) measures.emplace_back(m, m);
    }
    std::vector<std::pair<std::int64_t, std::int64_t>> ticks;
    for (const auto& [first, last] : measures) {
        ticks.emplace_back(first * measureTicks, (last + 1) * measureTicks);
    }
    return ticks;
}

// The longest stretch, in ticks, between `from` and `to` where none of `spans` sounds.
std::int64_t LongestRest(std::vector<std::pair<std::int64_t, std::int64_t>> spans,
                         std::int64_t from, std::int64_t to) {
    std::sort(spans.begin(), spans.end());
    std::int64_t reached = from, longest = 0;
    for (const auto& [start, end] : spans) {
        if (start > reached) longest = std::max(longest, std::min(start, to) - reached);
        reached = std::max(reached, end);
        if (reached >= to) break;
    }
    return std::max(longest, to - reached);
}

void ExpectPartsFromTheFirstMeasureAndNoLongRest(const MidiSong& song, std::int64_t measureTicks) {
    auto spans = SoundingSpans(song);
    ASSERT_FALSE(spans[kMelodyChannel].empty());
    const std::int64_t melodyStart = spans[kMelodyChannel].front().first;
    std::int64_t melodyEnd = 0;
    for (const auto& [start, end] : spans[kMelodyChannel]) melodyEnd = std::max(melodyEnd, end);
    const std::int64_t firstMeasureEnd = (melodyStart / measureTicks + 1) * measureTicks;
    const auto startsInFirstMeasure = [&](int channel) {
        const auto& list = spans[channel];
        return !list.empty() && list.front().first < firstMeasureEnd;
    };
    EXPECT_TRUE(startsInFirstMeasure(kBassChannel)) << "the bass waits";
    EXPECT_TRUE(
        std::any_of(kChordPartChannels.begin(), kChordPartChannels.end(), startsInFirstMeasure))
        << "every chord part waits";
    const auto excused = RestsTheSectionsAskFor(measureTicks);
    for (int channel = 1; channel <= kDrumChannel; ++channel) {
        auto heard = spans[channel];
        heard.insert(heard.end(), excused.begin(), excused.end());
        const double rest = static_cast<double>(LongestRest(heard, melodyStart, melodyEnd)) /
                            static_cast<double>(measureTicks);
        EXPECT_LE(rest, kLongestRestMeasures)
            << "channel " << channel + 1 << " rests " << rest << " measures";
    }
}

int MedianVelocity(const MidiSong& song, int channel) {
    std::vector<int> velocities;
    for (const ChannelEvent& e : song.events) {
        if (e.track >= 2 && e.channel == channel && e.IsNoteOn() && !IsMarker(e)) {
            velocities.push_back(e.data2);
        }
    }
    if (velocities.empty()) return 0;
    std::nth_element(velocities.begin(), velocities.begin() + velocities.size() / 2,
                     velocities.end());
    return velocities[velocities.size() / 2];
}

std::vector<StyleInfo> LibraryStyles() {
    return ReadLibraryCatalog(testsupport::SourceDir() / "styles");
}

class LibraryFirstRun : public testing::TestWithParam<StyleInfo> {};

TEST_P(LibraryFirstRun, MelodyOnTopPartsFromTheFirstMeasureSlidersWithRoom) {
    const StyleInfo& style = GetParam();
    const Signature& ts = SignatureOf(style);
    ASSERT_EQ(style.signature, ts.name);
    ASSERT_EQ(style.tracks.size(), 5u);
    const std::int64_t measureTicks = std::int64_t{kTicksPerQuarter} * ts.beats;
    testsupport::TempProgramFolder renders;

    const RunResult made = ComposeFixtureAsTheWindow(ts, style.FileName());
    ASSERT_TRUE(made.composed) << made.error;
    ExpectPartsFromTheFirstMeasureAndNoLongRest(made.song, measureTicks);
    renders.Write("made.mid", made.decoded);
    const auto levels = RenderLevels({(renders.path() / "made.mid").string()});
    ASSERT_EQ(levels.size(), 1u) << "partlevels could not render the song";
    ExpectMelodyOnTop(levels[0]);

    // Every volume slider at the top: each part plays out, its cells around the neutral 90.
    std::array<int, 5> top;
    top.fill(kTopVolume);
    const RunResult loud = ComposeFixtureAsTheWindow(ts, style.FileName(), top);
    ASSERT_TRUE(loud.composed) << loud.error;
    for (const TrackInfo& track : style.tracks) {
        EXPECT_GE(MedianVelocity(loud.song, track.channel), kLeastMedianVelocityAtTop)
            << "channel " << track.channel + 1;
    }

    const auto swept = kSweptPart.find(style.FileName());
    if (swept == kSweptPart.end()) return;
    const int part = swept->second;
    const std::string channel = std::to_string(style.tracks[part].channel + 1);
    std::vector<std::string> songs;
    for (const int volume : {1, 64, kTopVolume}) {
        std::array<int, 5> volumes{};
        volumes[part] = volume;
        const RunResult run = ComposeFixtureAsTheWindow(ts, style.FileName(), volumes);
        ASSERT_TRUE(run.composed) << run.error;
        const std::string name = "volume" + std::to_string(volume) + ".mid";
        renders.Write(name, run.decoded);
        songs.push_back((renders.path() / name).string());
    }
    const auto sweep = RenderLevels(songs, {}, channel);
    ASSERT_EQ(sweep.size(), songs.size()) << "partlevels could not render the sweep";
    std::vector<double> rms;
    for (const SongLevels& song : sweep) {
        const auto level = song.rms.find(std::stoi(channel));
        rms.push_back(level == song.rms.end() ? -200.0 : level->second);
    }
    SCOPED_TRACE("channel " + channel + " at volumes 1, 64, 127: " + std::to_string(rms[0]) + ", " +
                 std::to_string(rms[1]) + ", " + std::to_string(rms[2]) + " dBFS");
    EXPECT_LT(rms[0], rms[1]);
    EXPECT_LT(rms[1], rms[2]);
    EXPECT_GE(rms[2] - rms[0], kLeastSweepRiseDb);
}

// The sweeps still cover a style of each family when styles are renamed or rewritten.
TEST(LibraryFirstRunSweeps, OnePartOfEachFamily) {
    std::vector<int> versions;
    for (const StyleInfo& style : LibraryStyles()) {
        if (kSweptPart.count(style.FileName())) versions.push_back(style.version);
    }
    ASSERT_EQ(versions.size(), kSweptPart.size());
    std::sort(versions.begin(), versions.end());
    EXPECT_LT(versions[0], 30);
    EXPECT_EQ(versions[1], 30);
    EXPECT_GT(versions[2], 30);
}

INSTANTIATE_TEST_SUITE_P(EachStyle, LibraryFirstRun, testing::ValuesIn(LibraryStyles()),
                         [](const testing::TestParamInfo<StyleInfo>& info) {
                             return info.param.code + std::to_string(info.param.version);
                         });

}  // namespace
}  // namespace librarytest
