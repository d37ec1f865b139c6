// The composing engine's rules on a song held in memory: slots and velocity scaling, chord and
// note rules, the note event core, the half-measure bounds, the echo set-up, the generators'
// entry and stop rules, the endings and the track writer's checks.
#include "workers/composer/composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "engine_fixture.h"
#include "formats/style_keys.h"
#include "style_fixture.h"
#include "workers/composer/part_math.h"
#include "workers/composer/track_coding.h"

namespace composer {
namespace {

TEST(ScaleVelocity, PercentageWithFloorAndCeiling) {
    ComposeSetup s = SongSetup();
    s.slotParams[0].sectVol = 50;
    s.slotParams[1].sectVol = 0;
    s.slotParams[2].sectVol = 200;
    Engine e(s);
    EXPECT_EQ(e.c.ScaleVelocity(100, 0), 50);
    EXPECT_EQ(e.c.ScaleVelocity(100, 1), 1);
    EXPECT_EQ(e.c.ScaleVelocity(120, 2), 127);
    EXPECT_EQ(e.c.ScaleVelocity(0, 2), 0);
}

TEST(CellVelocity, ScalesExactlyWithNinetyNeutral) {
    for (int velocity = 1; velocity <= 127; ++velocity) {
        EXPECT_EQ(ScaleByCellVelocity(velocity, 90), velocity) << velocity;
    }
    struct Case {
        int velocity, cellVel, expected;
    };
    const Case cases[] = {{100, 0, 100},   {100, 45, 50}, {89, 91, 89}, {120, 60, 80},
                          {127, 127, 127}, {10, 1, 1},    {104, 30, 34}};
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleByCellVelocity(c.velocity, c.cellVel), c.expected)
            << c.velocity << " x " << c.cellVel;
    }
}

TEST(ChordRules, ChordNotesAndRoots) {
    Engine e;
    std::array<int, 4> notes{};
    e.c.KhHa2Notes("C.m7.", notes);
    EXPECT_EQ(notes, (std::array<int, 4>{67, 63, 60, 70}));
    e.c.KhHa2Notes("Bb...", notes);
    EXPECT_EQ(notes, (std::array<int, 4>{65, 62, 70, -1}));
    e.c.KhHa2Notes("C.M..", notes);
    EXPECT_EQ(notes, (std::array<int, 4>{67, 64, 60, 66}));
    e.c.KhHa2Notes("D..7o", notes);
    EXPECT_EQ(notes, (std::array<int, 4>{68, 65, 62, 60}));
    EXPECT_EQ(e.c.KhHa2ValGoc("Ab..."), 56);
    EXPECT_EQ(e.c.KhHa2ValGoc("G...."), 67);
    EXPECT_EQ(e.c.KhHa2ValGoc("C#..."), 61);
}

TEST(ChordRules, BadChordTextsStopTheRun) {
    struct Case {
        const char* chord;
        const char* message;
    };
    for (const Case c : {Case{"H....", "\nKhHa2-Notes: Error finding 1.\n"},
                         Case{"Cx...", "\nKhHa2-Notes: Error finding 2.\n"},
                         Case{"C.x..", "\nKhHa2-Notes: Error finding 3.\n"},
                         Case{"C..x.", "\nKhHa2-Notes: Error finding 4.\n"}}) {
        SCOPED_TRACE(c.chord);
        Engine e;
        std::array<int, 4> notes{};
        EXPECT_TRUE(e.Aborts([&] { e.c.KhHa2Notes(c.chord, notes); }));
        EXPECT_EQ(e.log.text(), c.message);
    }
    Engine e;
    EXPECT_TRUE(e.Aborts([&] { e.c.KhHa2ValGoc("X...."); }));
    EXPECT_EQ(e.log.text(), "KhHa2ValGoc() Error: Invalid HaString <X....>");
}

TEST(ChordRules, KhNote2ValFollowsTheVoiceLeading) {
    Engine e;
    e.c.KhHa2ValGoc("C....");                   // memory 60, 60
    EXPECT_EQ(e.c.KhNote2Val(0, "E...."), 64);  // no leap yet
    EXPECT_EQ(e.c.KhNote2Val(0, "A...."), 57);  // rose 4 and would rise 5 again: an octave lower
    EXPECT_EQ(e.c.KhNote2Val(0, "Q...."), 0);
    EXPECT_EQ(e.log.text(),
              "KhNote2Val() Error: Ms=001,Beg=00,ChOnCode=90: invalid HaString <Q....>");
}

TEST(ChordRules, ChordCandidatesNameTheFifthInTheFifthSlot) {
    Engine e;
    ASSERT_GT(e.c.ChordCandidates(0, "C.m.."), 0);
    for (const std::string& name : e.c.ChordNames()) {
        EXPECT_EQ(name.size(), 5u);
        std::array<int, 4> notes{};
        EXPECT_FALSE(e.Aborts([&] { e.c.KhHa2Notes(name, notes); })) << name;
    }
    EXPECT_EQ(e.c.ChordNames()[0].substr(0, 3), "G.s");
}

