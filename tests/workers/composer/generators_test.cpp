// The part generators seen through whole track passes of a song held in memory: when each part
// enters and stops, what the drum marker and the echo levels do, the pre-pass, the section
// switch between two halves and the track writer's offset check.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "formats/style_keys.h"
#include "output_reader.h"
#include "style_fixture.h"
#include "workers/composer/composer.h"
#include "workers/composer/track_coding.h"

namespace composer {
namespace {

using composertest::MidiSong;

struct Song {
    std::vector<int> drum, inst;  // per measure
    std::vector<int> styleAt;     // per measure: 0 or a slot
    int echo1 = 65, echo2 = 78;
    std::string style = "Abcd12.sty";
    std::vector<composertest::FixtureTrack> tracks;
    std::array<int, 5> modes{0, 2, 3, 1, 1};
    std::array<int, 5> sectVol{80, 80, 80, 80, 80};  // per slot
    int partVol = 0;                                 // of every part in every slot
    // Per measure, both halves' chords; empty: C F, then G C, in turn.
    std::vector<std::pair<std::string, std::string>> chords;
    // Slots (1..5) that play another style than `style` and `tracks`, or other play modes.
    std::map<int, std::pair<std::string, std::vector<composertest::FixtureTrack>>> slotStyles;
    std::map<int, std::array<int, 5>> slotModes;
};

struct Result {
    MessageLog log;
    bool aborted = false;
    MidiSong song;
    ComposeResult raw;
};

void ComposeSong(const Song& s, Result& r) {
    ComposeSetup setup;
    setup.runCode = 80;
    const int measures = static_cast<int>(s.drum.size());
    for (int m = 0; m < measures; ++m) {
        MeasureRecord rec;
        rec.chord1 = m % 2 ? "G...." : "C....";
        rec.chord2 = m % 2 ? "C...." : "F....";
        if (!s.chords.empty()) std::tie(rec.chord1, rec.chord2) = s.chords[m];
        rec.drumCode = s.drum[m];
        rec.instCode = s.inst[m];
        setup.chords.measures.push_back(rec);
        if (!s.styleAt.empty() && s.styleAt[m] > 0)
            setup.chords.sections.push_back({m, s.styleAt[m]});
        setup.stats.push_back({m % 3 == 0 ? 64 : 0, 0, 0, 0, 90});
    }
    if (s.chords.empty()) setup.chords.measures.back().chord1 = "C....";
    setup.songPitchClasses = {60, 0, 62, 0, 64, 65, 0, 67, 0, 69, 0, 71};
    setup.beatPattern.fill(1);
    setup.options.echoLevel1 = s.echo1;
    setup.options.echoLevel2 = s.echo2;
    setup.options.holdMode = 1;
    setup.options.headRelease = 75;
    std::array<std::vector<std::uint8_t>, kSlotCount> files;
    for (int i = 0; i < kSlotCount; ++i) {
        const auto other = s.slotStyles.find(i + 1);
        const std::string& name = other == s.slotStyles.end() ? s.style : other->second.first;
        setup.options.styleNames[i] = name;
        setup.slotSettings[i] = SlotSettingsFromName(name);
        setup.slotParams[i].sectVol = s.sectVol[i];
        setup.slotParams[i].partVol.fill(s.partVol);
        const auto modes = s.slotModes.find(i + 1);
        setup.slotParams[i].channelMode = modes == s.slotModes.end() ? s.modes : modes->second;
        const int lines = 4 * setup.slotSettings[i].stepsPerQuarter;
        const auto& tracks = other != s.slotStyles.end() ? other->second.second : s.tracks;
        files[i] = composertest::EncodeStyle(
            tracks.empty() ? composertest::FullStyle(lines) : tracks, lines,
            formats::StyleKeyForVersion(setup.slotSettings[i].styleVersion));
    }
    try {
        Composer c(std::move(setup), r.log);
        c.PrepareSong();
        for (int slot = 1; slot <= kSlotCount; ++slot) c.LoadStyle(slot, files[slot - 1]);
        r.raw = c.ComposeAll();
    } catch (const worker::WorkerFatal&) {
        r.aborted = true;
        return;
    }
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 10, 1, 0x80};
    auto tracks = r.raw.codedTracks;
    ASSERT_TRUE(formats::DecodeOutputTracks(tracks, 80));
    file.insert(file.end(), tracks.begin(), tracks.end());
    auto parsed = composertest::ParseMidi(file);
    ASSERT_TRUE(parsed.has_value());
    r.song = *parsed;
}

// Note-on ticks of a track (index 0 = pass 1) by note.
std::vector<std::pair<std::int64_t, int>> NoteOns(const MidiSong& song, int track, int note = -1) {
    std::vector<std::pair<std::int64_t, int>> out;
    for (const auto& e : song.tracks[track].events) {
        if ((e.status & 0xF0) == 0x90 && (note < 0 || e.data[0] == note))
            out.emplace_back(e.tick, e.data[1]);
    }
    return out;
}

constexpr int kMeasureTicks = 1536;

Song Typical(int measures) {
    Song s;
    s.drum.assign(measures, 0);
    s.inst.assign(measures, 0);
    return s;
}

TEST(Generators, DrumMarkerInEveryHalfAndEntryAtTheFirstBreak) {
    Song s = Typical(6);
    s.modes[4] = 0;  // drums wait for their entry
    s.drum[3] = s.inst[3] = 2;
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    const auto markers = NoteOns(r.song, 4, 56);
    EXPECT_EQ(markers.size(), 2u * 5);  // every half measure but the ending
    for (const auto& [tick, vel] : markers) EXPECT_EQ(vel, 5);
    const auto kicks = NoteOns(r.song, 4, 36);
    ASSERT_FALSE(kicks.empty());
    EXPECT_EQ(kicks.front().first,
              3 * kMeasureTicks + kMeasureTicks / 2);  // second half of the Break1 measure
}

TEST(Generators, DrumsPlayFromTheStartInPlayModeOne) {
    Song s = Typical(4);
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    const auto kicks = NoteOns(r.song, 4, 36);
    ASSERT_FALSE(kicks.empty());
    EXPECT_EQ(kicks.front().first, 0);
}

TEST(Generators, PartVolumeScaledBySectionVolumeSetsTheVelocities) {
    // The velocity factor is shared by every pass; by the drum pass it sits at its floor 0.85
    // (a 32-bit float just below it, multiplied in floats), and the bass drum adds 20 to the
    // base velocity.
    struct Case {
        int partVol, sectVol, kick;
    };
    const Case cases[] = {
        {0, 80, 68 + 20},    // the style's own volume 100 at 80 percent: 80, base 68
        {50, 100, 42 + 20},  // the user's part volume
        {127, 100, 107 + 20},
        {100, 0, 1 + 20},  // a slot at 0 percent plays at the least velocity
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.partVol << " at " << c.sectVol << "%");
        Song s = Typical(4);
        s.partVol = c.partVol;
        s.sectVol.fill(c.sectVol);
        Result r;
        ComposeSong(s, r);
        ASSERT_FALSE(r.aborted) << r.log.text();
        const auto kicks = NoteOns(r.song, 4, 36);
        ASSERT_FALSE(kicks.empty());
        EXPECT_EQ(kicks.front().second, c.kick);
    }
    // A section switch takes the volume of the new slot: half of 100 from the third measure on.
    Song s = Typical(5);
    s.styleAt = {0, 0, 2, 0, 0};
    s.sectVol = {100, 50, 100, 100, 100};
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    for (const auto& [tick, velocity] : NoteOns(r.song, 4, 36)) {
        if (tick < 2 * kMeasureTicks || tick >= 4 * kMeasureTicks) continue;
        EXPECT_EQ(velocity, tick < 2 * kMeasureTicks + kMeasureTicks / 2 ? 85 + 20 : 42 + 20)
            << tick;
    }
}

