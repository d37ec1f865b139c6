#include "workers/chordmaker/chord_string.h"

#include <gtest/gtest.h>

#include "tests/workers/chordmaker/song_fixture.h"
#include "workers/chordmaker/fit_scores.h"
#include "workers/common/worker_fatal.h"

namespace chordmaker {
namespace {

constexpr int C = 0, Cs = 1, D = 2, Ds = 3, E = 4, F = 5, Fs = 6, G = 7, Gs = 8, A = 9, As = 10,
              B = 11, X = kNoNote;

struct NoteSetCase {
    const char* chord;
    NoteSet (*read)(std::string_view);
    std::array<int, 5> expected;  // fifth, root, third, seventh-or-sixth, ninth
};

TEST(ChordStringTest, NoteSets) {
    const NoteSetCase cases[] = {
        {"C....", KhHa2Notes, {G, C, E, X, X}},   {"A.m..", KhHa2Notes, {E, A, C, X, X}},
        {"G..7.", KhHa2Notes, {D, G, B, F, X}},   {"C.s..", KhHa2Notes, {G, C, F, X, X}},
        {"B...o", KhHa2Notes, {F, B, D, X, X}},   // fifth and third lowered
        {"C.M7.", KhHa2Notes, {G, C, E, As, D}},  // minor seventh here, ninth with M
        {"C.M7.", KhHa2NotesM, {G, C, E, B, D}},  // major seventh with M
        {"C..9.", KhHa2Notes, {G, C, E, X, D}},   {"A.m6.", KhHa2Notes, {E, A, C, Fs, X}},
        {"Cb...", KhHa2Notes, {Fs, B, Ds, X, X}}, {"E#m..", KhHa2Notes, {C, F, Gs, X, X}},
        {"D..7+", KhHa2Notes, {A, D, Fs, C, X}},   // '+' ignored here
        {"D..7+", HaBa2Notes, {A, Ds, Fs, C, X}},  // the moved root
        {"B.m.-", HaBa2Notes, {Fs, As, D, X, X}}, {"D..7+", ChordNotes, {A, Ds, Fs, C, X}},
        {"Db...", ChordNotes, {Gs, Cs, F, X, X}},
    };
    for (const NoteSetCase& c : cases) {
        SCOPED_TRACE(c.chord);
        EXPECT_EQ(c.read(c.chord).notes, c.expected);
    }
}

struct FailureCase {
    const char* chord;
    NoteSet (*read)(std::string_view);
    const char* message;
};

TEST(ChordStringTest, MalformedChordsNameThePositionThatFailed) {
    const FailureCase cases[] = {
        {"H....", KhHa2Notes, "\nKhHa2Notes: Error finding 1.\n"},
        {"~....", KhHa2Notes, "\nKhHa2Notes: Error finding 1.\n"},
        {"Cx...", KhHa2Notes, "\nKhHa2Notes: Error finding 2.\n"},
        {"C.q..", KhHa2Notes, "\nKhHa2Notes: Error finding 3.\n"},
        {"C..8.", KhHa2Notes, "\nKhHa2Notes: Error finding 4.\n"},
        {"C..9.", KhHa2NotesM, "\nKhHa2-NotesM: Error finding 4.\n"},
        {"C.q..", KhHa2NotesM, "\nKhHa2-NotesM: Error finding 3: C.q..\n"},
        {"C..7", HaBa2Notes, "HaBa Error <C..7>,"},
        {"C.s.+", HaBa2Notes, "\nError finding 3.\n"},
        {"C...o", HaBa2Notes, "Invalid HaBa Sign,"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.chord);
        try {
            c.read(c.chord);
            ADD_FAILURE() << "no failure";
        } catch (const worker::WorkerFatal& failure) {
            EXPECT_EQ(failure.message(), c.message);
        }
    }
}

TEST(ChordStringTest, RootPitchAndChordTones) {
    EXPECT_EQ(ChordRootPitch("Cb..."), 71);
    EXPECT_EQ(ChordRootPitch("B#..."), 60);
    EXPECT_EQ(ChordRootPitch("Bb.7."), 70);
    // The tone table of C: G below, C, E, and Bb for '7'; octaves do not matter.
    EXPECT_TRUE(IsChordTone(76, "C...."));
    EXPECT_TRUE(IsChordTone(43, "C...."));
    EXPECT_FALSE(IsChordTone(69, "C...."));
    EXPECT_TRUE(IsChordTone(69, "C..6."));
    EXPECT_TRUE(IsChordTone(70, "C..7."));
    EXPECT_FALSE(IsChordTone(70, "C.M7."));  // no seventh in the table with M
    EXPECT_TRUE(IsChordTone(65, "C.s.."));
    try {
        ChordRootPitch("x....");
        ADD_FAILURE();
    } catch (const worker::WorkerFatal& failure) {
        EXPECT_EQ(failure.message(), "Invalid Root in Chord String <x....>");
    }
}

SongInput OneHalfSong(std::vector<int> notes) {
    return testing::LoadSong(testing::MakeSongFiles("0,+,C,1,120,4/4", {{"C", "", notes, {}}}));
}

TEST(FitScoresTest, FitCountsNotePairsAndCutsTowardZero) {
    const SongInput song = OneHalfSong({60, 64, 67, 71});
    EXPECT_EQ(DemNoteNmOk(song, "C....", 0), 37);   // 50 x 3 / 4
    EXPECT_EQ(DemNoteNmOkM(song, "C.M7.", 0), 50);  // major seventh B
    EXPECT_EQ(DemNoteNmOk(song, "C.M7.", 0), 37);   // minor seventh Bb, no ninth
    EXPECT_EQ(DemNoteNmOk(song, "C...+", 0), 25);   // the raised fifth misses G
    EXPECT_EQ(DemNoteNmOkM(song, "C...+", 0), 37);  // '+' ignored
    EXPECT_EQ(DemNoteNmOkS(song, "C.s..", 0), 25);
    EXPECT_EQ(DemNoteBaOk(song, "B.m.-", 0), 0);
    EXPECT_EQ(DemNoteCoNm(song, "C....", 0), 7);
    // The empty second half: every chord ties.
    EXPECT_EQ(DemNoteNmOk(song, "C....", 1), 0);
    EXPECT_EQ(DemNoteCoNm(song, "G....", 1), 10);
}

TEST(FitScoresTest, SuspendedChordIsRefusedWhereTheMajorReadingApplies) {
    const SongInput song = OneHalfSong({60});
    try {
        DemNoteNmOkM(song, "C.s..", 0);
        ADD_FAILURE();
    } catch (const worker::WorkerFatal& failure) {
        EXPECT_EQ(failure.message(), "\nDemNoteNmOk 3: Error finding HaStr:<C.s..>\n");
    }
    try {
        DemNoteNmOk(song, "Q....", 0);
        ADD_FAILURE();
    } catch (const worker::WorkerFatal& failure) {
        EXPECT_EQ(failure.message(),
                  "\nDemNoteNmOk 1: Error finding HaStr:<Q....>, NuaMsIdx = 0\n");
    }
}

TEST(FitScoresTest, SharedNotesCountOnlyWithTheSeventhShared) {
    // Am7's seventh G is C's fifth: E and C then count 40 each.
    EXPECT_EQ(CountSharedNotes("C....", "A.m7."), 80);
    // Without a shared seventh nothing counts, however many notes are shared.
    EXPECT_EQ(CountSharedNotes("C....", "A.m.."), 0);
    EXPECT_EQ(CountSharedNotes("F....", "A.m7."), 0);
    // CM7 read with the major seventh B (shared with G) and the ninth D: G and D count.
    EXPECT_EQ(CountSharedNotesM("G....", "C.M7."), 80);
}

TEST(FitScoresTest, ChordFitsSlot) {
    // Measure 0: a first half on Bb, Bb, E and a second half on C, G.
    const SongInput song = testing::LoadSong(
        testing::MakeSongFiles("0,+,C,1,120,4/4", {{"Bb", "C", {70, 70, 64}, {60, 67}}}));
    constexpr int Bb = 10;
    EXPECT_TRUE(ChordFitsSlot(song, 0, kNoNote, "D....", kFitRootOnly));
    EXPECT_TRUE(ChordFitsSlot(song, 1, 0, "C....", kFitRootOnly));
    EXPECT_FALSE(ChordFitsSlot(song, 1, 7, "C....", kFitRootOnly));
    EXPECT_TRUE(ChordFitsSlot(song, 1, 7, "C....", kFitChordTone));
    // Bb is only C7's seventh: the measure's two fits add up to 10 + 10 > 10.
    EXPECT_TRUE(ChordFitsSlot(song, 0, Bb, "C..7.", kFitChordTone));
    // G7 holds F as seventh, but its fits add up to 0 + 5 only.
    EXPECT_FALSE(ChordFitsSlot(song, 0, 5, "G..7.", kFitChordTone));
    EXPECT_TRUE(ChordHasNote(Bb, "C..7."));
    EXPECT_FALSE(ChordHasNote(kNoNote, "C...."));
    EXPECT_TRUE(ChordHasNote(3, "D..7+"));  // the moved root D#
}

}  // namespace
}  // namespace chordmaker
