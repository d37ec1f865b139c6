// The part generators one half measure at a time: the alternative chord parts' walk over their
// held notes at a chord change, the echo parts' note choice, the endings, the drum ending and
// the late drum part's note lengths, the beginning-note pre-pass and the hand-over of held
// notes at a section change.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <vector>

#include "engine_fixture.h"
#include "formats/style_keys.h"
#include "style_fixture.h"
#include "workers/composer/composer.h"

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
    for (std::size_t i = from; i < c.pass.events.size(); ++i) {
        const MeasureEvent& e = c.pass.events[i];
        if ((e.status & 0xE0) == 0x80) out.push_back({e.step, e.status, e.data1});
    }
    return out;
}

// A key-relative chord part of a late style on track 2: every mode plays `note` at step 0
// for `length` steps.
void PrepareKeyRelativePart(Engine& e, int note, int length, int base, bool placement) {
    PreparePart(e.c, 0, {{0, note}});
    for (int mode = 0; mode < kModeCount; ++mode) {
        e.c.part.work->RowToFill(mode, 0)[0].extra = static_cast<std::int16_t>(length);
    }
    e.c.part.styleFlag1 = 1;
    e.c.part.partStyleValue = base;
    e.c.part.trackTensFlag[1] = placement ? 1 : 0;
    e.c.SetHalfMeasureBounds();
}

TEST(AlternativeChordPart, OneNoteWalkAtAChordChangeLeavesTheNewNoteToTheNextNoteOn) {
    // A one-note bass (base -36) with tight placement: re-sounding the held note on the new
    // chord ends every held note and empties the list, which ends the walk. The new note is
    // then only the pending note, which the next note-on ends (not the old entry's length).
    Engine e(SongSetup(4, 4, "Abcd30.sty"));
    PrepareKeyRelativePart(e, 62, 40, -36, true);
    e.c.play.oneNoteMode = 1;
    int ev = e.c.MakeAccompPartAlt(1, 0, 0, "C....", 0, 24, 0);
    ASSERT_EQ(NotesFrom(e.c), (std::vector<Note>{{0, 0x92, 60}}));
    const std::size_t before = e.c.pass.events.size();
    ev = e.c.MakeAccompPartAlt(1, 0, 0, "F....", 24, 48, ev);
    EXPECT_EQ(NotesFrom(e.c, before), (std::vector<Note>{{24, 0x82, 60}, {24, 0x92, 60}}));
    EXPECT_TRUE(e.c.held.s3A3.empty());
    EXPECT_EQ(e.c.play.pendingNote, 60);
    e.c.pass.curMeasure = 1;
    e.c.pass.events.clear();
    e.c.MakeAccompPartAlt(1, 0, 0, "G....", 0, 24, 0);
    EXPECT_EQ(NotesFrom(e.c), (std::vector<Note>{{0, 0x82, 60}, {0, 0x92, 50}}));
    EXPECT_EQ(e.c.pass.noteOnCount, e.c.pass.noteOffCount + 1);
}

TEST(AlternativeChordPart, ChordChangeWalkByPlacementFlag) {
    // C and E held from the first half; on F, C is a chord tone and E is not (and nothing says
    // it may sound on): with tight placement both move to their nearest F tones, without it
    // only E ends.
    struct Case {
        bool placement;
        std::vector<Note> secondHalf;
        std::vector<int> held;
    };
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
        for (int mode = 0; mode < kModeCount; ++mode)
            e.c.part.work->RowToFill(mode, 0)[1].extra = 40;
        int ev = e.c.MakeAccompPartAlt(1, 0, 0, "C....", 0, 24, 0);
        ASSERT_EQ(NotesFrom(e.c), (std::vector<Note>{{0, 0x92, 60}, {0, 0x92, 64}}));
        const std::size_t before = e.c.pass.events.size();
        e.c.MakeAccompPartAlt(1, 0, 0, "F....", 24, 36, ev);
        EXPECT_EQ(NotesFrom(e.c, before), c.secondHalf);
        std::vector<int> held;
        for (const HeldNote& h : e.c.held.s3A3) held.push_back(h.note);
        EXPECT_EQ(held, c.held);
    }
}

