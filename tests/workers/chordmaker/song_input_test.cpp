#include "workers/chordmaker/song_input.h"

#include <gtest/gtest.h>

#include "tests/workers/chordmaker/song_fixture.h"
#include "workers/chordmaker/text_scan.h"

namespace chordmaker {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::vector<std::string> Lines(const std::string& text) {
    LineReader reader(Bytes(text));
    std::vector<std::string> lines;
    std::string line;
    while (reader.GetLine(line)) lines.push_back(line);
    return lines;
}

TEST(LineReaderTest, RemovesOnlyTheLineEnd) {
    EXPECT_EQ(Lines("a\r\nbc\n\r\nd"), (std::vector<std::string>{"a", "bc", "", "d"}));
    // A last line without a line end keeps its last character.
    EXPECT_EQ(Lines("C;E"), (std::vector<std::string>{"C;E"}));
    EXPECT_EQ(Lines(""), (std::vector<std::string>{}));
    EXPECT_EQ(Lines(std::string("ab\0cd\nx", 7)), (std::vector<std::string>{"ab", "x"}));
}

TEST(LineReaderTest, LongLinesAreReadIn79CharacterPieces) {
    const std::string longLine(100, 'x');
    const auto lines = Lines(longLine + "\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 79u);
    EXPECT_EQ(lines[1].size(), 21u);
}

TEST(FieldScannerTest, ReadsLikeScanfConversions) {
    FieldScanner scan(" 7:-3;C  Major");
    std::int32_t a = 0, b = 0;
    std::string word;
    EXPECT_TRUE(scan.Int(3, a));
    EXPECT_TRUE(scan.Literal(':'));
    EXPECT_TRUE(scan.Int(2, b));
    EXPECT_TRUE(scan.Literal(';'));
    EXPECT_TRUE(scan.Word(10, word));
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, -3);
    EXPECT_EQ(word, "C");
    FieldScanner wide("1234");
    EXPECT_TRUE(wide.Int(3, a));
    EXPECT_EQ(a, 123);
    FieldScanner huge("99999999999999999999");
    EXPECT_TRUE(huge.Int(0, a));
    EXPECT_EQ(a, 2147483647);
    EXPECT_EQ(LeadingNumber("  42,96"), 42);
    EXPECT_EQ(LeadingNumber("x"), 0);
}

TEST(SongInputTest, MeasureLinesGiveMainNotesPositionsAndCounts) {
    const std::string notes = "2,-,Bb,3,100,3/4\r\nBb;Eb\r\n;F#\r\nC,E;\r\n";
    const std::string temps2 = "070;00;063;24;002;100\r\n000;00;066;08;001;090\r\n";
    SongInput song;
    std::string log;
    ASSERT_TRUE(ReadMeasureFiles(Bytes(notes), Bytes(temps2), song, log));
    EXPECT_EQ(log, "\nWarning: Too many Notes, only first will be used.");
    ASSERT_EQ(song.MeasureCount(), 3);
    EXPECT_EQ(song.Half(0).mainNote, 10);
    EXPECT_EQ(song.Half(1).mainNote, 3);
    EXPECT_EQ(song.Half(1).mainPosition, 24);
    EXPECT_EQ(song.Half(1).pitchClassCount, 2);
    EXPECT_EQ(song.Half(2).mainNote, kNoNote);
    EXPECT_EQ(song.Half(3).mainName, "F#");
    EXPECT_EQ(song.Half(4).mainName, "C");
    // Temps2.aco has no third line: no count, no positions.
    EXPECT_EQ(song.Half(4).pitchClassCount, 0);
    EXPECT_EQ(song.Half(4).mainPosition, -1);
    EXPECT_EQ(song.Half(5).mainPosition, -1);
}

TEST(SongInputTest, NoteNameErrors) {
    struct Case {
        const char* line;
        const char* log;
    } cases[] = {
        {"Cbb;", "\nError: One Note must be maximum 2-characters long.\n"},
        {"C;D,Hxx", "\nError: One Note must be maximum 2-characters long.\n"},
        {"H;", "\nError GetNote_s.\n"},
        {"C ;", "\nError GetNote_s.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string notes = std::string("0,+,C,1,100,4/4\r\n") + c.line + "\r\n";
        SongInput song;
        std::string log;
        EXPECT_FALSE(ReadMeasureFiles(Bytes(notes), Bytes(""), song, log));
        EXPECT_EQ(log, c.log);
    }
}

TEST(SongInputTest, MeasureLimit) {
    for (const int measures : {260, 261, 300}) {
        SCOPED_TRACE(measures);
        std::string notes = "0,+,C,1,100,4/4\r\n";
        for (int m = 0; m < measures; ++m) notes += "C;\r\n";
        SongInput song;
        std::string log;
        const bool read = ReadMeasureFiles(Bytes(notes), Bytes(""), song, log);
        EXPECT_EQ(read, measures <= kMaxMeasures);
        if (!read) {
            EXPECT_EQ(log, "Out of memory. The input song has too many measures: " +
                               std::to_string(measures) + ".");
        }
    }
}

TEST(SongInputTest, NotesDatKeepsValuesAndFoldsOnlyForTheSongPitchClasses) {
    SongInput song = testing::LoadSong(
        testing::MakeSongFiles("0,+,C,2,100,4/4", {{"C", "E", {60, 64}, {64}}, {"G", ""}}));
    // Three lines of four: the last half stays empty.
    const std::string dat = "060;064;\r\n050;076;\r\n128;067;000;\r\n";
    ReadNotesDat(Bytes(dat), song);
    EXPECT_EQ(song.Half(1).notes[0], 50);
    EXPECT_EQ(song.Half(1).notes[1], 76);
    EXPECT_EQ(song.Half(1).profile.counted, 1);      // 76 counts, 50 does not
    EXPECT_EQ(song.Half(1).profile.perClass[4], 0);  // 76 - 60 is no pitch class
    EXPECT_EQ(song.Half(2).notes[0], 128);
    EXPECT_EQ(song.Half(3).profile.counted, 0);
    EXPECT_TRUE(song.songPitchClasses[2]);   // 50 folds to D
    EXPECT_TRUE(song.songPitchClasses[4]);   // 76 folds to E
    EXPECT_FALSE(song.songPitchClasses[8]);  // 128 is not a note
    EXPECT_TRUE(song.songPitchClasses[7]);
}

TEST(SongInputTest, TwentyNotesFillAFullLine) {
    SongInput song = testing::LoadSong(testing::MakeSongFiles("0,+,C,1,100,4/4", {{"C", ""}}));
    std::string line;
    for (int i = 0; i < 22; ++i) line += "067;";
    ReadNotesDat(Bytes(line + "\r\n000;\r\n"), song);
    EXPECT_EQ(song.Half(0).notes[19], 67);
    EXPECT_EQ(song.Half(0).profile.counted, 20);
}

}  // namespace
}  // namespace chordmaker