TEST(Generators, ChordPartWaitsForBreakIntroOrBreak2AndStopsOnce) {
    Song s = Typical(10);
    s.drum[2] = s.inst[2] = 3;
    s.drum[6] = s.inst[6] = 6;  // Stop in a measure with melody
    s.drum[8] = s.inst[8] = 7;
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    const auto ons = NoteOns(r.song, 0);
    ASSERT_FALSE(ons.empty());
    EXPECT_EQ(ons.front().first, 2 * kMeasureTicks);
    const bool silentAfterStop = std::none_of(ons.begin(), ons.end(), [](const auto& on) {
        return on.first >= 7 * kMeasureTicks && on.first < 8 * kMeasureTicks;
    });
    EXPECT_TRUE(silentAfterStop);
    EXPECT_TRUE(std::any_of(ons.begin(), ons.end(),
                            [](const auto& on) { return on.first >= 8 * kMeasureTicks; }));
}

TEST(Generators, EchoLevelZeroMutesPartsThreeAndFourUntilTheirEnding) {
    Song s = Typical(6);
    s.echo1 = 0;
    s.echo2 = 0;
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    const auto part1 = NoteOns(r.song, 5);
    ASSERT_FALSE(part1.empty());
    for (std::size_t i = 0; i + 1 < part1.size(); ++i) EXPECT_EQ(part1[i].second, 9);
    // Only the final note of the ending, in the last measure.
    for (int track : {7, 8}) {
        const auto ons = NoteOns(r.song, track);
        ASSERT_EQ(ons.size(), 1u) << track;
        EXPECT_EQ(ons.front().first, 5 * kMeasureTicks) << track;
    }
}

