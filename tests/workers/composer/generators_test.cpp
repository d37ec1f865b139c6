// The part generators seen through whole track passes of a song held in memory: when each part
// enters and stops, what the drum marker and the echo levels do, the pre-pass, the section
// switch between two halves and the track writer's offset check.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

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
        rec.drumCode = s.drum[m];
        rec.instCode = s.inst[m];
        setup.chords.measures.push_back(rec);
        if (!s.styleAt.empty() && s.styleAt[m] > 0)
            setup.chords.sections.push_back({m, s.styleAt[m]});
        setup.stats.push_back({m % 3 == 0 ? 64 : 0, 0, 0, 0, 90});
    }
    setup.chords.measures.back().chord1 = "C....";
    setup.songPitchClasses = {60, 0, 62, 0, 64, 65, 0, 67, 0, 69, 0, 71};
    setup.beatPattern.fill(1);
    setup.options.echoLevel1 = s.echo1;
    setup.options.echoLevel2 = s.echo2;
    setup.options.holdMode = 1;
    setup.options.headRelease = 75;
    for (int i = 0; i < kSlotCount; ++i) {
        setup.options.styleNames[i] = s.style;
        setup.slotSettings[i] = SlotSettingsFromName(s.style);
        setup.slotParams[i].sectVol = s.sectVol[i];
        setup.slotParams[i].partVol.fill(s.partVol);
        setup.slotParams[i].channelMode = s.modes;
    }
    const int lines = 4 * setup.slotSettings[0].stepsPerQuarter;
    const auto bytes = composertest::EncodeStyle(
        s.tracks.empty() ? composertest::FullStyle(lines) : s.tracks, lines,
        formats::StyleKeyForVersion(setup.slotSettings[0].styleVersion));
    try {
        Composer c(std::move(setup), r.log);
        c.PrepareSong();
        for (int slot = 1; slot <= kSlotCount; ++slot) c.LoadStyle(slot, bytes);
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

}  // namespace
}  // namespace composer