TEST(ChordRules, GetInst31ModeWalksNormalSteps) {
    Engine e;
    e.c.part.styleFlagNew = 1;
    std::vector<int> modes;
    for (int i = 0; i < 5; ++i) modes.push_back(e.c.GetInst31Mode(5, 1, 0));
    EXPECT_EQ(modes, (std::vector<int>{5, 7, 9, 11, 5}));
    EXPECT_EQ(e.c.GetInst31Mode(3, 0, 0), 1);
    EXPECT_EQ(e.c.GetInst31Mode(1, 0, 0), 3);   // Variation after an Intro2
    EXPECT_EQ(e.c.GetInst31Mode(1, 12, 0), 3);  // ... until the second half clears it
    EXPECT_EQ(e.c.GetInst31Mode(1, 0, 0), 13);
    EXPECT_EQ(e.c.GetInst31Mode(9, 0, 0), kPauseMode);
    EXPECT_TRUE(e.Aborts([&] { e.c.GetInst31Mode(10, 0, 0); }));
    EXPECT_EQ(e.log.text(), "GetInst31Mode(): Invalid InpMode 10");
    e.c.part.styleFlagNew = 0;
    EXPECT_EQ(e.c.GetInst31Mode(7, 0, 0), 7);
}

TEST(ChordRules, PlaceOnValueRegisterRules) {
    Engine e;
    e.c.pass.trackNumber = 1;
    EXPECT_EQ(e.c.PlaceOnValue(0, 20, 1, 0, 0), 32);
    EXPECT_EQ(e.c.PlaceOnValue(0, 120, 1, 0, 0), 108);
    e.c.part.trackTensValue[0] = 3;  // at least the centre (the key note 60)
    EXPECT_EQ(e.c.PlaceOnValue(0, 40, 1, 0, 0), 64);
    e.c.part.trackTensValue[0] = 1;  // below the centre
    EXPECT_EQ(e.c.PlaceOnValue(0, 64, 1, 0, 0), 52);
    e.c.part.trackTensValue[0] = 0;
    e.c.play.oneNoteMode = 1;
    EXPECT_EQ(e.c.PlaceOnValue(0, 20, 1, 0, 0), 32);
    EXPECT_TRUE(e.Aborts([&] { e.c.PlaceOnValue(1, 0, 1, 0, 0); }));
    EXPECT_EQ(e.log.text(), "Ms=001, Ch=0, AsDrums=0, InstMode=1: Invalid On_Value <0>\n");

    ComposeSetup s = SongSetup();
    s.options.autoOctave = 1;
    Engine auto_(s);
    auto_.c.part.partProgram = 8;
    EXPECT_EQ(auto_.c.PlaceOnValue(0, 40, 1, 0, 0), 76);
}

TEST(ChordRules, ChordScaleNotesByVariant) {
    struct Case {
        const char* chord;
        int variant;
        std::array<int, 7> notes;
    };
    const Case cases[] = {
        {"C....", 0, {60, 62, 64, 65, 67, 69, 71}}, {"C....", 1, {60, 62, 64, 66, 67, 68, 71}},
        {"C....", 2, {60, 62, 64, 66, 67, 68, 70}}, {"A.m..", 0, {57, 59, 60, 62, 64, 65, 67}},
        {"A.m..", 1, {57, 59, 60, 62, 64, 66, 68}}, {"A.m..", 2, {57, 59, 60, 62, 64, 65, 67}},
        {"G..7.", 0, {67, 69, 71, 72, 74, 76, 78}},  // the root stays at or below 67
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chord << " variant " << c.variant);
        Engine e;
        std::array<int, 7> notes{};
        EXPECT_TRUE(e.c.ChordScaleNotes(c.chord, notes, c.variant));
        EXPECT_EQ(notes, c.notes);
    }
    Engine e;
    std::array<int, 7> untouched{1, 1, 1, 1, 1, 1, 1};
    EXPECT_FALSE(e.c.ChordScaleNotes("C....", untouched, 3));
    EXPECT_EQ(untouched, (std::array<int, 7>{1, 1, 1, 1, 1, 1, 1}));
}