// Echo part 2 (track 7, channel 6) of a 4/4 song at twelve steps a quarter note.
void PrepareEchoPart2(Engine& e) {
    e.c.pass.trackNumber = 7;
    e.c.SetupEchoPart12(0);
    e.c.ResetPartFlags();
    e.c.SetHalfMeasureBounds();
}

std::vector<std::pair<int, int>> NoteOnsOf(const Composer& c, int channel) {
    std::vector<std::pair<int, int>> out;
    for (const MeasureEvent& e : c.pass.events) {
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
    e.c.echo.bngOnEv2 = {64};
    e.c.echo.echoNoteTab[0] = 64;
    e.c.pass.genPrevChord = "C....";
    const std::size_t before = e.c.pass.events.size();
    e.c.MakeEchoPart2(0, "F....", 0, 24, ev);
    EXPECT_EQ(NotesFrom(e.c, before), (std::vector<Note>{{3, 0x86, 64}}));
    EXPECT_TRUE(e.c.echo.bngOnEv2.empty());
    EXPECT_EQ(e.c.pass.genPrevChord, "F....");
    // The volume is reset where the part restarted; no note started, so the half still fades.
    std::vector<std::pair<int, int>> volumes;
    for (std::size_t i = before; i < e.c.pass.events.size(); ++i) {
        if (e.c.pass.events[i].status == 0xB6)
            volumes.emplace_back(e.c.pass.events[i].step, e.c.pass.events[i].data2);
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
    e.c.echo.echoNoteTab[1] = 64;
    e.c.echo.currentEchoNote = 72;
    e.c.pass.genPrevChord = "C....";
    e.c.MakeEchoPart2(0, "C....", 24, 48, 0);
    EXPECT_EQ(NoteOnsOf(e.c, 6), (std::vector<std::pair<int, int>>{{24, 69}, {36, 67}}));
}

TEST(EchoEnding, PartsThreeAndFourEndTheSongAlsoWithTheFirstEchoLevelAtZero) {
    for (const int part : {3, 4}) {
        SCOPED_TRACE(part);
        ComposeSetup s = SongSetup();
        s.options.echoLevel1 = 0;
        Engine e(s);
        e.c.pass.trackNumber = 5 + part;
        if (part == 3)
            e.c.SetupEchoPart3();
        else
            e.c.SetupEchoPart4();
        e.c.pass.curMeasure = 3;
        e.c.MakeEchoEnding(part, "C....", 0, 48, 0);
        const int channel = 4 + part;
        EXPECT_EQ(NotesFrom(e.c),
                  (std::vector<Note>{{0, 0x90 + channel, 72}, {52, 0x80 + channel, 72}}));
    }
}

struct Event {
    int step, status, note, velocity, offset;
    friend bool operator==(const Event&, const Event&) = default;
    friend void PrintTo(const Event& e, std::ostream* os) {
        *os << "(" << e.step << ", " << std::hex << e.status << std::dec << ", " << e.note << ", "
            << e.velocity << ", @" << e.offset << ")";
    }
};

std::vector<Event> NoteEvents(const Composer& c) {
    std::vector<Event> out;
    for (const MeasureEvent& e : c.pass.events) {
        if ((e.status & 0xE0) == 0x80)
            out.push_back({e.step, e.status, e.data1, e.data2, e.offset});
    }
    return out;
}

// The drum track (track 5, channel 10) with the given cells in every mode.
void PrepareDrums(Engine& e, const std::vector<std::pair<int, StyleCell>>& rowCells) {
    e.c.pass.trackNumber = 5;
    e.c.pass.channel = kDrumChannel;
    e.c.part.trackChannelMode[4] = 1;
    e.c.play.playFromStart = true;
    e.c.ResetPartFlags();
    for (int mode = 0; mode < kModeCount; ++mode) {
        int column = 0;
        for (const auto& [row, cell] : rowCells)
            e.c.part.work->RowToFill(mode, row)[column++] = cell;
    }
    e.c.SetHalfMeasureBounds();
}

TEST(DrumEnding, StrikesTheFirstRowTwiceAndHoldsIt) {
    // The first row's instruments at the start of the last measure, held to its end (the last
    // tick of its last step), struck again softer a measure length later and ended one more
    // measure length on. A late style ends its held hits first.
    struct Case {
        const char* style;
        int partVelocity;
        std::vector<Event> events;
    };
    const Case cases[] = {
        {"Abcd12.sty",
         120,
         {{0, 0x99, 36, 110, 0},
          {0, 0x99, 49, 110, 0},
          {47, 0x89, 36, 0, 31},
          {47, 0x89, 49, 0, 31},
          {48, 0x99, 36, 100, 0},
          {48, 0x99, 49, 100, 0},
          {96, 0x89, 36, 0, 0},
          {96, 0x89, 49, 0, 0}}},
        {"Abcd30.sty",
         15,
         {{0, 0x89, 42, 0, 0},
          {0, 0x99, 36, 5, 0},
          {0, 0x99, 49, 5, 0},
          {47, 0x89, 36, 0, 31},
          {47, 0x89, 49, 0, 31},
          {48, 0x99, 36, 1, 0},
          {48, 0x99, 49, 1, 0},
          {96, 0x89, 36, 0, 0},
          {96, 0x89, 49, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        Engine e(SongSetup(4, 4, c.style));
        PrepareDrums(e, {{0, {36, 0}}, {0, {49, 0}}, {6, {38, 0}}});
        e.c.loudness.partVelocity = c.partVelocity;
        int ev = 0;
        if (e.c.part.styleFlagLate) {
            e.c.SwOn(ev, 0, 0, 42, 90);
            e.c.AddDrumHeld(42, 0, 0, 0, 15);
        }
        const std::size_t before = e.c.pass.events.size();
        e.c.DrumEnding("C....", 0, 48, ev);
        std::vector<Event> ending = NoteEvents(e.c);
        ending.erase(ending.begin(), ending.begin() + static_cast<long>(before));
        EXPECT_EQ(ending, c.events);
    }
}

TEST(LateDrumPart, HitsEndByTheirLengthsAndAPauseAheadKeepsTheFirstStepOnly) {
    // Hits of lengths 3 and 1 at step 0 and one of length 0 at step 6, 5 ticks late.
    struct Case {
        int nextCode;
        std::vector<Event> hits;
    };
    const Case cases[] = {
        {0,
         {{0, 0x99, 36, 0, 0},
          {0, 0x99, 42, 0, 0},
          {1, 0x89, 42, 0, 0},
          {2, 0x89, 36, 0, 0},
          {6, 0x99, 38, 0, 5},
          {7, 0x89, 38, 0, 0}}},
        {9, {{0, 0x99, 36, 0, 0}, {0, 0x99, 42, 0, 0}, {1, 0x89, 42, 0, 0}, {2, 0x89, 36, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nextCode);
        ComposeSetup s = SongSetup(4, 4, "Abcd30.sty");
        s.chords.measures[1].drumCode = c.nextCode;
        Engine e(s);
        PrepareDrums(e, {{0, {36, 3}}, {0, {42, 1}}, {6, {5000038, 0}}});
        e.c.DrumPartAlt(0, "C....", 0, 24, 0);
        std::vector<Event> hits;
        for (Event ev : NoteEvents(e.c)) {
            if (ev.note == 56) continue;  // the marker
            ev.velocity = 0;
            hits.push_back(ev);
        }
        EXPECT_EQ(hits, c.hits);
    }
}

TEST(AlternativeChordPart, NoteChoiceOfBothVariants) {
    // The key-relative part takes the cell as a note in C and moves it to the nearest tone of
    // the chord; the other takes a chord-scale degree. From version 30 the register is fitted:
    // a one-note base keeps to 32..60, a plain part takes the half's melody note (G, 67) where
    // the note has its pitch class.
    struct Case {
        const char* style;
        int variant;
        int base;
        std::vector<int> cells;
        std::vector<int> notes;
    };
    const Case cases[] = {
        {"Abcd12.sty", 1, 0, {64, 62, 67}, {64, 60, 67}},
        {"Abcd30.sty", 1, -36, {64, 67, 60}, {52, 55, 60}},
        {"Abcd30.sty", 1, 0, {64, 67}, {64, 67}},
        // The root as KhNote2Val places it (72); the fifth below it an octave up is the
        // melody's G plus the octave.
        {"Abcd30.sty", 2, 0, {6, 13}, {72, 79}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.style << " variant " << c.variant << " base " << c.base);
        ComposeSetup s = SongSetup(4, 4, c.style);
        s.stats = {{67, 0, 0, 0, 90}};
        Engine e(s);
        std::vector<std::pair<int, std::int64_t>> cells;
        for (int cell : c.cells) cells.emplace_back(0, cell);
        PreparePart(e.c, 0, cells);
        e.c.part.styleFlag1 = c.variant == 1 ? 1 : 0;
        e.c.part.partStyleValue = c.base;
        e.c.SetHalfMeasureBounds();
        e.c.MakeAccompPartAlt(c.variant, 0, 0, "C....", 0, 24, 0);
        std::vector<int> notes;
        for (const Event& ev : NoteEvents(e.c)) {
            if (ev.status == 0x92) notes.push_back(ev.note);
        }
        EXPECT_EQ(notes, c.notes);
    }
}

TEST(AlternativeChordPart, APauseAheadKeepsTheFirstStepOnly) {
    for (const int nextCode : {0, 9}) {
        SCOPED_TRACE(nextCode);
        ComposeSetup s = SongSetup(4, 4, "Abcd30.sty");
        s.chords.measures[1].instCode = nextCode;
        Engine e(s);
        PreparePart(e.c, 0, {{24, 6}, {30, 10}});
        e.c.SetHalfMeasureBounds();
        e.c.MakeAccompPartAlt(2, 0, 0, "C....", 24, 48, 0);
        EXPECT_EQ(CountEvents(e.c, 0x92), nextCode == 9 ? 1 : 2);
    }
}

TEST(EchoPart1, FollowsTheMelodyOrTheChord) {
    // First halves: the melody's main note when there is one; else the chord's note for the
    // pattern's degree, near the last echo note; in the first measure the chord's root.
    struct Case {
        int measure;
        int mainNote;
        int previous;
        const char* chord;
        int note;
    };
    const Case cases[] = {
        {0, 0, 0, "C....", 72},  // the root as KhNote2Val places it (61..72)
        {1, 65, 0, "C....", 65}, {1, 0, 65, "F....", 65},
        {2, 0, 50, "G....", 55},  // 67 brought to at most 6 above 50
        {2, 0, 80, "G....", 79},  // ... and to at most 7 below 80
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "measure " << c.measure << " main " << c.mainNote
                                        << " after " << c.previous << " on " << c.chord);
        ComposeSetup s = SongSetup(4);
        s.stats.assign(4, {});
        s.stats[c.measure].mainNote1 = c.mainNote;
        Engine e(s);
        e.c.pass.trackNumber = 6;
        e.c.SetupEchoPart12(1);
        e.c.ResetPartFlags();
        e.c.SetHalfMeasureBounds();
        e.c.pass.curMeasure = c.measure;
        e.c.echo.prevEchoNote = c.previous;
        e.c.MakeEchoPart1(0, c.chord, 0, 24, 0);
        EXPECT_EQ(NoteOnsOf(e.c, 5), (std::vector<std::pair<int, int>>{{0, c.note}}));
        EXPECT_EQ(e.c.echo.echoNoteTab[c.measure], c.note);
    }
}

TEST(EchoPart1, SecondHalfMovesToTheNearestChordToneAtTheFirstOnset) {
    ComposeSetup s = SongSetup();
    s.beatPattern.fill(0);
    s.beatPattern[30] = 1;
    Engine e(s);
    e.c.pass.trackNumber = 6;
    e.c.SetupEchoPart12(1);
    e.c.ResetPartFlags();
    e.c.SetHalfMeasureBounds();
    // E, no tone of F: in the first measure the search goes down, to C
    e.c.echo.echoNoteTab[0] = 64;
    e.c.pass.prevChord = "F....";  // the chord did not change: the echo note's own move starts it
    int ev = 0;
    e.c.SwOn(ev, 0, 0, 64, 90);
    e.c.echo.echoPart1Note = 64;
    e.c.MakeEchoPart1(0, "F....", 24, 48, ev);
    const std::vector<Note> expected = {{0, 0x95, 64}, {30, 0x85, 64}, {30, 0x95, 60}};
    EXPECT_EQ(NotesFrom(e.c), expected);
    EXPECT_EQ(e.c.echo.echoNoteTab[0], 60);
}

TEST(EchoPart2, FirstHalfPlaysTheEchoNoteAndTheSecondSnapsToTheMelody) {
    Engine first;
    PrepareEchoPart2(first);
    first.c.echo.echoNoteTab[0] = 67;
    first.c.MakeEchoPart2(0, "C....", 0, 24, 0);
    EXPECT_EQ(NoteOnsOf(first.c, 6), (std::vector<std::pair<int, int>>{{0, 67}}));
    EXPECT_EQ(first.c.echo.currentEchoNote, 67);

    // From C5 to E4 the pattern's lowest degree walks to A (69); a melody note a semitone
    // above (A# 70) takes its place.
    ComposeSetup s = SongSetup();
    s.stats = {{0, 0, 70, 24, 90}, {}};
    Engine second(s);
    PrepareEchoPart2(second);
    second.c.echo.echoNoteTab[1] = 64;
    second.c.echo.currentEchoNote = 72;
    second.c.pass.genPrevChord = "C....";
    second.c.MakeEchoPart2(0, "C....", 24, 30, 0);
    EXPECT_EQ(NoteOnsOf(second.c, 6), (std::vector<std::pair<int, int>>{{24, 70}}));
}

TEST(DeferredNoteOffs, KeptWhileAChordToneAndNotTooOld) {
    // Handed over in measure 1 (C, E) and measure 0 (F); worked off in measure 3 on F. The chord
    // part keeps a note that is its own nearest F tone, the pattern part one a whole number of
    // octaves from it; both end notes deferred more than two measures ago.
    struct Case {
        int mode;
        std::vector<Note> offs;
        std::vector<int> kept;
    };
    const Case cases[] = {
        {0, {{0, 0x82, 64}, {0, 0x82, 65}}, {60}},
        {2, {{0, 0x82, 64}, {0, 0x82, 65}}, {60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Engine e(SongSetup(5));
        PreparePart(e.c, c.mode, {});
        e.c.SetHalfMeasureBounds();
        int ev = 0;
        for (const int note : {60, 64, 65}) e.c.SwOn(ev, 0, 0, note, 90);
        e.c.held.deferredOffs = {{60, 1}, {64, 1}, {65, 0}};
        e.c.pass.curMeasure = 3;
        e.c.pass.events.clear();
        if (c.mode == 0)
            e.c.MakeAccompPart(0, 0, "F....", 0, 24, 0);
        else
            e.c.MakeBngB1Part(0, "F....", 0, 24, 0);
        EXPECT_EQ(NotesFrom(e.c), c.offs);
        std::vector<int> kept;
        for (const DeferredOff& d : e.c.held.deferredOffs) {
            if (d.note > 0) kept.push_back(d.note);
        }
        EXPECT_EQ(kept, c.kept);
    }
}

TEST(BeginningNotePrePass, RecordsWhatIsHeldAtEachHalfsStart) {
    // C, then F, then F: at the song's start nothing is held; the half on F starts with the C
    // chord still sounding; the next starts with the common tone C and the new F chord.
    ComposeSetup s = SongSetup(3);
    s.chords.measures[0].chord2 = "F....";
    s.chords.measures[1].chord1 = s.chords.measures[1].chord2 = "F....";
    Engine e(s);
    for (int m = 0; m < 2; ++m) {
        e.c.pass.curMeasure = m;
        e.c.PrePassMeasure();
    }
    EXPECT_TRUE(e.c.pass.events.empty());
    auto held = [&](int half) {
        const auto& tab = e.c.prePass.mayOnAtBegTab[half];
        std::set<int> notes(tab.begin(), tab.begin() + std::min(e.c.prePass.mayOnFill[half], 12));
        return notes;
    };
    EXPECT_EQ(held(0), std::set<int>{});
    EXPECT_EQ(held(1), (std::set<int>{60, 64, 67}));
    EXPECT_EQ(held(2), (std::set<int>{60, 65, 69}));
    // The chord parts read it through IsNotMayOn: E may sound at the F half's start.
    EXPECT_EQ(e.c.IsNotMayOn(76, "F....", 1, 0), 0);
    EXPECT_EQ(e.c.IsNotMayOn(74, "F....", 1, 0), 1);
}

TEST(SectionHandOver, HeldNotesGoToTheDeferredNoteOffs) {
    // Held notes in each buffer when the next section starts in measure 2: the chord and
    // pattern buffers are handed over; the held list in late styles, and before version 30
    // only when the next section's part never ages it (a pattern part, not a chord part). In
    // the first measure nothing happens.
    struct Case {
        const char* style;
        int measure;
        int nextMode;
        std::vector<int> deferred;
    };
    const Case cases[] = {
        {"Abcd30.sty", 1, 0, {60, 64, 67, 71}},
        {"Abcd12.sty", 1, 2, {60, 64, 67, 71}},
        {"Abcd12.sty", 1, 0, {64, 67, 71}},
        {"Abcd12.sty", 0, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.style << " measure " << c.measure << " to mode " << c.nextMode);
        ComposeSetup s = SongSetup(4, 4, c.style);
        s.chords.sections = {{c.measure, 2}};
        Engine e(s);
        e.c.slots[2].channelMode[1] = c.nextMode;
        e.c.pass.trackNumber = 2;
        e.c.pass.channel = 2;
        e.c.pass.curMeasure = c.measure;
        e.c.held.s3A3 = {{60, 40, 3, 0, 90}};
        e.c.held.bngOnEvA0 = {{64, 0, 10, 0, 90}};
        e.c.pattern.bngOnEvB1 = {{67, 0, 0, 0, 0, 90}};
        e.c.pattern.bngOnEvB3 = {{0, 71, 0, 0, 0, 90}};
        e.c.pattern.sValCount = 1;
        int ev = 0;
        EXPECT_EQ(e.c.SectStyleEnd(24, ev), c.measure > 0 ? 1 : 0);
        std::vector<int> deferred;
        for (const DeferredOff& d : e.c.held.deferredOffs) deferred.push_back(d.note);
        EXPECT_EQ(deferred, c.deferred);
        const bool heldListKept = c.deferred.empty() || c.deferred.front() != 60;
        EXPECT_EQ(e.c.held.s3A3.size(), heldListKept ? 1u : 0u);
        EXPECT_EQ(e.c.pattern.bngOnEvB3.empty(), c.measure > 0);
        EXPECT_EQ(e.c.pattern.sValCount, c.measure > 0 ? 0 : 1);
        EXPECT_EQ(ev, 0);  // no note ends here
    }
}

TEST(SectionHandOver, FirstMeasureSwitchToAnotherBufferHandsTheNotesOver) {
    // Slot 1 plays part 2 as a sustaining pattern part; the switch in the first measure goes to
    // a slot where it is a chord part (or the same pattern part). The pattern part's notes of
    // the first half would otherwise sound forever.
    struct Case {
        int after;
        bool handedOver;
    };
    for (const Case c : {Case{0, true}, Case{3, false}}) {
        SCOPED_TRACE(c.after);
        ComposeSetup s = SongSetup(3);
        s.slotParams[0].channelMode = {0, 3, 0, 0, 1};
        s.slotParams[1].channelMode = {0, c.after, 0, 0, 1};
        s.chords.sections = {{0, 2}};
        Engine e(s);
        composertest::FixtureTrack first = composertest::UniformTrack(1, 16, {});
        composertest::FixtureTrack pattern =
            composertest::UniformTrack(2, 16, {{0, "6,10"}, {47, "-6,-10"}});
        StartTrackInSlotOne(
            e, 2, composertest::EncodeStyle({first, pattern}, 48, formats::StyleKeyForVersion(12)));
        e.c.ComposeMeasure();
        std::vector<int> deferred;
        for (const DeferredOff& d : e.c.held.deferredOffs) deferred.push_back(d.note);
        EXPECT_EQ(deferred.size(), c.handedOver ? 2u : 0u);
        const auto held =
            std::count_if(e.c.pattern.bngOnEvB3.begin(), e.c.pattern.bngOnEvB3.end(),
                          [](const PatternEntry& p) { return p.nVal > 0 || p.sVal > 0; });
        EXPECT_EQ(held, c.handedOver ? 0 : 2);
    }
}

TEST(NoteEventCore, ANoteEndsOnTheChannelItWasStartedOn) {
    Engine e;
    e.c.pass.channel = 2;
    int ev = 0;
    e.c.SwOn(ev, 0, 0, 60, 90);
    e.c.pass.channel = 3;  // a section change moved the track
    e.c.SwOff(ev, 4, 0, 60, 0);
    EXPECT_EQ(NotesFrom(e.c), (std::vector<Note>{{0, 0x92, 60}, {4, 0x82, 60}}));
}

}  // namespace
}  // namespace composer