TEST(Generators, EchoPartsThreeAndFourFollowPartTwo) {
    Song s = Typical(6);
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    const auto part2 = NoteOns(r.song, 6);
    const auto part3 = NoteOns(r.song, 7);
    ASSERT_FALSE(part2.empty());
    ASSERT_FALSE(part3.empty());
    // Velocity follows the difference of the two levels (78 - 65 = 13 above part 2's).
    EXPECT_EQ(part3.front().second, std::min(127, part2.front().second + 13));
    EXPECT_EQ(part3.front().first, part2.front().first);
}

TEST(Generators, SectionSwitchHappensBetweenTheHalves) {
    Song s = Typical(5);
    s.styleAt = {0, 0, 2, 0, 0};
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    // The burst of the new section sits at the half of measure 3 on every style track.
    for (int track = 0; track < 5; ++track) {
        SCOPED_TRACE(track);
        const auto& events = r.song.tracks[track].events;
        const bool burst = std::any_of(events.begin(), events.end(), [](const auto& e) {
            return (e.status & 0xF0) == 0xB0 && e.data[0] == 74 &&
                   e.tick == 2 * kMeasureTicks + kMeasureTicks / 2;
        });
        EXPECT_TRUE(burst);
    }
    // Echo tracks have no section changes.
    for (const auto& e : r.song.tracks[5].events)
        EXPECT_FALSE((e.status & 0xF0) == 0xB0 && e.data[0] == 74 && e.tick > 0);
}

TEST(Generators, NotesBalancePerChannelAndCountsMatch) {
    Song s = Typical(16);
    for (int m = 0; m < 16; ++m)
        s.drum[m] = s.inst[m] = std::array{4, 3, 0, 5, 1, 2, 7, 6, 0, 5, 0, 9, 5, 2, 7, 8}[m];
    s.styleAt.assign(16, 0);
    s.styleAt[5] = 2;
    s.styleAt[11] = 3;
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.raw.noteOnCounts[i], r.raw.noteOffCounts[i]);
    }
}

TEST(Generators, LateStylesWithOffsetsBeyondAStepAreRefused) {
    Song s = Typical(2);
    s.style = "Abcd31.sty";
    s.tracks = composertest::FullStyle(48);
    s.tracks[4].modes.assign(16, {{0, "4000003601"}});  // offset 40 > 31 ticks per step - 1
    Result r;
    ComposeSong(s, r);
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(r.log.text(),
              "Ms=001 Error: Invalid mbM Value 40, MesuBegTime=000000, MesuRelaTime=00, mbM=40, "
              "code=99\n");
}