TEST(ChordRules, ChordStepValueByDegreeAndChord) {
    // The song's scale is C major. A conditional result is taken only when the degree's own
    // scale note is off the song's scale.
    struct Case {
        const char* chord;
        int degree, expected, shift;
    };
    const Case cases[] = {
        {"C....", 6, 6, 0},
        {"C....", 1, 1, 0},
        {"C...+", 1, 2, 0},
        {"C...-", 1, 12, -12},
        {"C..6.", 2, 3, 0},  // scale note 56 is off the song's scale: the sixth is taken
        {"C...+", 2, 2, 0},
        {"C..6.", 3, 3, 0},
        {"C.M7.", 3, 5, 0},
        {"C..7.", 3, 4, 0},
        {"C...+", 3, 2, 0},
        {"C....", 3, 6, 0},
        {"C..7.", 4, 4, 0},
        {"C..6.", 4, 3, 0},
        {"C.M7.", 4, 5, 0},
        {"C....", 4, 6, 0},
        {"C....", 5, 5, 0},  // the root, a song note:
                             // the degree stays
        {"C.M7.", 5, 5, 0},
        {"C..9.", 5, 4, 0},
        {"C.M..", 7, 8, 0},
        {"C....", 7, 6, 0},
        {"C.M..", 8, 8, 0},
        {"C..9.", 8, 8, 0},
        {"C.m..", 8, 9, 0},
        {"C....", 8, 10, 0},
        {"C.s..", 8, 6, 0},
        {"C....", 9, 10, 0},
        {"C..9.", 9, 8, 0},
        {"C.m..", 9, 9, 0},
        {"C.s..", 9, 9, 0},
        {"C.M..", 9, 10, 0},
        {"C....", 10, 10, 0},
        {"C.m..", 10, 9, 0},
        {"C.s..", 10, 11, 0},
        {"C....", 11, 10, 0},
        {"C.m..", 11, 11, 0},
        {"C.s..", 11, 11, 0},
        {"C...-", 12, 12, 0},
        {"C.s..", 12, 11, 0},
        {"C....", 12, 1, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chord << " degree " << c.degree);
        Engine e;
        e.c.BuildChordScale(60, c.chord);
        int shift = 99;
        EXPECT_EQ(e.c.ChordStepValue(0, c.chord, c.degree, shift), c.expected);
        EXPECT_EQ(shift, c.shift);
    }
    // In one-note mode a degree whose note may still sound at the half's start stays.
    Engine e;
    e.c.BuildChordScale(60, "C....");
    e.c.play.oneNoteMode = 1;
    int shift = 0;
    EXPECT_EQ(e.c.ChordStepValue(0, "C....", 3, shift), 6);
    e.c.prePass.mayOnAtBegTab[0][0] = 69;  // degree 3 is the sixth below, A
    e.c.prePass.mayOnFill[0] = 1;
    EXPECT_EQ(e.c.ChordStepValue(0, "C....", 3, shift), 3);
}

TEST(ChordRules, FitNoteRegisterRules) {
    ComposeSetup s = SongSetup();
    s.stats = {{62, 0, 67, 24, 90}, {0, 0, 0, 0, 0}};
    Engine e(s);
    e.c.pass.trackNumber = 1;
    struct Case {
        int tens, note, window, add, half, wanted, expected;
    };
    const Case cases[] = {
        {1, 80, 0, 0, 0, 0, 68},    // register rule 1: into 43..70
        {1, 30, -36, 0, 0, 1, 54},  // ... before anything else
        {0, 75, -36, 0, 0, 0, 51},  // one-note base: at most 60, at least 32
        {0, 20, -36, 0, 0, 0, 32},
        {0, 74, 0, 0, 0, 0, 62},   // the first half's main note, moved into 57..69
        {0, 50, 0, 12, 0, 0, 74},  // ... plus the octave the caller adds
        {0, 74, 12, 0, 0, 0, 74},  // the window follows the base note
        {0, 134, 0, 0, 0, 0, 62},  // a note above the MIDI range is searched too
        {0, -10, 0, 0, 0, 0, 62},  // and one below it
        {0, 127, 0, 0, 1, 1, 67},  // the second half's main note
        {0, 0, 0, 0, 0, 0, 0},     // another pitch class
        {0, 74, 0, 0, 1, 0, 0},    // not the wanted half
        {2, 74, 0, 0, 0, 0, 0},    // other register rules leave it to the placement
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "note " << c.note << " window " << c.window << " tens " << c.tens);
        e.c.part.trackTensValue[0] = c.tens;
        EXPECT_EQ(e.c.FitNoteRegister(c.note, c.window, c.add, c.half, c.wanted), c.expected);
    }
    e.c.part.trackTensValue[0] = 0;
    e.c.pass.curMeasure = 1;  // no main note
    EXPECT_EQ(e.c.FitNoteRegister(74, 0, 0, 0, 0), 0);
}

TEST(ChordRules, PlaceOnValueAroundTheCentreAndNearTheReference) {
    // Centre: the song's key note, 60.
    struct Case {
        int rule, tight, note, reference, expected;
    };
    const Case cases[] = {
        {2, 1, 50, 0, 62},                        // tight: into 55..67
        {2, 1, 75, 0, 63},    {2, 0, 40, 0, 52},  // else into 48..72
        {2, 0, 80, 0, 68},    {2, 0, 70, 0, 70},
        {4, 0, 90, 0, 66},    // by octaves to at most the reference plus six octaves (72)
        {4, 0, 50, 0, 50},    // never raised
        {4, 0, 90, 12, 78},   // target 84
        {4, 0, 100, 24, 76},  // 96 is folded into 36..84: 84
        {4, 0, 70, -12, 70},  // a negative reference is none: only the range 28..108
        {4, 0, 100, -1, 100}, {4, 0, 20, -1, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rule " << c.rule << (c.tight ? " tight" : "")
                                        << " note " << c.note << " reference " << c.reference);
        Engine e;
        e.c.pass.trackNumber = 1;
        e.c.part.trackTensValue[0] = c.rule;
        e.c.part.trackTensFlag[0] = c.tight;
        EXPECT_EQ(e.c.PlaceOnValue(0, c.note, 1, 0, c.reference), c.expected);
    }
}

