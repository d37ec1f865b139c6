#include "workers/chordmaker/chord_engine.h"

#include <gtest/gtest.h>

#include "tests/workers/chordmaker/song_fixture.h"
#include "workers/chordmaker/chord_sheet.h"

namespace chordmaker {
namespace {

using testing::LoadSong;
using testing::MakeSongFiles;
using testing::MeasureSpec;

constexpr KeyCode kCMajor = 0;
constexpr KeyCode kAMinor = 1;

std::vector<int> ListOf(const CandidateList& list) {
    std::vector<int> codes;
    for (const int code : list) {
        if (code == 0) break;
        codes.push_back(code);
    }
    return codes;
}

TEST(KeyTableTest, KeyRecAgreesWithTheKeyValuesAndTheChordTables) {
    for (KeyCode key = 0; key < kKeyCount; ++key) {
        SCOPED_TRACE(key);
        const formats::KeyRec& rec = formats::KeyRecTable[key];
        const int value = formats::KeyValueTable[key];
        EXPECT_EQ(value % 100 - 60, rec.tonicPitchClass);
        EXPECT_EQ(value >= 100, key % 2 == 0);
        EXPECT_EQ(rec.tonicPitchCode, formats::PitchCodeOfClass(rec.tonicPitchClass));
        EXPECT_EQ(RootPitchClass(KeyChord7(key, kTonic)), rec.tonicPitchClass);
        EXPECT_EQ(NoteChordRow(rec.sharps != 0, IsMinorKey(key), rec.accidentals)[0],
                  KeyChord7(key, kTonic));
    }
}

TEST(CandidateListTest, MainNotesInCMajor) {
    struct Case {
        const char* note;
        std::vector<int> codes;
    } cases[] = {
        {"G", {1, 5}},       // I and V7 hold it; V closes the list
        {"E", {1, 11, 15}},  // I, then A minor's tonic and its E7; E major closes the list
        {"F", {4, 14}},      // F is only V7's seventh, which does not count
        {"C", {1, 4, 11}},
        {"B", {5}},
        {"C#", {41}},  // no triad: the colour chord Db
        {"D#", {25}},  // D7+ moves its root to D#
        {"Bb", {35}},  // Bm- moves its root to Bb
        {"", {1, 4, 5, 11, 14, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        const SongInput song =
            LoadSong(MakeSongFiles("0,+,C,2,100,4/4", {{c.note, ""}, {"C", ""}}));
        KeyRunState state(song, kCMajor, {});
        ListCandidates(state, 0);
        EXPECT_EQ(ListOf(state.candidates[0]), c.codes);
    }
}

TEST(CandidateListTest, CodedMeasuresKeepTheirPresetList) {
    const SongInput song = LoadSong(MakeSongFiles("0,+,C,2,100,4/4", {{"G", "F"}, {"C", ""}}));
    KeyRunState state(song, kCMajor, {});
    state.code[0] = 3;
    state.candidates[1] = {4, 0};
    ListCandidates(state, 1);
    EXPECT_EQ(ListOf(state.candidates[1]), std::vector<int>{4});
}

TEST(ScoreChordStepTest, ProgressionBonusesByMode) {
    // Two halves per measure with different main notes, so Ok2Next's change bonus applies too.
    const SongInput song = LoadSong(MakeSongFiles("0,+,C,2,100,4/4", {{"C", "F"}, {"G", "C"}}));
    for (const int mode : {1, 2, 3, 4}) {
        SCOPED_TRACE(mode);
        KeyRunState state(song, kCMajor, {.acMode = mode});
        const bool bonus = mode == 2 || mode == 3;
        // I to IV inside the measure, IV to V across the bar line.
        EXPECT_EQ(ScoreChordStep(state, 1, 4, 0) - Ok2Next(state, 1, 4, 0), bonus ? 200 : 0);
        EXPECT_EQ(ScoreChordStep(state, 4, 5, 1) - Ok2Next(state, 4, 5, 1), bonus ? 300 : 0);
        // IV to E across the bar line loses the bar bonus; relative I to IV gets 100 more.
        EXPECT_EQ(ScoreChordStep(state, 4, 15, 1) - Ok2Next(state, 4, 15, 1), bonus ? -100 : 0);
        EXPECT_EQ(ScoreChordStep(state, 11, 14, 0) - Ok2Next(state, 11, 14, 0), bonus ? 100 : 0);
        EXPECT_EQ(ScoreChordStep(state, 25, 1, 0) - Ok2Next(state, 25, 1, 0), bonus ? 200 : 0);
        // C and F share C (40); fits 50 + 50; notes C and F differ: +50 with the bonus.
        EXPECT_EQ(Ok2Next(state, 1, 4, 0), 140 + (bonus ? 50 : 0));
        EXPECT_EQ(Ok2Next(state, 1, 1, 0), 120 + 50 + 0 + (bonus ? -30 : 0));
    }
}

// Eight measures ending C: G7 over D and G, IV over A and F, and a free start.
std::vector<MeasureSpec> CadenceSong() {
    return {{"C", "E"}, {"G", "E"}, {"C", "G"}, {"A", "C"},
            {"F", "A"}, {"D", "F"}, {"G", "B"}, {"C", ""}};
}

TEST(PresetTest, BasicPresetsFindIVV7I) {
    const SongInput song = LoadSong(MakeSongFiles("0,+,C,8,100,4/4", CadenceSong()));
    KeyRunState state(song, kCMajor, {.acMode = 1});
    PresetChords(state);
    // I and IV are tried as pre-dominant in that order; F in measure 4 only fits IV.
    const std::vector<int> codes = {0, 0, 0, 0, 0, 0, 3, 3, 3, 3, 2, 2, 2, 2, 1, 0};
    const std::vector<HaStr> chords = {".....", ".....", ".....", ".....", ".....", ".....",
                                       "F....", "F....", "F....", "F....", "G..7.", "G..7.",
                                       "G..7.", "G..7.", "C....", "C...."};
    EXPECT_EQ(state.code, codes);
    EXPECT_EQ(state.chord, chords);
    EXPECT_EQ(ListOf(state.candidates[6]), std::vector<int>{4});
    EXPECT_EQ(ListOf(state.candidates[10]), std::vector<int>{5});
    EXPECT_EQ(ListOf(state.candidates[15]), std::vector<int>{1});
}

TEST(PresetTest, IIPresetWithTonicPrefix) {
    const SongInput song = LoadSong(MakeSongFiles("0,+,C,8,100,4/4", CadenceSong()));
    KeyRunState state(song, kCMajor, {.acMode = 3});
    PresetChords(state);
    // Am (first chord) over C, Dm over A and F, V over D and G, I; measure 1 (G, E) fits I
    // and becomes the tonic prefix with code 7.
    const std::vector<int> codes = {0, 0, 7, 0, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 0};
    const std::vector<HaStr> chords = {".....", ".....", "C....", "C....", "A.m..", "A.m..",
                                       "D.m..", "D.m..", "D.m..", "D.m..", "G....", "G....",
                                       "G....", "G....", "C....", "C...."};
    EXPECT_EQ(state.code, codes);
    EXPECT_EQ(state.chord, chords);
    EXPECT_EQ(ListOf(state.candidates[2]), std::vector<int>{1});
    EXPECT_EQ(ListOf(state.candidates[3]), std::vector<int>{1});
    EXPECT_EQ(ListOf(state.candidates[4]), std::vector<int>{4});
}

TEST(PresetTest, ShortSongsGetNoPreset) {
    const SongInput song =
        LoadSong(MakeSongFiles("0,+,C,4,100,4/4", {{"F", "A"}, {"D", "F"}, {"G", "B"}, {"C", ""}}));
    for (const int mode : {1, 3}) {
        KeyRunState state(song, kCMajor, {.acMode = mode});
        PresetChords(state);
        EXPECT_EQ(state.code, std::vector<int>(8, 0));
    }
}

TEST(PresetTest, ReusedScansGiveThePlainResult) {
    // A long song of alternating cadence material in several keys and modes.
    std::vector<MeasureSpec> measures;
    const char* pattern[] = {"C", "E", "A", "F", "D", "G", "B", "C", "G", "E", "F", "A"};
    for (int m = 0; m < 120; ++m) {
        measures.push_back({pattern[(m * 7) % 12], pattern[(m * 5 + 3) % 12]});
        if (m % 9 == 4) measures.back().second = "";
    }
    measures.push_back({"C", ""});
    const SongInput song = LoadSong(MakeSongFiles("0,+,C,121,100,4/4", measures));
    for (const KeyCode key : {kCMajor, kAMinor, KeyCode{16}, KeyCode{3}}) {
        for (const int mode : {1, 2, 3, 4}) {
            SCOPED_TRACE(testing::KeyLine(1, key) + std::to_string(mode));
            const RunParameters params{.acMode = mode, .phraseLen = 8};
            const KeyRunResult fast = RunKey(song, key, params, {.reuseCadenceScans = true});
            const KeyRunResult plain = RunKey(song, key, params, {.reuseCadenceScans = false});
            EXPECT_EQ(fast.chords, plain.chords);
            EXPECT_EQ(fast.inst, plain.inst);
            EXPECT_EQ(fast.drum, plain.drum);
            EXPECT_EQ(fast.pathScoreDump, plain.pathScoreDump);
        }
    }
}

TEST(PresetTest, ReusedScansMatchThePlainOnTheBenchmarkMelody) {
    // The benchmark's 260 measures: every scan passes finals and dominant runs, then fails.
    const char* pattern[] = {"A", "E", "F#"};
    std::vector<MeasureSpec> measures;
    for (int m = 0; m < 259; ++m) measures.push_back({pattern[m % 3], ""});
    measures.push_back({"A", ""});
    const SongInput song = LoadSong(MakeSongFiles("0,+,A,260,100,4/4", measures));
    const RunParameters params{.acMode = 3, .phraseLen = 8};
    const KeyRunResult fast = RunKey(song, kAMinor, params, {.reuseCadenceScans = true});
    const KeyRunResult plain = RunKey(song, kAMinor, params, {.reuseCadenceScans = false});
    EXPECT_EQ(fast.chords, plain.chords);
    EXPECT_EQ(fast.inst, plain.inst);
    EXPECT_EQ(fast.drum, plain.drum);
    EXPECT_EQ(fast.pathScoreDump, plain.pathScoreDump);
}

TEST(RefinementTest, HaBaChordsAreRewritten) {
    const SongInput song =
        LoadSong(MakeSongFiles("0,+,C,3,100,4/4", {{"", ""}, {"", ""}, {"C", ""}}));
    KeyRunState state(song, kCMajor, {.acMode = 1});
    state.chord = {"B.m.-", "F.m7-", "A#.7+", "D..7+", ".....", "....."};
    RefineChords(state);
    EXPECT_EQ(state.chord[0], "Bb...");
    EXPECT_EQ(state.chord[1], "E..7.");
    EXPECT_EQ(state.chord[2], "B...o");
    EXPECT_EQ(state.chord[3], "Eb..o");
    // The last measure: I, and its empty second half filled from it.
    EXPECT_EQ(state.chord[4], "C....");
    EXPECT_EQ(state.chord[5], "C....");
}

TEST(RefinementTest, FreeLastMeasuresEndWithCodes4328) {
    // E over G everywhere and an E late in the last measure: no cadence preset fits, so the
    // last four measures are free when the ending is marked.
    std::vector<MeasureSpec> measures(20, MeasureSpec{"E", "G"});
    measures[19] = {"E", "", {}, {}, 8};
    const SongInput song = LoadSong(MakeSongFiles("0,+,C,20,100,4/4", measures));
    const KeyRunResult result = RunKey(song, kCMajor, {.acMode = 1});
    EXPECT_EQ(std::vector<int>(result.inst.end() - 4, result.inst.end()),
              (std::vector<int>{4, 3, 2, 8}));
    EXPECT_EQ(result.drum, result.inst);
    EXPECT_EQ(result.chords[38], "C....");
}

TEST(RefinementTest, LongTonicRunsAndInsertedBreaks) {
    // Thirty measures on C with three silent ones (21 to 23): the sixteenth free measure starts
    // a variation, and the melody's return after the silence gets a break.
    std::vector<MeasureSpec> measures(30, MeasureSpec{"C", "C"});
    for (int m = 21; m <= 23; ++m) measures[m] = {"", ""};
    const SongInput song = LoadSong(MakeSongFiles("0,+,C,30,100,4/4", measures));
    const RunParameters params{.acMode = 1, .phraseLen = 16};
    const KeyRunResult result = RunKey(song, kCMajor, params);
    EXPECT_EQ(result.inst[14], 2);
    EXPECT_EQ(result.inst[15], 1);
    EXPECT_EQ(result.inst[23], 7);
    EXPECT_EQ(result.drum[23], 7);
    EXPECT_EQ(result.inst[24], 6);
    EXPECT_EQ(result.drum[24], 6);
    EXPECT_EQ(std::vector<int>(result.inst.begin(), result.inst.begin() + 4),
              (std::vector<int>{0, 5, 0, 5}));
    EXPECT_EQ(std::vector<int>(result.inst.end() - 4, result.inst.end()),
              (std::vector<int>{4, 3, 2, 8}));

    // The silent measures fit any chord, so a basic preset puts V7 there and its final I on
    // measure 24; the break overrides that end. A longer phrase leaves no room for the break
    // (it needs 2m > last + 2 x PhraseLen), and the cadence stays.
    EXPECT_EQ(result.inst[21], 3);
    EXPECT_EQ(result.chords[44], "G..7.");
    const KeyRunResult tight = RunKey(song, kCMajor, {.acMode = 1, .phraseLen = 24});
    EXPECT_EQ(tight.inst[23], 2);
    EXPECT_EQ(tight.inst[24], 1);
}

}  // namespace
}  // namespace chordmaker

namespace chordmaker {
namespace {

std::vector<int> Column(const ChordSheet& sheet, int MeasureRecord::*field) {
    std::vector<int> values;
    for (const MeasureRecord& record : sheet.measures) values.push_back(record.*field);
    return values;
}

TEST(RefinementTest, OpenTonicMeasuresBecomeBreakPairsSpacedByThePhrase) {
    // I with a silent second half before another I: a Break2 (7) and Stop (6) pair, as long as
    // 2 x PhraseLen stays below the distance to the last pair. Style changes follow the pairs.
    std::vector<MeasureSpec> measures(11, MeasureSpec{"C", "", {60, 64, 67}, {}});
    measures.push_back({"C", ""});
    const SongInput song = LoadSong(MakeSongFiles("0,+,C,12,100,4/4", measures));
    const std::string keys = testing::KeyLine(1, kCMajor);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(keys.data());
    struct Case {
        int phraseLen;
        std::vector<int> drums;
        std::vector<int> styles;
    } cases[] = {
        {0, {7, 6, 7, 6, 7, 6, 7, 6, 0, 3, 2, 8}, {1, 2, 0, 3, 0, 4, 0, 5, 0, 0, 0, 0}},
        {1, {0, 7, 6, 7, 6, 7, 6, 0, 5, 3, 2, 8}, {1, 0, 2, 0, 3, 0, 4, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phraseLen);
        ChordSheet sheet;
        std::string log;
        ASSERT_TRUE(MakeChordSheet(song, {bytes, keys.size()},
                                   {.acMode = 1, .phraseLen = c.phraseLen}, sheet, log));
        EXPECT_EQ(Column(sheet, &MeasureRecord::drum), c.drums);
        EXPECT_EQ(Column(sheet, &MeasureRecord::inst), c.drums);
        EXPECT_EQ(Column(sheet, &MeasureRecord::sty), c.styles);
    }
}

ChordSheet SheetOf(std::vector<int> drums, std::vector<std::pair<HaStr, HaStr>> chords) {
    ChordSheet sheet;
    for (std::size_t m = 0; m < drums.size(); ++m) {
        MeasureRecord record;
        record.drum = drums[m];
        record.inst = drums[m];
        record.chord1 = chords[m].first;
        record.chord2 = chords[m].second;
        sheet.measures.push_back(record);
    }
    return sheet;
}

TEST(FinishingPassTest, StyleChangesWrapAfterTheFifthSlot) {
    const std::pair<HaStr, HaStr> c{"C....", "C...."};
    const std::pair<HaStr, HaStr> cg{"C....", "G...."};
    ChordSheet sheet = SheetOf({0, 7, 6, 7, 6, 2, 1, 2, 1, 7, 6, 7, 6, 8},
                               {c, c, c, c, c, c, cg, c, c, c, c, c, c, c});
    MarkPhraseStarts(sheet, 0);
    // (2, 1) counts only with equal chords: measure 6 has C then G.
    EXPECT_EQ(Column(sheet, &MeasureRecord::sty),
              (std::vector<int>{1, 0, 2, 0, 3, 0, 0, 0, 4, 0, 5, 0, 1, 0}));
}

TEST(FinishingPassTest, RepeatedChordsBlankAndIntroGetsAVariationBefore) {
    ChordSheet sheet = SheetOf({0, 5, 4, 3, 0, 4, 8}, {{"C....", "C...."},
                                                       {"C....", "F...."},
                                                       {"F....", "G...."},
                                                       {"C....", "C...."},
                                                       {"A.m..", "A.m.."},
                                                       {"A.m..", "G..7."},
                                                       {"C....", "C...."}});
    BlankRepeatedChords(sheet);
    MarkBeforeCode4(sheet);
    const std::vector<std::pair<HaStr, HaStr>> expected = {
        {"C....", "....."}, {".....", "F...."}, {".....", "G...."}, {"C....", "....."},
        {"A.m..", "....."}, {".....", "G..7."}, {"C....", "....."}};
    for (std::size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(sheet.measures[m].chord1, expected[m].first);
        EXPECT_EQ(sheet.measures[m].chord2, expected[m].second);
    }
    // Measure 1 (5) and measure 4 (0) stand before an Intro1; Inst keeps its code.
    EXPECT_EQ(Column(sheet, &MeasureRecord::drum), (std::vector<int>{0, 1, 4, 3, 1, 4, 8}));
    EXPECT_EQ(Column(sheet, &MeasureRecord::inst), (std::vector<int>{0, 5, 4, 3, 0, 4, 8}));
}

TEST(FinishingPassTest, RecordLayout) {
    MeasureRecord record;
    record.drum = 7;
    record.inst = 6;
    record.chord1 = "C..7x";  // an alteration that is not one becomes '.'
    record.chord2 = "Dbm";    // not 5 characters: no chord
    record.keptDigit = 13;    // tonic B: (12 + 1) mod 10
    record.sty = -2;
    record.keyName = "B  Major";
    EXPECT_EQ(FormatChordDataRecord(7, record), "007:7:C..7.:3:.....:6:0:B  Major  ;");
    record.chord1 = "G..7o";
    record.chord2 = "F#.7.extra";
    record.sty = 5;
    EXPECT_EQ(FormatChordDataRecord(259, record), "259:7:G..7o:3:F#.7.:6:5:B  Major  ;");
}

}  // namespace
}  // namespace chordmaker