TEST(Generators, LateStylesComposeWithHeldNotes) {
    Song s = Typical(8);
    s.style = "Abcd31.sty";
    s.tracks = composertest::FullStyle(48);
    s.tracks[0].modes.assign(16, {{0, "10000604"}, {24, "10001006"}});  // lengths 4 and 6
    s.tracks[0].value11 = 0;
    s.tracks[4].modes.assign(
        16, {{0, "10003602"}, {12, "10003802"}, {24, "10003602"}, {36, "10003802"}});
    s.modes[0] = 0;
    s.drum[2] = s.inst[2] = 3;
    Result r;
    ComposeSong(s, r);
    ASSERT_FALSE(r.aborted) << r.log.text();
    EXPECT_FALSE(NoteOns(r.song, 0).empty());
    EXPECT_FALSE(NoteOns(r.song, 4, 36).empty());
    for (int i = 0; i < 9; ++i) EXPECT_EQ(r.raw.noteOnCounts[i], r.raw.noteOffCounts[i]) << i;
}

// The sounding spans (note-on tick, note-off tick or -1) of a key on a track, in order.
std::vector<std::pair<std::int64_t, std::int64_t>> Spans(const MidiSong& song, int track, int key) {
    std::vector<std::pair<std::int64_t, std::int64_t>> spans;
    for (const auto& e : song.tracks[track].events) {
        if (e.status >= 0xF0 || e.data.size() < 2 || e.data[0] != key) continue;
        const bool on = (e.status & 0xF0) == 0x90 && e.data[1] > 0;
        const bool off = (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && !on);
        if (on) spans.emplace_back(e.tick, -1);
        for (auto& span : spans) {
            if (off && span.second < 0) {
                span.second = e.tick;
                break;
            }
        }
    }
    return spans;
}

// One chord part on track 1 (channel 1) whose every mode but `silentModes` plays `cell` at the
// first step; before version 30 a release later in the mode balances it, as the loader wants.
std::vector<composertest::FixtureTrack> ChordPart(const std::string& cell, int base, int value11,
                                                  bool balance, std::vector<int> silentModes = {}) {
    std::map<int, std::string> rows;
    if (!cell.empty()) rows = {{0, cell}};
    if (!cell.empty() && balance) rows[47] = "-60";
    composertest::FixtureTrack t = composertest::UniformTrack(1, 16, rows);
    for (int mode : silentModes) t.modes[mode].clear();
    t.partStyleValue = base;
    t.value11 = value11;
    return {t};
}

constexpr int kKeyRelative = 200;       // value 11: the key-relative flag
constexpr int kKeyRelativeTight = 250;  // and tight placement (the chord-change walk)

// A song of `measures` on C whose chord part comes in at once (Intro2 in the first measure),
// with a section switch to slot 2 in measure `switchAt`.
Song SectionSong(int measures, int switchAt) {
    Song s = Typical(measures);
    s.drum[0] = s.inst[0] = 3;
    s.chords.assign(measures, {"C....", "C...."});
    s.styleAt.assign(measures, 0);
    s.styleAt[switchAt] = 2;
    return s;
}