TEST(NoteEventCore, SwOnAndSwOff) {
    Engine e;
    e.c.pass.channel = 2;
    int ev = 0;
    e.c.SwOn(ev, 0, 0, 60, 100);
    e.c.SwOn(ev, 1, 0, 60, 100);  // the same note again: nothing
    e.c.SwOff(ev, 2, 0, 62, 0);   // not sounding: nothing
    EXPECT_EQ(ev, 1);
    e.c.SwOff(ev, 3, 0, 60, 0);
    EXPECT_EQ(ev, 2);
    EXPECT_EQ(e.c.pass.events[1].status, 0x82);
    e.c.SwOff(ev, 3, 0, 0, 0);  // invalid: message only, the run goes on
    EXPECT_EQ(e.log.text(),
              "Sw-Off() Error: invalid value(s) Ev=0, OffVelo=0, ChOffCode=82, MesuIdx=1\n");
    EXPECT_TRUE(e.Aborts([&] { e.c.SwOn(ev, 0, 0, 60, 0); }));
}

TEST(NoteEventCore, PedalReleasesAfterChannelDependentCount) {
    for (const auto& [channel, pedalled] : {std::pair{0, 9}, std::pair{3, 15}}) {
        SCOPED_TRACE(channel);
        Engine e;
        e.c.pass.channel = channel;
        e.c.part.partIsDrumOrMode0 = 1;
        e.c.part.pUseSust = 1;
        int ev = 0;
        for (int i = 0; i < pedalled - 1; ++i) e.c.SwOn(ev, i, 0, 40 + i, 90);
        e.c.SwOff(ev, 20, 0, 40, 0);
        EXPECT_EQ(CountEvents(e.c, 0xB0 + channel, 64, 0), 0);
        e.c.SwOn(ev, 21, 0, 40 + pedalled, 90);
        e.c.SwOff(ev, 22, 0, 41, 0);
        EXPECT_EQ(CountEvents(e.c, 0xB0 + channel, 64, 0), 1);
        EXPECT_EQ(e.c.pass.events.back().step, 22);
        EXPECT_EQ(CountEvents(e.c, 0xB0 + channel, 64, 127), 1);
    }
}

TEST(NoteEventCore, MeasureBufferHoldsTwoHundredThirtyNineRecords) {
    Engine e;
    int ev = 0;
    for (int i = 0; i < 239; ++i) e.c.AddMeasureEvent(ev, 0, 0, 0xB0, 7, 100);
    EXPECT_EQ(ev, 239);
    EXPECT_TRUE(e.Aborts([&] { e.c.AddMeasureEvent(ev, 0, 0, 0xB0, 7, 100); }));
    EXPECT_EQ(e.log.text(), "Error: Out of event/measure buffer.");
}

TEST(NoteEventCore, OneNoteModeEndsThePendingNoteFirst) {
    Engine e;
    e.c.play.oneNoteMode = 1;
    int ev = 0;
    e.c.SwOn(ev, 0, 0, 60, 100);
    e.c.SwOn(ev, 4, 0, 62, 100);
    ASSERT_EQ(ev, 3);
    EXPECT_EQ(e.c.pass.events[1].status, 0x80);
    EXPECT_EQ(e.c.pass.events[1].data1, 60);
    EXPECT_EQ(e.c.pass.events[1].step, 4);
    EXPECT_EQ(e.c.pass.events[2].data1, 62);
}

TEST(NoteEventCore, HeldNoteOfLengthOneEndsAtTheFirstAging) {
    Engine e;
    e.c.part.work->RowToFill(0, 0)[0] = {36, 1};
    e.c.part.work->RowToFill(0, 0)[1] = {38, 3};
    e.c.pass.channel = 9;
    int ev = 0;
    e.c.SwOn(ev, 0, 0, 36, 100);
    e.c.AddDrumHeld(36, 0, 0, 0, 0);
    e.c.SwOn(ev, 0, 0, 38, 100);
    e.c.AddDrumHeld(38, 0, 0, 0, 1);
    e.c.AgeDrumHeld(1, ev);
    EXPECT_EQ(CountEvents(e.c, 0x89, 36), 1);
    EXPECT_EQ(CountEvents(e.c, 0x89, 38), 0);
    e.c.AgeDrumHeld(2, ev);
    EXPECT_EQ(CountEvents(e.c, 0x89, 38), 1);
    EXPECT_TRUE(e.c.held.s3Dr3.empty());
}

TEST(NoteEventCore, FoldingAroundTheKey) {
    Engine e;  // key chord C: root 60, folded around 72
    EXPECT_EQ(e.c.FitNearKey(60), 72);
    EXPECT_EQ(e.c.FitNearKey(79), 67);
    EXPECT_EQ(Composer::FoldNear(50, 60), 62);
}

