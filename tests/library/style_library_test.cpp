// The shipped style library: what it covers, and what the composer makes of every style. Each
// style of a time signature is composed in every one of the five slots on a fixture song that
// passes through every section code and switches slots every four measures; the decoded song
// is then checked the way a listener would notice faults: silent parts, notes off the chord,
// a bass out of its register, drums off the percussion map, note pile-ups, flat dynamics.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/core/output_decoding.h"
#include "tests/library/library_catalog.h"
#include "tests/library/library_fixture.h"
#include "tests/library/midi_events.h"
#include "tests/support/program_folder.h"

namespace librarytest {
namespace {

constexpr int kBassChannel = 1;
constexpr int kDrumChannel = 9;
constexpr std::array<int, 3> kChordPartChannels = {2, 3, 4};
constexpr int kLowestBassNote = 28;
constexpr int kHighestBassNote = 60;
constexpr int kLowestPercussionKey = 35;  // General MIDI percussion map
constexpr int kHighestPercussionKey = 81;
constexpr int kMostNotesAtOnce = 16;
constexpr double kLeastChordToneShare = 0.90;
// The loudest note of a part at least this many times the softest: about 3 dB with the sound
// font's velocity curve, whatever volume the part plays at.
constexpr double kLeastVelocityRatio = 1.2;
// One step at twelve steps a quarter note: a melodic part whose notes typically last no
// longer than that plays clicks, not notes.
constexpr std::int64_t kShortestTypicalNote = 32;
// The composer's marker on the drum track: note 56 at velocity 5 in every half measure.
constexpr int kMarkerNote = 56;
constexpr int kMarkerVelocity = 5;

// Measures where every style part must sound. Left out: the intros and breaks, the measures
// where a slot starts (the parts end the old style's half there and wait for the new one),
// the one after the Stop and the one before the Pause (it plays its first step only).
const std::set<int> kEveryPartPlays = {3, 5, 6, 7, 9, 13, 14, 15, 19, 21, 22, 23};
constexpr int kPauseMeasure = 18;

// The pitch classes a chord part may play on a chord: its own notes (as the composer's chord
// rules build them, a major-flagged triad with its added tone) and the ninth as the tension.
std::set<int> AllowedPitchClasses(const std::string& chord) {
    static const std::string kLetters = "C~D~EF~G~A~B";
    int root = static_cast<int>(kLetters.find(chord[0]));
    if (chord[1] == 'b') --root;
    if (chord[1] == '#') ++root;
    const char quality = chord[2], number = chord[3], alteration = chord[4];
    int third = quality == 'm' ? 3 : quality == 's' ? 5 : 4;
    int fifth = 7;
    if (alteration == 'o') {
        --third;
        --fifth;
    }
    if (alteration == '+') fifth = 8;
    if (alteration == '-') fifth = 6;
    std::set<int> classes = {root, root + third, root + fifth, root + 2};
    if (number == '6') classes.insert(root + 9);
    if (number == '7' || number == '9') classes.insert(root + (quality == 'M' ? 11 : 10));
    if (number == '.' && quality == 'M') classes.insert(root + third + 2);
    std::set<int> folded;
    for (int c : classes) folded.insert(((c % 12) + 12) % 12);
    return folded;
}

bool IsMarker(const ChannelEvent& e) {
    return e.channel == kDrumChannel && e.data1 == kMarkerNote && e.data2 == kMarkerVelocity;
}

// The checks of one decoded song; `slotAt` names the style playing in each measure.
void CheckSong(const MidiSong& song, const Signature& ts,
               const std::array<const StyleInfo*, kMeasures>& styleAt) {
    const std::int64_t measureTicks = std::int64_t{kTicksPerQuarter} * ts.beats;
    ASSERT_EQ(song.trackCount, 12);
    // Players agree on well-formed note streams only.
    EXPECT_EQ(NoteStreamFaults(song, 2), "");
    std::map<int, std::set<int>> tracksByChannel;
    std::map<int, std::vector<const ChannelEvent*>> noteOns;
    for (const ChannelEvent& e : song.events) {
        if (e.track < 2) continue;  // the song input's own tracks
        if (e.IsNoteOn() || e.IsNoteOff()) tracksByChannel[e.channel].insert(e.track);
        if (e.IsNoteOn() && !IsMarker(e)) noteOns[e.channel].push_back(&e);
    }

    // The bass keeps to the bass register.
    for (const ChannelEvent* e : noteOns[kBassChannel]) {
        EXPECT_TRUE(e->data1 >= kLowestBassNote && e->data1 <= kHighestBassNote)
            << "bass note " << e->data1 << " at tick " << e->tick << " by "
            << styleAt[std::min<std::int64_t>(e->tick / measureTicks, kMeasures - 1)]->FileName();
    }
    // The drums are one track on channel 10 and use the percussion map only.
    EXPECT_EQ(tracksByChannel[kDrumChannel].size(), 1u);
    for (const ChannelEvent* e : noteOns[kDrumChannel]) {
        EXPECT_TRUE(e->data1 >= kLowestPercussionKey && e->data1 <= kHighestPercussionKey)
            << "drum key " << e->data1 << " at tick " << e->tick;
    }
    // Chord parts play the chord of their half measure.
    for (int channel : kChordPartChannels) {
        int onChord = 0;
        for (const ChannelEvent* e : noteOns[channel]) {
            const int measure =
                static_cast<int>(std::min<std::int64_t>(e->tick / measureTicks, kMeasures - 1));
            const int half = e->tick - measure * measureTicks >= ts.halfTicks ? 1 : 0;
            const auto allowed = AllowedPitchClasses(
                measure == kMeasures - 1 ? Chord(measure, 0) : Chord(measure, half));
            onChord += allowed.count(e->data1 % 12) ? 1 : 0;
        }
        ASSERT_FALSE(noteOns[channel].empty()) << "channel " << channel + 1;
        EXPECT_GE(onChord, kLeastChordToneShare * static_cast<double>(noteOns[channel].size()))
            << "channel " << channel + 1 << ": " << onChord << " of " << noteOns[channel].size()
            << " notes on the chord";
    }
    // No part piles up more than 16 notes, melodic notes last longer than a click, and every
    // part has a dynamic range.
    for (int channel : {1, 2, 3, 4, kDrumChannel}) {
        std::map<int, std::vector<std::int64_t>> sounding;  // key -> note-on ticks
        std::vector<std::int64_t> lengths;
        std::size_t most = 0;
        for (const ChannelEvent& e : song.events) {
            if (e.track < 2 || e.channel != channel) continue;
            if (e.IsNoteOn()) sounding[e.data1].push_back(e.tick);
            if (e.IsNoteOff() && !sounding[e.data1].empty()) {
                lengths.push_back(e.tick - sounding[e.data1].front());
                sounding[e.data1].erase(sounding[e.data1].begin());
            }
            std::size_t now = 0;
            for (const auto& [key, ticks] : sounding) now += ticks.size();
            most = std::max(most, now);
        }
        EXPECT_LE(most, static_cast<std::size_t>(kMostNotesAtOnce)) << "channel " << channel + 1;
        if (channel != kDrumChannel && !lengths.empty()) {
            std::nth_element(lengths.begin(), lengths.begin() + lengths.size() / 2, lengths.end());
            EXPECT_GT(lengths[lengths.size() / 2], kShortestTypicalNote)
                << "channel " << channel + 1 << " plays clicks";
        }
        int low = 127, high = 0;
        for (const ChannelEvent* e : noteOns[channel]) {
            low = std::min(low, e->data2);
            high = std::max(high, e->data2);
        }
        EXPECT_GE(high, kLeastVelocityRatio * low)
            << "channel " << channel + 1 << " velocities " << low << ".." << high;
    }
    // Every part sounds where its sections say so (struck in the measure or held into it; a
    // sustaining part keeps common tones over a chord change), the drums and chord parts rest
    // in the Pause, and every part plays the final chord.
    for (int channel : {1, 2, 3, 4, kDrumChannel}) {
        std::vector<int> struck(kMeasures, 0);
        std::vector<bool> sounding(kMeasures, false);
        std::map<int, std::int64_t> since;  // key -> tick of its sounding note-on
        for (const ChannelEvent& e : song.events) {
            if (e.track < 2 || e.channel != channel || IsMarker(e)) continue;
            const int measure =
                static_cast<int>(std::min<std::int64_t>(e.tick / measureTicks, kMeasures - 1));
            if (e.IsNoteOn()) {
                ++struck[measure];
                since.emplace(e.data1, e.tick);
            } else if (e.IsNoteOff()) {
                const auto on = since.find(e.data1);
                if (on == since.end()) continue;
                for (std::int64_t m = on->second / measureTicks;
                     m * measureTicks < e.tick && m < kMeasures; ++m) {
                    sounding[m] = true;
                }
                since.erase(on);
            }
        }
        for (int m : kEveryPartPlays) {
            EXPECT_TRUE(struck[m] > 0 || sounding[m])
                << "channel " << channel + 1 << " is silent in measure " << m + 1 << " ("
                << styleAt[m]->FileName() << ")";
        }
        const StyleInfo& pausing = *styleAt[kPauseMeasure];
        const int track =
            channel == kDrumChannel ? static_cast<int>(pausing.tracks.size()) - 1 : channel - 1;
        if (pausing.tracks[track].playMode == 0 || channel == kDrumChannel) {
            EXPECT_EQ(struck[kPauseMeasure], 0)
                << "channel " << channel + 1 << " plays in the Pause (" << pausing.FileName()
                << ")";
        }
    }
}

class LibraryStylesCompose : public testing::TestWithParam<Signature> {};

// The same styles with every part in the next play mode (the drums swap 0 and 1): the user
// may change any part's mode, and each part carries a sound for either kind of mode.
std::vector<StyleInfo> InOtherPlayModes(std::vector<StyleInfo> styles) {
    for (StyleInfo& style : styles) {
        for (std::size_t t = 0; t < style.tracks.size(); ++t) {
            int& mode = style.tracks[t].playMode;
            mode = t + 1 == style.tracks.size() ? 1 - mode : (mode + 1) % 4;
        }
    }
    return styles;
}

TEST_P(LibraryStylesCompose, EveryStyleInEverySlotMakesAMusicalAccompaniment) {
    const Signature& ts = GetParam();
    std::vector<StyleInfo> proposed;
    for (const StyleInfo& style : ReadLibraryCatalog(testsupport::SourceDir() / "styles")) {
        if (style.signature == ts.name) proposed.push_back(style);
    }
    ASSERT_GE(proposed.size(), 2u);
    const std::vector<StyleInfo> variants[] = {proposed, InOtherPlayModes(proposed)};
    for (const std::vector<StyleInfo>& variant : variants) {
        std::vector<const StyleInfo*> styles;
        for (const StyleInfo& style : variant) styles.push_back(&style);
        SCOPED_TRACE(&variant == &variants[0] ? "proposed play modes" : "other play modes");
        // Rotation r puts style (r + k) in slot k + 1, so across the rotations every style takes
        // every slot.
        for (std::size_t r = 0; r < styles.size(); ++r) {
            std::array<const StyleInfo*, 5> slots{};
            std::string names;
            for (std::size_t k = 0; k < slots.size(); ++k) {
                slots[k] = styles[(r + k) % styles.size()];
                names += " " + slots[k]->FileName();
            }
            SCOPED_TRACE(std::string(ts.name) + " slots" + names);
            std::array<const StyleInfo*, kMeasures> styleAt{};
            int slot = 1;
            for (int m = 0; m < kMeasures; ++m) {
                if (kSlotStarts[m] > 0) slot = kSlotStarts[m];
                styleAt[m] = slots[slot - 1];
            }
            const RunResult run = ComposeFixture(ts, slots);
            ASSERT_TRUE(run.composed) << run.error;
            CheckSong(run.song, ts, styleAt);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachTimeSignature, LibraryStylesCompose, testing::ValuesIn(kSignatures),
                         [](const testing::TestParamInfo<Signature>& info) {
                             return std::string(1, info.param.name[0]) + "_" +
                                    std::string(1, info.param.name[2]);
                         });

TEST(StyleLibrary, HoldsTheGenresOfEveryTimeSignature) {
    const auto catalog = ReadLibraryCatalog(testsupport::SourceDir() / "styles");
    std::map<std::string, int> bySignature;
    std::set<std::string> names;
    for (const StyleInfo& style : catalog) {
        SCOPED_TRACE(style.header);
        ++bySignature[style.signature];
        // The header shows the time signature first, then a name; the file takes its name
        // from the code and version, which the composer reads back.
        EXPECT_LE(style.header.size(), 40u);
        EXPECT_EQ(style.header.find(':'), style.header.find(": " + style.signature + " "));
        EXPECT_EQ(style.code.size(), 4u);
        EXPECT_TRUE(names.insert(style.FileName()).second)
            << "two styles named " << style.FileName();
        EXPECT_TRUE(std::filesystem::exists(testsupport::BinDir() / style.FileName()))
            << style.FileName() << " is not in the program folder";
        // Twelve steps a quarter note for every style, so any five of a time signature can
        // share a song.
        EXPECT_GE(style.version, 10);
        // Bass first on channel 2 (1 counted from 0), drums last on channel 10.
        ASSERT_EQ(style.tracks.size(), 5u);
        EXPECT_EQ(style.tracks.front().channel, kBassChannel);
        EXPECT_EQ(style.tracks.back().channel, kDrumChannel);
    }
    EXPECT_GE(catalog.size(), 14u);
    EXPECT_GE(bySignature["4/4"], 6);
    EXPECT_GE(bySignature["3/4"], 3);
    EXPECT_GE(bySignature["2/4"], 2);
    EXPECT_GE(bySignature["6/8"], 2);
}

TEST(StyleLibrary, UsesEveryGeneratorAndBothFamilies) {
    const auto catalog = ReadLibraryCatalog(testsupport::SourceDir() / "styles");
    bool releases = false, late = false, sectionCoded = false, newModes = false;
    bool keyRelative = false, oneNoteBass = false, sustain = false, drumsWaitForBreak = false,
         drumsFromStart = false;
    std::set<int> melodicModes;
    for (const StyleInfo& style : catalog) {
        releases |= style.version < 30;  // the plain drum and chord parts
        late |= style.version >= 30;     // the late drum and chord parts
        sectionCoded |= style.version < 31;
        newModes |= style.version >= 31;
        for (std::size_t t = 0; t + 1 < style.tracks.size(); ++t) {
            const TrackInfo& track = style.tracks[t];
            melodicModes.insert(track.playMode);
            keyRelative |= track.styleFlag1 == 1;
            sustain |= track.sustain == 1;
            oneNoteBass |= t == 0 && track.base == -36 && style.version >= 30;
        }
        drumsWaitForBreak |= style.tracks.back().playMode == 0;
        drumsFromStart |= style.tracks.back().playMode == 1;
    }
    EXPECT_TRUE(releases && late && sectionCoded && newModes);
    EXPECT_TRUE(keyRelative);
    EXPECT_TRUE(oneNoteBass);
    EXPECT_TRUE(sustain);
    EXPECT_TRUE(drumsWaitForBreak && drumsFromStart);
    EXPECT_EQ(melodicModes, (std::set<int>{0, 1, 2, 3}));
}

// The main job composes with what the window sends on a first run, as the library's level checks
// do: it takes the play options and the composer's tokens from firstrun, nothing of its own.
TEST(StyleLibrary, MainJobComposesAsTheWindowOnAFirstRun) {
    const std::string script =
        testsupport::ReadTextFile(testsupport::SourceDir() / "scripts" / "run.sh");
    EXPECT_NE(script.find("tokens=$(\"$root/build/devtools/firstrun\" \"$folder\""),
              std::string::npos);
    EXPECT_NE(script.find("\"$folder/Compose\" $tokens\n"), std::string::npos);
}

// The main job picks five library styles by the song's time signature; a renamed or retuned
// style must not leave it asking for a file the library no longer has.
TEST(StyleLibrary, MainJobPicksLibraryStylesOfTheSongsTimeSignature) {
    const auto catalog = ReadLibraryCatalog(testsupport::SourceDir() / "styles");
    std::ifstream script(testsupport::SourceDir() / "scripts" / "run.sh");
    const std::regex choice(R"re(^\s*(\S+)\) styles="([^"]*)")re");
    std::string line;
    std::set<std::string> signatures;
    while (std::getline(script, line)) {
        std::smatch match;
        if (!std::regex_search(line, match, choice)) continue;
        const std::string signature = match[1] == "*" ? "4/4" : match[1].str();
        signatures.insert(signature);
        std::istringstream names(match[2].str());
        std::string name;
        int count = 0;
        while (names >> name) {
            ++count;
            const auto style =
                std::find_if(catalog.begin(), catalog.end(),
                             [&](const StyleInfo& s) { return s.FileName() == name + ".sty"; });
            ASSERT_NE(style, catalog.end()) << name << " is not in the library";
            EXPECT_EQ(style->signature, signature) << name;
        }
        EXPECT_EQ(count, 5) << line;
    }
    EXPECT_EQ(signatures, (std::set<std::string>{"2/4", "3/4", "4/4", "6/8"}));
}

}  // namespace
}  // namespace librarytest