// At a section start the key-relative chord part of a style before version 30 keeps its held
// notes where the next part ages them (only late styles hand the held list over, and a section
// starting in the first measure hands nothing over), and hands them to the deferred note-offs
// where the next part never would.
TEST(Generators, SectionStartHandsTheHeldListOverOnlyWhereNothingWouldEndIt) {
    struct Case {
        const char* what;
        int switchAt;
        int measures;
        bool thirdOnG;  // the third measure on G, else everything on C
        int nextMode;   // track 1's play mode in slot 2
        std::vector<composertest::FixtureTrack> next;
        std::string nextStyle;
        std::vector<std::pair<std::int64_t, std::int64_t>> spans;  // of C (60) on track 1
    };
    const auto plain = ChordPart("", 0, 0, true);
    const Case cases[] = {
        // Slot 2 holds its C for 24 steps: the held C of measure 2 ends by its own length at
        // the next measure's first step, where slot 2 strikes C again (handed over, it sounded
        // on as a chord tone to 3808, taking the new C's note-on and its length).
        {"to another key-relative part",
         1,
         4,
         false,
         0,
         ChordPart("9006024", 0, kKeyRelative, true),
         "Keyb25.sty",
         {{0, 768}, {1536, 3072}, {3072, 3808}, {4608, 6272}}},
        // The plain part ages the held list too; after the last switch nothing ages it any
        // more, and the plain ending ends what is left.
        {"to a plain chord part just before the ending",
         1,
         3,
         false,
         0,
         plain,
         "Plan12.sty",
         {{0, 768}, {1536, 3072}}},
        // A pattern part never ages the held list: handed over, the C ends with the deferred
        // note-offs (at the ending here, as it stays a chord tone).
        {"to a pattern part", 1, 4, false, 2, plain, "Patt12.sty", {{0, 768}, {1536, 4608}}},
        // In the first measure the plain part's second half ages the C away at its length
        // (handed over, it sounded on as a chord tone up to the G of measure 3).
        {"to a plain chord part in the first measure",
         0,
         4,
         true,
         0,
         plain,
         "Plan12.sty",
         {{0, 768}}},
        // The pattern part's deferred note-offs end it at the G.
        {"to a pattern part in the first measure", 0, 4, true, 2, plain, "Patt12.sty", {{0, 3072}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Song s = SectionSong(c.measures, c.switchAt);
        if (c.thirdOnG) s.chords[2] = {"G....", "G...."};
        s.style = "Keya25.sty";
        s.tracks = ChordPart("9006025", 0, kKeyRelative, true);
        s.slotStyles[2] = {c.nextStyle, c.next};
        s.slotModes[2] = {c.nextMode, 2, 3, 1, 1};
        Result r;
        ComposeSong(s, r);
        ASSERT_FALSE(r.aborted) << r.log.text();
        EXPECT_EQ(Spans(r.song, 0, 60), c.spans);
    }
}

// The one-note bass of a late style (base -36) with tight placement re-sounds its held C when
// the chord changes to F; the one-note rule ends the held notes and empties the list, so the
// new C is only the pending note, which the next note-on ends (on the old entry's length it
// ended at 2784). Where no note-on of the rule would come, it still ends.
TEST(Generators, OneNoteWalkLeavesTheNewNoteToTheNextNoteOn) {
    using Chords = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* what;
        Chords chords;
        bool pauseAndSwitch;  // the third measure pauses, then switches to a base of -24
        std::vector<std::pair<std::int64_t, std::int64_t>> spans;  // of C (60) on track 1
    };
    const std::pair<std::string, std::string> c{"C....", "C...."}, cf{"C....", "F...."},
        g{"G....", "G...."};
    const Case cases[] = {
        {"the G brings the next note-on",
         {c, cf, g, c},
         false,
         {{0, 1248}, {1536, 2304}, {2304, 3072}}},
        {"a section without the one-note rule comes first: the deferred note-offs end it on G",
         {c, cf, c, g, c},
         true,
         {{0, 1248}, {1536, 2304}, {2304, 4608}}},
        {"the song ends first, with no final note: it ends with the ending",
         {c, cf, c},
         false,
         {{0, 1248}, {1536, 2304}, {2304, 4736}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const int measures = static_cast<int>(k.chords.size());
        // The switch in the first measure brings in the one-note rule.
        Song s = SectionSong(measures, 0);
        s.chords = k.chords;
        s.style = "Bass30.sty";
        // Modes 1 (the ending) and 9 (Pause) play nothing.
        s.tracks = ChordPart("9006040", -36, kKeyRelativeTight, false, {1, 9});
        if (k.pauseAndSwitch) {
            s.drum[2] = s.inst[2] = 9;
            s.styleAt[2] = 3;
            s.slotStyles[3] = {"Bast30.sty",
                               ChordPart("9006040", -24, kKeyRelativeTight, false, {1, 9})};
        }
        Result r;
        ComposeSong(s, r);
        ASSERT_FALSE(r.aborted) << r.log.text();
        EXPECT_EQ(Spans(r.song, 0, 60), k.spans);
    }
}

}  // namespace
}  // namespace composer