TEST(SectionSwitch, BurstControllersAndSlotChecks) {
    Engine e;
    e.c.pass.channel = 2;
    e.c.pass.trackNumber = 3;
    e.c.part.trackChannelMode[2] = 2;
    e.c.part.partPan = 33;
    int ev = 0;
    e.c.FlushSectionEnd(ev, 24);
    ASSERT_EQ(ev, 10);
    EXPECT_EQ(e.c.pass.events[2].data2, 33);
    EXPECT_EQ(e.c.pass.events[8].data1, 67);
    EXPECT_EQ(e.c.pass.events[8].data2, 0);  // the head has 127 for mode 2
    EXPECT_EQ(e.c.pass.events[9].status, 0xC2);
    EXPECT_EQ(e.c.pass.events[9].data2, -1);
    EXPECT_TRUE(e.Aborts([&] { e.c.SwStyData(6, 0); }));
    EXPECT_EQ(e.log.text(), "Fatal error in call to SwStyData(): Invalid SectNo 6");
}

TEST(Dispatch, HalfMeasureBoundsByTimeSignature) {
    struct Case {
        int numerator;
        const char* style;
        int half, end;
    };
    const Case cases[] = {{2, "Abcd08.sty", 8, 16},  {3, "Abcd08.sty", 16, 24},
                          {6, "Abcd08.sty", 12, 24}, {4, "Abcd08.sty", 16, 32},
                          {2, "Abcd12.sty", 12, 24}, {3, "Abcd12.sty", 24, 36},
                          {6, "Abcd12.sty", 18, 36}, {4, "Abcd12.sty", 24, 48}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.numerator << " " << c.style);
        Engine e(SongSetup(2, c.numerator, c.style));
        e.c.SetHalfMeasureBounds();
        EXPECT_EQ(e.c.grid.halfEnd1, c.half);
        EXPECT_EQ(e.c.grid.halfStart2, c.half);
        EXPECT_EQ(e.c.grid.measureEnd, c.end);
        EXPECT_EQ(e.c.grid.lastStepOfHalf, c.half - 1);
    }
}

TEST(Dispatch, SecondHalfCandidateFollowsThePlayModeTheMeasureBeganIn) {
    // A section switch in the first measure keeps its second half; the switch changes the
    // track's play mode between the halves.
    struct Case {
        int before, after;
        const char* secondChord;
    };
    for (const Case c : {Case{2, 0, "E.m.+"}, Case{0, 2, "C..7."}, Case{2, 2, "E.m.+"}}) {
        SCOPED_TRACE(testing::Message() << c.before << " -> " << c.after);
        ComposeSetup s = SongSetup(3);
        s.slotParams[0].channelMode = {c.before, 0, 0, 0, 1};
        s.slotParams[1].channelMode = {c.after, 0, 0, 0, 1};
        s.chords.measures[0].chord1 = s.chords.measures[0].chord2 = "C..7.";
        s.chords.sections = {{0, 2}};
        Engine e(s);
        StartTrackInSlotOne(e, 1,
                            composertest::EncodeStyle(composertest::FullStyle(48), 48,
                                                      formats::StyleKeyForVersion(12)));
        e.c.play.playFromStart = true;
        EXPECT_FALSE(e.Aborts([&] { e.c.ComposeMeasure(); })) << e.log.text();
        EXPECT_EQ(e.c.part.trackChannelMode[0], c.after);
        EXPECT_EQ(e.c.pass.genPrevChord, c.secondChord);
    }
}

TEST(EchoSetup, CellsByLevelAndTimeSignature) {
    ComposeSetup s = SongSetup();
    s.options.echoLevel1 = 0;
    s.options.echoLevel2 = 0;
    Engine off(s);
    off.c.pass.trackNumber = 6;
    off.c.SetupEchoPart12(1);
    EXPECT_EQ(off.c.part.work->Row(3, 0)[0].whole, 6);
    EXPECT_EQ(off.c.part.work->Row(3, 22)[0].whole, -6);
    EXPECT_EQ(off.c.part.work->Row(3, 24)[0].whole, 0);
    off.c.pass.trackNumber = 7;
    off.c.SetupEchoPart12(0);
    for (int row = 0; row < kRowCount; ++row) EXPECT_EQ(off.c.part.work->Row(0, row)[0].whole, 0);

    Engine on;
    on.c.pass.trackNumber = 6;
    on.c.SetupEchoPart12(1);
    EXPECT_EQ(on.c.pass.channel, 5);
    EXPECT_EQ(on.c.part.partPan, 24);
    EXPECT_EQ(on.c.part.work->Row(15, 24)[0].whole, 2);   // S + 1 with S = 23
    EXPECT_EQ(on.c.part.work->Row(15, 43)[0].whole, -8);  // S + 20
}

TEST(Endings, FadeFallsByTwoOverThirtyThreeSteps) {
    Engine e;
    e.c.pass.trackNumber = 6;
    e.c.SetupEchoPart12(1);
    e.c.pass.curMeasure = 3;
    e.c.echo.prevEchoNote = 64;
    const int ev = e.c.MakeEchoEnding(1, "C....", 0, 32, 0);
    std::vector<int> volumes;
    for (int i = 0; i < ev; ++i) {
        if (e.c.pass.events[i].status == 0xB5 && e.c.pass.events[i].data1 == 7)
            volumes.push_back(e.c.pass.events[i].data2);
    }
    ASSERT_EQ(volumes.size(), 34u);
    EXPECT_EQ(volumes.front(), 125);
    EXPECT_EQ(volumes[1], 123);
    EXPECT_EQ(volumes.back(), 59);
    EXPECT_EQ(e.c.pass.events[ev - 1].status, 0x85);
    EXPECT_EQ(e.c.pass.events[ev - 1].step, 36);
}

