// The part generators one half measure at a time: the alternative chord parts' walk over their
// held notes at a chord change, the echo parts' note choice, the endings, the drum ending and
// the late drum part's note lengths, the beginning-note pre-pass and the hand-over of held
// notes at a section change.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "engine_fixture.h"
#include "style_fixture.h"
#include "workers/composer/composer.h"
#include "workers/composer/style_keys.h"

namespace composer {
namespace {

struct Note {
    int step, status, note;
    friend bool operator==(const Note&, const Note&) = default;
    friend void PrintTo(const Note& n, std::ostream* os) {
        *os << "(" << n.step << ", " << std::hex << n.status << std::dec << ", " << n.note << ")";
    }
};

// The note events from index `from` on, as (step, status, note).
std::vector<Note> NotesFrom(const Composer& c, std::size_t from = 0) {
    std::vector<Note> out;
    for (std::size_t i = from; i < c.events.size(); ++i) {
        const MeasureEvent& e = c.events[i];
        if ((e.status & 0xE0) == 0x80) out.push_back({e.step, e.status, e.data1});
    }
    return out;
}

// A key-relative chord part of a late style on track 2: every mode plays `note` at step 0
// for `length` steps.
void PrepareKeyRelativePart(Engine& e, int note, int length, int base, bool placement) {
    PreparePart(e.c, 0, {{0, note}});
    for (auto& mode : *e.c.work) mode[0][0].extra = static_cast<std::int16_t>(length);
    e.c.styleFlag1 = 1;
    e.c.partStyleValue = base;
    e.c.trackTensFlag[1] = placement ? 1 : 0;
    e.c.SetHalfMeasureBounds();
}

TEST(AlternativeChordPart, OneNoteWalkAtAChordChangeKeepsTheNewNoteHeld) {
    // A one-note bass (base -36) with tight placement: re-sounding the held note on the new
    // chord ends every other held note first, and the walk stops there.
    Engine e(SongSetup(4, 4, "Abcd30.sty"));
    PrepareKeyRelativePart(e, 62, 40, -36, true);
    e.c.oneNoteMode = 1;
    int ev = e.c.MakeAccompPartAlt(1, 0, 0, "C....", 0, 24, 0);
    ASSERT_EQ(NotesFrom(e.c), (std::vector<Note>{{0, 0x92, 60}}));
    const std::size_t before = e.c.events.size();
    ev = e.c.MakeAccompPartAlt(1, 0, 0, "F....", 24, 48, ev);
    const std::vector<Note> expected = {{24, 0x82, 60}, {24, 0x92, 60}, {39, 0x82, 60}};
    EXPECT_EQ(NotesFrom(e.c, before), expected);
    EXPECT_TRUE(e.c.s3A3.empty());
    EXPECT_EQ(e.c.noteOnCount, e.c.noteOffCount);
}

TEST(AlternativeChordPart, ChordChangeWalkByPlacementFlag) {
    // C and E held from the first half; on F, C is a chord tone and E is not (and nothing says
    // it may sound on): with tight placement both move to their nearest F tones, without it
    // only E ends.
    struct Case { bool placement; std::vector<Note> secondHalf; std::vector<int> held; };
    const Case cases[] = {
        // E's nearest F tone is the C that sounds already: no second note-on.
        {true, {{24, 0x82, 60}, {24, 0x92, 60}, {24, 0x82, 64}}, {60, 60}},
        {false, {{24, 0x82, 64}}, {60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.placement);
        Engine e(SongSetup(4, 4, "Abcd30.sty"));
        PrepareKeyRelativePart(e, 62, 40, 0, c.placement);
        PreparePart(e.c, 0, {{0, 64}});
        for (auto& mode : *e.c.work) mode[0][1].extra = 40;
        int ev = e.c.MakeAccompPartAlt(1, 0, 0, "C....", 0, 24, 0);
        ASSERT_EQ(NotesFrom(e.c), (std::vector<Note>{{0, 0x92, 60}, {0, 0x92, 64}}));
        const std::size_t before = e.c.events.size();
        e.c.MakeAccompPartAlt(1, 0, 0, "F....", 24, 36, ev);
        EXPECT_EQ(NotesFrom(e.c, before), c.secondHalf);
        std::vector<int> held;
        for (const HeldNote& h : e.c.s3A3) held.push_back(h.note);
        EXPECT_EQ(held, c.held);
    }
}

// Echo part 2 (track 7, channel 6) of a 4/4 song at twelve steps a quarter note.
void PrepareEchoPart2(Engine& e) {
    e.c.trackNumber = 7;
    e.c.SetupEchoPart12(0);
    e.c.ResetPartFlags();
    e.c.SetHalfMeasureBounds();
}

std::vector<std::pair<int, int>> NoteOnsOf(const Composer& c, int channel) {
    std::vector<std::pair<int, int>> out;
    for (const MeasureEvent& e : c.events) {
        if (e.status == 0x90 + channel) out.emplace_back(e.step, e.data1);
    }
    return out;
}

TEST(EchoPart2, ChordChangeRestartsAtTheFirstOnsetEvenWithoutANote) {
    ComposeSetup s = SongSetup();
    s.beatPattern.fill(0);
    s.beatPattern[3] = 1;  // the only melody onset of the half; step 3 has no echo cell
    Engine e(s);
    PrepareEchoPart2(e);
    int ev = 0;
    e.c.SwOn(ev, 0, 0, 64, 90);
    e.c.bngOnEv2 = {64};
    e.c.echoNoteTab[0] = 64;
    e.c.genPrevChord = "C....";
    const std::size_t before = e.c.events.size();
    e.c.MakeEchoPart2(0, "F....", 0, 24, ev);
    EXPECT_EQ(NotesFrom(e.c, before), (std::vector<Note>{{3, 0x86, 64}}));
    EXPECT_TRUE(e.c.bngOnEv2.empty());
    EXPECT_EQ(e.c.genPrevChord, "F....");
    // The volume is reset where the part restarted; no note started, so the half still fades.
    std::vector<std::pair<int, int>> volumes;
    for (std::size_t i = before; i < e.c.events.size(); ++i) {
        if (e.c.events[i].status == 0xB6) volumes.emplace_back(e.c.events[i].step, e.c.events[i].data2);
    }
    EXPECT_EQ(volumes, (std::vector<std::pair<int, int>>{{3, 125}, {0, 120}}));
}

TEST(EchoPart2, SecondHalfWalksTowardsTheNextEchoNote) {
    // From C5 (72) towards E4 (64), the pattern's degrees 2, 4, 6, 8 at steps 24, 30, 36, 42:
    // v = 72 - 8 x d / 13 truncated as a whole (70, 69, 67, 67), moved onto the song's scale
    // (A 69 wins the tie between A and B), kept at the current note within a semitone for the
    // low degrees; a note already sounding does not start again.
    Engine e(SongSetup());
    PrepareEchoPart2(e);
    e.c.echoNoteTab[1] = 64;
    e.c.currentEchoNote = 72;
    e.c.genPrevChord = "C....";
    e.c.MakeEchoPart2(0, "C....", 24, 48, 0);
    EXPECT_EQ(NoteOnsOf(e.c, 6), (std::vector<std::pair<int, int>>{{24, 69}, {36, 67}}));
}

TEST(EchoEnding, PartsThreeAndFourEndTheSongAlsoWithTheFirstEchoLevelAtZero) {
    for (const int part : {3, 4}) {
        SCOPED_TRACE(part);
        ComposeSetup s = SongSetup();
        s.options.echoLevel1 = 0;
        Engine e(s);
        e.c.trackNumber = 5 + part;
        if (part == 3) e.c.SetupEchoPart3();
        else e.c.SetupEchoPart4();
        e.c.curMeasure = 3;
        e.c.MakeEchoEnding(part, "C....", 0, 48, 0);
        const int channel = 4 + part;
        EXPECT_EQ(NotesFrom(e.c), (std::vector<Note>{{0, 0x90 + channel, 72}, {52, 0x80 + channel, 72}}));
    }
}

TEST(SectionHandOver, EveryHeldNoteGoesToTheDeferredNoteOffs) {
    // Held notes in each buffer when the next section starts in measure 2: all are handed over
    // (the key-relative part's held list also in a style before version 30); in the first
    // measure nothing happens.
    struct Case { const char* style; int measure; bool handedOver; };
    for (const Case c : {Case{"Abcd12.sty", 1, true}, Case{"Abcd30.sty", 1, true}, Case{"Abcd12.sty", 0, false}}) {
        SCOPED_TRACE(testing::Message() << c.style << " measure " << c.measure);
        ComposeSetup s = SongSetup(4, 4, c.style);
        s.chords.sections = {{c.measure, 2}};
        Engine e(s);
        e.c.trackNumber = 2;
        e.c.channel = 2;
        e.c.curMeasure = c.measure;
        e.c.s3A3 = {{60, 40, 3, 0, 90}};
        e.c.bngOnEvA0[0] = {64, 0, 10, 0, 90};
        e.c.a0Count = 1;
        e.c.bngOnEvB1 = {{67, 0, 0, 0, 0, 90}};
        e.c.bngOnEvB3 = {{0, 71, 0, 0, 0, 90}};
        e.c.sValCount = 1;
        int ev = 0;
        EXPECT_EQ(e.c.SectStyleEnd(24, ev), c.handedOver ? 1 : 0);
        std::vector<int> deferred;
        for (const DeferredOff& d : e.c.deferredOffs) deferred.push_back(d.note);
        EXPECT_EQ(deferred, c.handedOver ? (std::vector<int>{60, 64, 67, 71}) : std::vector<int>{});
        EXPECT_EQ(e.c.s3A3.empty(), c.handedOver);
        EXPECT_EQ(e.c.bngOnEvB3.empty(), c.handedOver);
        EXPECT_EQ(e.c.sValCount, c.handedOver ? 0 : 1);
        EXPECT_EQ(ev, 0);  // no note ends here
    }
}

TEST(SectionHandOver, FirstMeasureSwitchToAnotherBufferHandsTheNotesOver) {
    // Slot 1 plays part 2 as a sustaining pattern part; the switch in the first measure goes to
    // a slot where it is a chord part (or the same pattern part). The pattern part's notes of
    // the first half would otherwise sound forever.
    struct Case { int after; bool handedOver; };
    for (const Case c : {Case{0, true}, Case{3, false}}) {
        SCOPED_TRACE(c.after);
        ComposeSetup s = SongSetup(3);
        s.slotParams[0].channelMode = {0, 3, 0, 0, 1};
        s.slotParams[1].channelMode = {0, c.after, 0, 0, 1};
        s.chords.sections = {{0, 2}};
        Engine e(s);
        composertest::FixtureTrack first = composertest::UniformTrack(1, 16, {});
        composertest::FixtureTrack pattern = composertest::UniformTrack(2, 16, {{0, "6,10"}, {47, "-6,-10"}});
        const auto bytes = composertest::EncodeStyle({first, pattern}, 48, StyleKeyForVersion(12));
        e.c.LoadStyle(1, bytes);
        e.c.LoadStyle(2, bytes);
        e.c.trackNumber = 2;
        e.c.SwStyData(1, 1);
        e.c.channel = e.c.trackChannel[1];
        e.c.SelectStyleSlot(1);
        e.c.ComposeMeasure();
        std::vector<int> deferred;
        for (const DeferredOff& d : e.c.deferredOffs) deferred.push_back(d.note);
        EXPECT_EQ(deferred.size(), c.handedOver ? 2u : 0u);
        const auto held = std::count_if(e.c.bngOnEvB3.begin(), e.c.bngOnEvB3.end(),
                                        [](const PatternEntry& p) { return p.nVal > 0 || p.sVal > 0; });
        EXPECT_EQ(held, c.handedOver ? 0 : 2);
    }
}

TEST(NoteEventCore, ANoteEndsOnTheChannelItWasStartedOn) {
    Engine e;
    e.c.channel = 2;
    int ev = 0;
    e.c.SwOn(ev, 0, 0, 60, 90);
    e.c.channel = 3;  // a section change moved the track
    e.c.SwOff(ev, 4, 0, 60, 0);
    EXPECT_EQ(NotesFrom(e.c), (std::vector<Note>{{0, 0x92, 60}, {4, 0x82, 60}}));
}

}  // namespace
}  // namespace composer
