#include "workers/keydetect/key_finding.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "formats/key_table.h"
#include "tests/workers/keydetect/melody.h"

namespace keydetect {
namespace {

using testing::ClassOf;
using testing::kMeasure;
using testing::kQuarter;
using testing::Melody;

constexpr KeyValue kCMajor = 160, kGMajor = 167, kDMajor = 162, kAMinor = 69, kBMinor = 71;

// A melody with one long note per class, of the given total length.
Melody FromTotals(const std::vector<std::pair<std::string_view, Tick>>& totals) {
    Melody melody;
    for (const auto& [name, ticks] : totals) melody.Add(name, ticks);
    return melody;
}

// A table ranked in the given order (classes not named follow in pitch order), with the
// fields that PickKey reads. Totals fall with the rank.
KcnData TableInOrder(std::string_view order) {
    std::vector<int> classes;
    Melody names;
    std::string_view rest = order;
    while (!rest.empty()) {
        const std::size_t space = rest.find(' ');
        classes.push_back(ClassOf(rest.substr(0, space)));
        rest = space == std::string_view::npos ? std::string_view{} : rest.substr(space + 1);
    }
    for (int pc = 0; pc < 12; ++pc) {
        if (std::find(classes.begin(), classes.end(), pc) == classes.end()) classes.push_back(pc);
    }
    KcnData table;
    for (int rank = 0; rank < 12; ++rank) {
        table[rank].Pitch = static_cast<std::int16_t>(60 + classes[rank]);
        table[rank].Rank = static_cast<std::int16_t>(rank);
        table[rank].Total = 1000 - rank;
    }
    for (KcnEntry& entry : table) {
        entry.FifthRank = table[EntryOfClass(table, (entry.Pitch - 60 + 7) % 12)].Rank;
    }
    return table;
}

FitResult Candidates(std::initializer_list<ScaleFit> fits) {
    FitResult fit;
    fit.smallestError = 0;
    for (const ScaleFit& candidate : fits) fit.candidates[fit.count++] = candidate;
    fit.candidates[fit.count] = ScaleFit{};
    return fit;
}

TEST(CreateKcnDataTest, RanksByTotalWithTheLowerClassWinningTies) {
    // E and D have equal totals: D (the lower class) ranks first. Silent classes follow in
    // pitch order.
    const Melody melody = FromTotals({{"E", 200}, {"G", 500}, {"D", 200}, {"C", 50}});
    KcnData table;
    ASSERT_TRUE(Create_KcnData(melody.Stats(), 0, 4, table).ok);
    const std::vector<int> expected = {67, 62, 64, 60, 61, 63, 65, 66, 68, 69, 70, 71};
    for (int rank = 0; rank < 12; ++rank) {
        SCOPED_TRACE(rank);
        EXPECT_EQ(table[rank].Pitch, expected[rank]);
        EXPECT_EQ(table[rank].Rank, rank);
    }
    EXPECT_EQ(table[0].Total, 500);
    EXPECT_EQ(table[0].Count, 1);
}

TEST(CreateKcnDataTest, ScoresRootsThirdsAndTriads) {
    const Melody melody = FromTotals({{"C", 400}, {"E", 300}, {"G", 200}, {"D", 100}});
    KcnData table;
    const KcnResult result = Create_KcnData(melody.Stats(), 0, 4, table);
    ASSERT_TRUE(result.ok);
    // Ranks: C 0, E 1, G 2, D 3, then C# D# F F# G# A A# B (4 to 11).
    const KcnEntry& c = table[0];
    EXPECT_EQ(c.FifthTotal, 200);
    EXPECT_EQ(c.FifthRank, 2);
    EXPECT_EQ(c.RankSum, 2);
    EXPECT_EQ(c.RankDiff, 2);
    EXPECT_EQ(c.RootScore, 402);
    EXPECT_EQ(c.Mode, 'M');  // E (rank 1) above D# (rank 5)
    EXPECT_EQ(c.TriadOutside, 0 + 100);

    const KcnEntry& e = table[1];  // its fifth B is silent
    EXPECT_EQ(e.RootScore, 99900 + 11);
    EXPECT_EQ(e.Mode, '.');
    EXPECT_EQ(e.TriadOutside, 1 + 400 + 200 + 100);  // no third left out

    const KcnEntry& g = table[2];
    EXPECT_EQ(g.RootScore, (5 + 1) * 100 + 3);
    EXPECT_EQ(g.Mode, 'm');  // B (rank 11) below A# (rank 10)
    EXPECT_EQ(g.TriadOutside, 2 + 400 + 300);

    EXPECT_EQ(result.bestRoot, 0);
    EXPECT_EQ(result.bestTriad, 0);
}

TEST(CreateKcnDataTest, FailsBelowThreeSoundingClassesAndLeavesNoStaleFields) {
    KcnData table;
    const Melody full = FromTotals({{"C", 400}, {"E", 300}, {"G", 200}});
    ASSERT_TRUE(Create_KcnData(full.Stats(), 0, 3, table).ok);

    // Two long classes; the short D (32 ticks) does not count.
    const Melody two = FromTotals({{"C", 400}, {"E", 300}, {"D", 32}});
    EXPECT_FALSE(Create_KcnData(two.Stats(), 0, 3, table).ok);
    EXPECT_EQ(table[0].Pitch, 60);
    EXPECT_EQ(table[1].Total, 300);
    EXPECT_EQ(table[2].Total, 0);
    for (const KcnEntry& entry : table) {
        EXPECT_EQ(entry.FifthRank, 0);
        EXPECT_EQ(entry.RootScore, 0);
    }
}

TEST(ScaleErrorTest, TableOfCases) {
    const struct {
        const char* label;
        std::vector<std::pair<std::string_view, Tick>> totals;
        int family;
        int row;
        ScaleErrorValue error;
    } cases[] = {
        {"whole C major in C major",
         {{"C", 99}, {"D", 99}, {"E", 99}, {"F", 99}, {"G", 99}, {"A", 99}, {"B", 99}},
         kMajorFamily,
         0,
         0},
        {"C major triad: four scale notes missing",
         {{"C", 99}, {"E", 99}, {"G", 99}},
         kMajorFamily,
         0,
         4},
        {"F# outside C major weighs its ticks",
         {{"C", 99}, {"D", 99}, {"E", 99}, {"F", 99}, {"G", 99}, {"A", 99}, {"B", 99}, {"F#", 50}},
         kMajorFamily,
         0,
         50},
        {"G# belongs to A harmonic minor",
         {{"A", 99}, {"C", 99}, {"E", 99}, {"G#", 40}},
         kHarmonicMinorFamily,
         0,
         3},
        {"G# outside A natural minor, missing D F G B",
         {{"A", 99}, {"C", 99}, {"E", 99}, {"G#", 40}},
         kMajorFamily,
         0,
         40 + 4},
        {"D melodic minor on row 1",
         {{"D", 99}, {"F", 99}, {"B", 99}, {"C#", 99}},
         kMelodicMinorFamily,
         1,
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Melody melody = FromTotals(c.totals);
        KcnData table;
        (void)Create_KcnData(melody.Stats(), 0, melody.list().size(), table);
        EXPECT_EQ(KeyScaleError(c.family, c.row, table), c.error);
    }
}

TEST(FitScalesTest, KeepsEveryTiedScaleInFamilyAndRowOrder) {
    // A pentatonic C D E G A fits four scales equally, two notes missing in each.
    const Melody melody = FromTotals({{"C", 100}, {"D", 100}, {"E", 100}, {"G", 100}, {"A", 100}});
    KcnData table;
    ASSERT_TRUE(Create_KcnData(melody.Stats(), 0, 5, table).ok);
    const FitResult fit = FitScales(table);
    EXPECT_EQ(fit.smallestError, 2);
    ASSERT_EQ(fit.count, 4);
    const std::vector<std::pair<int, int>> expected = {{0, 0}, {1, 0}, {6, 0}, {2, 2}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(fit.candidates[i].Row, expected[i].first) << i;
        EXPECT_EQ(fit.candidates[i].Family, expected[i].second) << i;
    }
    EXPECT_EQ(fit.candidates[4].Row, -1);
    EXPECT_EQ(fit.candidates[4].Family, -1);
}

TEST(FitScalesTest, AnyErrorStillYieldsACandidate) {
    // Sums far beyond 32 bits still leave a best scale.
    const Tick huge = Tick{1} << 40;
    const Melody melody = FromTotals({{"C", huge},
                                      {"C#", huge},
                                      {"D", huge},
                                      {"D#", huge},
                                      {"E", huge},
                                      {"F", huge},
                                      {"F#", huge},
                                      {"G", huge},
                                      {"G#", huge},
                                      {"A", huge}});
    KcnData table;
    ASSERT_TRUE(Create_KcnData(melody.Stats(), 0, 10, table).ok);
    const FitResult fit = FitScales(table);
    EXPECT_GE(fit.count, 1);
    EXPECT_EQ(fit.smallestError, 3 * huge);  // C# harmonic minor lies inside C..A
    EXPECT_GE(formats::KeyCodeOfValue(PickKey(table, fit)), 0);
}

TEST(PickKeyTest, TableOfCases) {
    const struct {
        const char* label;
        std::string_view order;
        FitResult fit;
        KeyValue key;
    } cases[] = {
        {"equal scores: the major tonic ranks higher and keeps its score", "C E A G D F B",
         Candidates({{0, kMajorFamily}}), kCMajor},
        {"equal scores: the minor tonic ranks higher and keeps its score", "A G C E D F B",
         Candidates({{0, kMajorFamily}}), kAMinor},
        {"a later major of the same score does not win", "C D A G",
         Candidates({{0, kMajorFamily}, {7, kMajorFamily}}), kCMajor},
        {"a later minor of the same score wins", "A B F# E",
         Candidates({{0, kHarmonicMinorFamily}, {7, kMelodicMinorFamily}}), kBMinor},
        {"the same two minors the other way round", "A B F# E",
         Candidates({{7, kMelodicMinorFamily}, {0, kHarmonicMinorFamily}}), kAMinor},
        {"a minor family has no major tonic", "G D B", Candidates({{6, kHarmonicMinorFamily}}), 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(PickKey(TableInOrder(c.order), c.fit), c.key);
    }
}

TEST(RecheckKeyTest, TableOfCases) {
    // C major notes with G and D weighing most; the table's entries are then given the modes
    // that steer each branch.
    const Melody melody = FromTotals(
        {{"G", 900}, {"D", 800}, {"B", 700}, {"C", 600}, {"A", 500}, {"E", 400}, {"F", 300}});
    KcnData base;
    ASSERT_TRUE(Create_KcnData(melody.Stats(), 0, 7, base).ok);
    const int g = EntryOfClass(base, ClassOf("G"));
    const int c = EntryOfClass(base, ClassOf("C"));
    const ScaleErrorValue gMajorError = KeyScaleError(kMajorFamily, 6, base);  // F is outside
    ASSERT_EQ(gMajorError, 300 + 1);

    const struct {
        const char* label;
        char modeRoot, modeTriad;
        int root, triad;
        ScaleErrorValue error;
        KeyValue picked;
        KeyValue expected;
    } cases[] = {
        {"no root has a triad: the picked key stays", '.', '.', g, c, 5, kAMinor, kAMinor},
        {"only the triad has a row and fits better", '.', 'M', g, c, 5, kAMinor, kCMajor},
        {"only the triad has a row and fits worse", '.', 'M', c, g, 5, kAMinor, kAMinor},
        {"only the root has a row and fits better", 'M', '.', c, g, 5, kAMinor, kCMajor},
        {"root and triad agree", 'M', 'M', g, g, 0, kCMajor, kGMajor},
        {"the picked key is the root's", 'M', 'M', g, c, 0, kGMajor, kGMajor},
        {"the picked key is the triad's", 'M', 'M', g, c, 0, kCMajor, kCMajor},
        {"root fits better than the picked key, triad better still", 'M', 'M', g, c, 400, kAMinor,
         kCMajor},
        {"only the root fits better than the picked key", 'M', 'M', c, g, 301, kAMinor, kCMajor},
        {"neither fits better", 'M', 'M', g, c, 0, kAMinor, kAMinor},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.label);
        KcnData table = base;
        table[k.root].Mode = k.modeRoot;
        table[k.triad].Mode = k.modeTriad;
        EXPECT_EQ(RecheckKey(k.error, k.picked, k.root, k.triad, table), k.expected);
    }
}

TEST(PrintKeyNameTest, NamesBothSpellingsWhereTheyDiffer) {
    const struct {
        KeyValue key;
        const char* text;
    } cases[] = {
        {160, "C Major"},     {167, "G Major"},    {71, "B Minor"},
        {64, "E Minor"},      {70, "Bb/A# Minor"}, {161, "Db/C# Major"},
        {166, "Gb/F# Major"}, {63, "Eb/D# Minor"}, {168, "Ab/G# Major"},
    };
    for (const auto& c : cases) EXPECT_EQ(PrintKeyName(c.key), c.text) << c.key;
}

TEST(FindGlobalKeyTest, FindsTheMelodysKey) {
    Melody melody;
    melody.Run(testing::kGMajorPart).Run(testing::kDMajorPart);
    const GlobalKeyResult result = FindGlobalKey(melody.Stats());
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.key.key, kGMajor);
    EXPECT_EQ(result.key.keyCode, 2);
    EXPECT_EQ(result.key.error, kQuarter);  // the one C#
    EXPECT_EQ(KeyFoundLogText(result.key), "Neu la mot key => G Major\n(Sai so = 000384)\n");
}

TEST(FindGlobalKeyTest, FailsWhenOnlyTwoClassesAreLong) {
    Melody melody;
    melody.Run("C E C E C E").Run("G B D", 32);
    EXPECT_FALSE(FindGlobalKey(melody.Stats()).ok);
}

SongTiming FourFour() {
    return SongTiming{kMeasure, kQuarter};
}

TEST(FindKeyChangePointsTest, CutsAtTheFirstNoteOfTheNewKey) {
    Melody melody;
    melody.Run(testing::kGMajorPart).Run(testing::kDMajorPart);
    const KeyChangeResult result = FindKeyChangePoints(melody.Stats(), FourFour(), true);
    ASSERT_EQ(result.status, KeyChangeStatus::kOk);
    ASSERT_EQ(result.points.size(), 2u);
    EXPECT_EQ(result.points[0].Measure, 0);
    EXPECT_EQ(result.points[0].KeyIndex, 2);
    EXPECT_EQ(result.points[0].Name, "G  Major");
    EXPECT_EQ(result.points[1].Measure, 8);
    EXPECT_EQ(result.points[1].KeyIndex, 4);
    EXPECT_EQ(result.points[1].Name, "D  Major");
    EXPECT_EQ(KeyListText(result.points, true, 2), "001:02;G  Major\n009:04;D  Major\n");
    EXPECT_EQ(KeyListText(result.points, false, 2), "001:02;G  Major\n");
}

TEST(FindKeyChangePointsTest, AShortNoteOfANewClassUsesUpItsRefit) {
    // A short C# early in the G major part: the class is seen, so the D major part that opens
    // with a long C# no longer makes the fit worse, and the melody stays one segment.
    Melody melody;
    melody.Run("G D B").Add("C#", 32).Run(testing::kGMajorPart).Run(testing::kDMajorPart);
    const KeyChangeResult result = FindKeyChangePoints(melody.Stats(), FourFour(), true);
    ASSERT_EQ(result.status, KeyChangeStatus::kOk);
    ASSERT_EQ(result.points.size(), 1u);
    EXPECT_EQ(result.points[0].KeyIndex, 2);
}

TEST(FindKeyChangePointsTest, ASegmentWithTooLittleMusicGetsNoKey) {
    // The D major part holds only eleven long notes.
    Melody melody;
    melody.Run(testing::kGMajorPart).Run("C# D A F# E D A B D G D");
    const KeyChangeResult result = FindKeyChangePoints(melody.Stats(), FourFour(), true);
    ASSERT_EQ(result.points.size(), 2u);
    EXPECT_EQ(result.points[1].KeyIndex, -1);
    EXPECT_EQ(KeyListText(result.points, true, 2), "001:02;G  Major\n");

    // Long enough in count but not in time: twelve long notes of 100 ticks.
    Melody brief;
    brief.Run(testing::kGMajorPart).Run("C# D A F# E D A B D G D A", 100);
    const KeyChangeResult briefResult = FindKeyChangePoints(brief.Stats(), FourFour(), true);
    ASSERT_EQ(briefResult.points.size(), 2u);
    EXPECT_EQ(briefResult.points[1].KeyIndex, -1);
}

TEST(FindKeyChangePointsTest, ASegmentOfTwoLongClassesGetsNoKey) {
    // Plenty of music after the G major part, but only C# and F# are long in it: no key is
    // taken from a table that an earlier segment left behind.
    Melody melody;
    melody.Run(testing::kGMajorPart);
    for (int i = 0; i < 10; ++i) melody.Run("C# F#").Run("A", 32);
    const KeyChangeResult result = FindKeyChangePoints(melody.Stats(), FourFour(), true);
    ASSERT_EQ(result.status, KeyChangeStatus::kOk);
    ASSERT_EQ(result.points.size(), 2u);
    EXPECT_EQ(result.points[1].KeyIndex, -1);
    EXPECT_EQ(KeyListText(result.points, true, 2), "001:02;G  Major\n");
}

TEST(FindKeyChangePointsTest, ASegmentFromTheThirdQuarterCountsFromTheNextMeasure) {
    // The D major part starts on the third quarter of 0-based measure 4: written as 006.
    Melody melody;
    melody.Run(testing::FirstNames(testing::kGMajorPart, 18));  // 4.5 measures
    ASSERT_EQ(melody.tick(), 4 * kMeasure + 2 * kQuarter);
    melody.Run(testing::kDMajorPart);
    const KeyChangeResult result = FindKeyChangePoints(melody.Stats(), FourFour(), true);
    ASSERT_EQ(result.points.size(), 2u);
    EXPECT_EQ(result.points[1].Measure, 5);
    EXPECT_EQ(KeyListText(result.points, true, 2), "001:02;G  Major\n006:04;D  Major\n");

    // On the second quarter it still counts from its own measure.
    Melody earlier;
    earlier.Run(testing::FirstNames(testing::kGMajorPart, 17)).Run(testing::kDMajorPart);
    const KeyChangeResult earlierResult = FindKeyChangePoints(earlier.Stats(), FourFour(), true);
    ASSERT_EQ(earlierResult.points.size(), 2u);
    EXPECT_EQ(earlierResult.points[1].Measure, 4);
}

TEST(KeyListTextTest, WritesOnlyChangesOfKnownKeys) {
    const std::vector<KeyChangePoint> points = {
        {0, 2, "G  Major"}, {4, 2, "G  Major"},  {8, -1, "D  Major"}, {12, 4, "D  Major"},
        {16, -1, ""},       {20, 4, "D  Major"}, {24, 2, "G  Major"}};
    EXPECT_EQ(KeyListText(points, true, 2), "001:02;G  Major\n013:04;D  Major\n025:02;G  Major\n");
    EXPECT_EQ(KeyListText(points, false, 2), "001:02;G  Major\n");
    const std::vector<KeyChangePoint> none = {{0, -1, ""}, {3, -1, ""}};
    EXPECT_EQ(KeyListText(none, true, 17), "001:17;D  Minor\n");
    EXPECT_EQ(KeyCodeText(0), "00\n");
    EXPECT_EQ(KeyCodeText(23), "23\n");
}

// Eight measures per key, alternating between G major and D major.
Melody AlternatingKeys(int parts) {
    Melody melody;
    for (int i = 0; i < parts; ++i) {
        // Each part opens with the class that the other key lacks.
        if (i % 2 == 0) {
            melody.Add("C").Run(testing::kGMajorPart);
        } else {
            melody.Run(testing::kDMajorPart);
        }
    }
    return melody;
}

TEST(FindKeyChangePointsTest, TheSixtyFourthPointIsTooMany) {
    const Melody many = AlternatingKeys(64);
    const KeyChangeResult result = FindKeyChangePoints(many.Stats(), FourFour(), true);
    EXPECT_EQ(result.status, KeyChangeStatus::kTooManyPoints);
    EXPECT_EQ(result.points.size(), 64u);

    const Melody enough = AlternatingKeys(63);
    const KeyChangeResult fits = FindKeyChangePoints(enough.Stats(), FourFour(), true);
    EXPECT_EQ(fits.status, KeyChangeStatus::kOk);
    EXPECT_EQ(fits.points.size(), 63u);
}

TEST(FindKeyChangePointsTest, AWrongHandleTokenIsCaughtAtTheEndOfAScan) {
    Melody melody;
    melody.Run(testing::kGMajorPart).Run(testing::kDMajorPart);
    const KeyChangeResult result = FindKeyChangePoints(melody.Stats(), FourFour(), false);
    EXPECT_EQ(result.status, KeyChangeStatus::kHandleTokenRejected);
}

TEST(FindKeyChangePointsTest, HugeDurationsStillMoveOn) {
    // A note longer than 32 bits of ticks still weighs as the longest, not as a negative.
    Melody melody;
    melody.AddAt(0, 67, Tick{3'000'000'000});
    melody.Run(testing::kGMajorPart);
    const KeyChangeResult result = FindKeyChangePoints(melody.Stats(), FourFour(), true);
    EXPECT_EQ(result.status, KeyChangeStatus::kOk);
    ASSERT_EQ(result.points.size(), 1u);
    EXPECT_EQ(result.points[0].KeyIndex, 2);
}

}  // namespace
}  // namespace keydetect