std::vector<int> VolumeSteps(const Composer& c) {
    std::vector<int> out;
    for (const MeasureEvent& e : c.pass.events) {
        if (e.status == 0xB2 && e.data1 == 7) out.push_back(e.data2);
    }
    return out;
}

TEST(PatternPart, HalvesWithoutNewNotesFadeByFiveThenCut) {
    Engine e(SongSetup(40));
    PreparePart(e.c, 2, {{0, 6}});
    std::vector<int> volumes;
    int offs = 0;
    for (int m = 0; m < 20; ++m) {
        e.c.pass.curMeasure = m;
        e.c.pass.events.clear();
        e.c.SetHalfMeasureBounds();
        int ev = e.c.MakeBngB1Part(0, "C....", 0, 24, 0);
        e.c.MakeBngB1Part(0, "C....", 24, 48, ev);
        for (int v : VolumeSteps(e.c)) volumes.push_back(v);
        offs += CountEvents(e.c, 0x82);
    }
    ASSERT_GE(volumes.size(), 4u);
    EXPECT_EQ(volumes[0], 125);  // the first note restarts the part
    EXPECT_EQ(volumes[1], 120);
    EXPECT_EQ(volumes[2], 115);
    EXPECT_EQ(*std::min_element(volumes.begin(), volumes.end()), 30);
    EXPECT_EQ(offs, 1);  // below 31 the held note is switched off, once
}

TEST(PatternPart, SustainingPartKeepsCommonTonesAtAChordChange) {
    Engine e;
    PreparePart(e.c, 3, {{0, 6}, {0, 10}, {0, 13}, {24, 6}});
    e.c.SetHalfMeasureBounds();
    int ev = e.c.MakeBngB3Part(0, "C....", 0, 24, 0);
    ASSERT_EQ(CountEvents(e.c, 0x92), 3);
    std::vector<int> held;
    for (const MeasureEvent& m : e.c.pass.events) {
        if (m.status == 0x92) held.push_back(m.data1);
    }
    ASSERT_EQ(held, (std::vector<int>{72, 76, 79}));
    const std::size_t before = e.c.pass.events.size();
    ev = e.c.MakeBngB3Part(0, "F....", 24, 48, ev);
    std::vector<int> cut;
    for (std::size_t i = before; i < e.c.pass.events.size(); ++i) {
        if (e.c.pass.events[i].status == 0x82) cut.push_back(e.c.pass.events[i].data1);
    }
    // C is the fifth of F and sounds on as a sustained note while the new root starts; E and
    // G are cut at the change.
    EXPECT_EQ(std::count(cut.begin(), cut.end(), 72), 0);
    EXPECT_EQ(std::count(cut.begin(), cut.end(), 76), 1);
    EXPECT_EQ(std::count(cut.begin(), cut.end(), 79), 1);
    EXPECT_TRUE(std::any_of(e.c.pattern.bngOnEvB3.begin(), e.c.pattern.bngOnEvB3.end(),
                            [](const PatternEntry& p) { return p.sVal == 72; }));
}

TEST(AccompPart, ThreeNoteRowPlaysFourteenBelowBase) {
    Engine e;
    PreparePart(e.c, 0, {{0, 6}, {0, 10}, {0, 13}});
    e.c.SetHalfMeasureBounds();
    const int ev = e.c.MakeAccompPart(0, 0, "C....", 0, 24, 0);
    ASSERT_EQ(ev, 3);
    EXPECT_EQ(e.c.loudness.baseVel, 114);  // factor 0.95 after the first step down
    for (const MeasureEvent& m : e.c.pass.events) EXPECT_EQ(m.data2, 100);
    std::vector<int> notes;
    for (const MeasureEvent& m : e.c.pass.events) notes.push_back(m.data1);
    EXPECT_EQ(notes, (std::vector<int>{72, 76, 79}));  // roots sit in 61..72
}

TEST(AccompPart, SecondHalfKeepsNotesFirstHalfEndsThem) {
    Engine e;
    PreparePart(e.c, 0, {{0, 6}});
    e.c.SetHalfMeasureBounds();
    int ev = e.c.MakeAccompPart(0, 0, "C....", 0, 24, 0);
    ev = e.c.MakeAccompPart(0, 0, "C....", 24, 48, ev);
    EXPECT_EQ(CountEvents(e.c, 0x82), 0);  // same chord: the note sounds on
    e.c.pass.curMeasure = 1;
    e.c.pass.events.clear();
    ev = e.c.MakeAccompPart(0, 0, "C....", 0, 24, 0);
    EXPECT_EQ(CountEvents(e.c, 0x82, 72), 1);
    EXPECT_EQ(e.c.pass.events[0].status, 0x82);  // switched off before the row plays it again
    e.c.pass.events.clear();
    ev = e.c.MakeAccompPart(0, 0, "F....", 24, 48, 0);
    // A chord change in the second half re-sounds the held note on the new chord.
    EXPECT_EQ(CountEvents(e.c, 0x82, 72), 1);
    EXPECT_EQ(CountEvents(e.c, 0x92, 65), 1);
}

TEST(AccompPart, SixtyThreeSoundingNotesFitTheSixtyFourthStopsTheRun) {
    for (const int notes : {63, 64}) {
        SCOPED_TRACE(notes);
        Engine e;
        std::vector<std::pair<int, std::int64_t>> cells;
        for (int i = 0; i < notes; ++i) cells.emplace_back(i / 4, std::array{6, 10, 13, 18}[i % 4]);
        PreparePart(e.c, 0, cells);
        e.c.SetHalfMeasureBounds();
        const bool stopped = e.Aborts([&] { e.c.MakeAccompPart(0, 0, "C....", 0, 24, 0); });
        EXPECT_EQ(stopped, notes == 64);
        if (!stopped) {
            EXPECT_EQ(static_cast<int>(e.c.held.bngOnEvA0.size()), notes);
        }
        EXPECT_EQ(e.log.text(), notes == 64 ? "Error: Out of BngOnEvA0 buffer." : "");
    }
}

TEST(AccompPart, SilentUntilBreakIntroOrBreak2) {
    Engine e;
    PreparePart(e.c, 0, {{0, 6}});
    e.c.play.playFromStart = false;
    e.c.SetHalfMeasureBounds();
    for (int code : {0, 5, 1, 4, 6, 8, 9}) {
        e.c.pass.events.clear();
        EXPECT_EQ(e.c.MakeAccompPart(code, code, "C....", 0, 24, 0), 0) << code;
    }
    EXPECT_EQ(e.c.MakeAccompPart(3, 3, "C....", 0, 24, 0), 1);
}

TEST(SongPreparation, LastMeasurePlaysItsFirstChordAndGapsContinue) {
    ComposeSetup s = SongSetup(3);
    s.chords.measures[0].chord2 = ".....";
    s.chords.measures[1].chord1 = ".....";
    s.chords.measures[2].chord2 = "G....";
    Engine e(s);
    const auto& m = e.c.Measures();
    EXPECT_EQ(m[0].chord2, "C....");
    EXPECT_EQ(m[1].chord1, "C....");
    EXPECT_EQ(m[2].chord2, "C....");  // the key chord in both halves
    EXPECT_EQ(e.c.SongKeyRoot(), 60);
    EXPECT_EQ(e.c.SongKeyNote(), 60);
}

TEST(SectionSwitch, StyleFlagOneComposesInModeZero) {
    ComposeSetup s = SongSetup();
    s.slotParams[1].channelMode = {2, 2, 2, 2, 1};
    Engine e(s);
    composertest::FixtureTrack t = composertest::UniformTrack(1, 1, {{0, "6"}, {1, "-6"}});
    t.value11 = 200;
    e.c.LoadStyle(2, composertest::EncodeStyle({t}, 48, formats::StyleKeyForVersion(12)));
    e.c.pass.trackNumber = 1;
    e.c.SwStyData(2, 0);
    EXPECT_EQ(e.c.part.styleFlag1, 1);
    EXPECT_EQ(e.c.part.trackChannelMode[0], 0);
    EXPECT_EQ(e.c.part.partIsDrumOrMode0, 1);
}

// The hand-over before a section switch decides by the generator the track will have after the
// switch: the one the switch then gives it, whatever the next slot's channel, play mode,
// key-relative flag and style flags.
TEST(SectionSwitch, TheLookAheadIsTheGeneratorTheSwitchGives) {
    struct Slot {
        const char* style;
        std::array<int, 5> modes;
        int keyRelativeTrack;  // 1..5, or 0
    };
    const Slot slots[kSlotCount] = {{"Abcd12.sty", {0, 1, 2, 3, 0}, 0},
                                    {"Late30.sty", {1, 2, 3, 0, 1}, 2},
                                    {"Newx31.sty", {2, 3, 0, 1, 0}, 1},
                                    {"Keyb25.sty", {3, 0, 1, 2, 1}, 3},
                                    {"Last31.sty", {0, 0, 3, 2, 1}, 4}};
    ComposeSetup s = SongSetup();
    for (int i = 0; i < kSlotCount; ++i) {
        s.options.styleNames[i] = slots[i].style;
        s.slotSettings[i] = SlotSettingsFromName(slots[i].style);
        s.slotParams[i].channelMode = slots[i].modes;
        s.chords.sections.push_back({1, i + 1});
    }
    std::set<PartGenerator> seen;
    for (int track = 1; track <= kStyleTrackCount; ++track) {
        for (int next = 1; next <= kSlotCount; ++next) {
            SCOPED_TRACE(testing::Message() << "track " << track << " to slot " << next);
            Engine e(s);
            for (int i = 0; i < kSlotCount; ++i) {
                const int lines = 4 * s.slotSettings[i].stepsPerQuarter;
                auto tracks = composertest::FullStyle(lines);
                if (slots[i].keyRelativeTrack > 0)
                    tracks[slots[i].keyRelativeTrack - 1].value11 = 200;
                e.c.LoadStyle(i + 1,
                              composertest::EncodeStyle(
                                  tracks, lines,
                                  formats::StyleKeyForVersion(s.slotSettings[i].styleVersion)));
            }
            e.c.pass.trackNumber = track;
            e.c.SwStyData(1, track - 1);
            e.c.pass.channel = e.c.part.trackChannel[track - 1];
            e.c.SelectStyleSlot(1);
            e.c.ChoosePartGenerator();
            e.c.pass.sectionNext = next - 1;
            const PartGenerator ahead = e.c.GeneratorAfterSwitch();
            int ev = 0;
            e.c.SwitchStyles(ev);
            EXPECT_EQ(e.c.part.generator, ahead);
            seen.insert(ahead);
        }
    }
    // Drums early and late, the three chord parts and both pattern parts.
    EXPECT_EQ(seen.size(), 7u);
}

TEST(DrumPart, ReleaseCellEndsOneHitAndTheMeasureStartEndsTheRest) {
    Engine e;
    e.c.pass.trackNumber = 5;
    e.c.pass.channel = 9;
    e.c.part.trackChannelMode[4] = 1;
    e.c.play.playFromStart = true;
    e.c.ResetPartFlags();
    e.c.part.work->RowToFill(0, 0)[0].whole = 36;
    e.c.part.work->RowToFill(0, 2)[0].whole = 36;
    e.c.part.work->RowToFill(0, 4)[0].whole = -36;
    e.c.SetHalfMeasureBounds();
    int ev = e.c.DrumPart(0, "C....", 0, 24, 0);
    EXPECT_EQ(CountEvents(e.c, 0x99, 36), 2);
    EXPECT_EQ(CountEvents(e.c, 0x89, 36), 1);
    e.c.pass.curMeasure = 1;
    e.c.pass.events.clear();
    ev = e.c.DrumPart(0, "C....", 0, 24, 0);
    // The marker comes first, then the hit still sounding from the last measure ends at step 0.
    ASSERT_GE(ev, 3);
    EXPECT_EQ(e.c.pass.events[0].data1, 56);
    EXPECT_EQ(e.c.pass.events[2].status, 0x89);
    EXPECT_EQ(e.c.pass.events[2].data1, 36);
    EXPECT_EQ(e.c.pass.events[2].step, 0);
    EXPECT_EQ(CountEvents(e.c, 0x89, 36), 2);
}

TEST(TrackCoding, MelodicNoteStreamsAreMadeWellFormed) {
    using Events = std::vector<TimedEvent>;
    struct Case {
        const char* what;
        Events in, out;
    };
    const Case cases[] = {
        {"a second note-on ends the sounding note; the later note-off that would have ended it "
         "goes",
         {{0, 0x92, 60, 90}, {10, 0x92, 60, 80}, {20, 0x82, 60, 0}, {30, 0x82, 60, 0}},
         {{0, 0x92, 60, 90}, {10, 0x82, 60, 0}, {10, 0x92, 60, 80}, {20, 0x82, 60, 0}}},
        {"a note of no length is not written",
         {{0, 0xB2, 7, 100},
          {5, 0x92, 60, 90},
          {5, 0x82, 60, 0},
          {5, 0x92, 64, 90},
          {9, 0x82, 64, 0}},
         {{0, 0xB2, 7, 100}, {5, 0x92, 64, 90}, {9, 0x82, 64, 0}}},
        {"a note-on on the tick the key began replaces that note",
         {{0, 0x92, 60, 90}, {0, 0x92, 60, 70}, {5, 0x82, 60, 0}, {9, 0x82, 60, 0}},
         {{0, 0x92, 60, 70}, {5, 0x82, 60, 0}}},
        {"channels and keys are apart; the drums stay as they are",
         {{0, 0x91, 60, 90},
          {0, 0x92, 60, 90},
          {0, 0x99, 56, 5},
          {0, 0x89, 56, 0},
          {4, 0x81, 60, 0},
          {6, 0x82, 60, 0}},
         {{0, 0x91, 60, 90},
          {0, 0x92, 60, 90},
          {0, 0x99, 56, 5},
          {0, 0x89, 56, 0},
          {4, 0x81, 60, 0},
          {6, 0x82, 60, 0}}},
        {"a note-off with nothing to end is dropped",
         {{3, 0x85, 70, 0}, {4, 0xC5, 1, -1}},
         {{4, 0xC5, 1, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Events events = c.in;
        WellFormedNotes(events);
        ASSERT_EQ(events.size(), c.out.size());
        for (std::size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(std::tie(events[i].tick, events[i].status, events[i].data1, events[i].data2),
                      std::tie(c.out[i].tick, c.out[i].status, c.out[i].data1, c.out[i].data2))
                << i;
        }
    }
}

TEST(TrackCoding, VarLen) {
    struct Case {
        std::int64_t value;
        std::vector<std::uint8_t> bytes;
    };
    for (const Case& c : {Case{0, {0x00}}, Case{127, {0x7F}}, Case{128, {0x81, 0x00}},
                          Case{0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}}) {
        std::vector<std::uint8_t> out;
        ASSERT_TRUE(WriteVarLen(c.value, out));
        EXPECT_EQ(out, c.bytes);
    }
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(WriteVarLen(std::int64_t{1} << 28, out));
}

}  // namespace
}  // namespace composer
