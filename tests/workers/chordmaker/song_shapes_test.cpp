// Song shapes that pin the engine's passes: a minor key (the minor presets, the dominant of
// KeyChords5 near the end), a chromatic melody (colour chords, the HaBa rewrites), and a key
// change in the key list (each key's run kept from its own measure on). Every mode is pinned,
// with the last key run's path scores.
#include <gtest/gtest.h>

#include "tests/workers/chordmaker/song_fixture.h"
#include "workers/chordmaker/chord_sheet.h"

namespace chordmaker {
namespace {

using testing::KeyLine;
using testing::MeasureSpec;

struct ModeResult {
    int mode;
    const char* pathScores;
    std::vector<std::string> records;
};

struct Shape {
    const char* name;
    const char* header;
    std::vector<MeasureSpec> measures;
    std::string keys;
    std::vector<ModeResult> results;
};

void ExpectShape(const Shape& shape) {
    SCOPED_TRACE(shape.name);
    const SongInput song = testing::LoadSong(testing::MakeSongFiles(shape.header, shape.measures));
    const auto* keys = reinterpret_cast<const std::uint8_t*>(shape.keys.data());
    for (const ModeResult& expected : shape.results) {
        SCOPED_TRACE(expected.mode);
        ChordSheet sheet;
        std::string log;
        ASSERT_TRUE(MakeChordSheet(song, {keys, shape.keys.size()},
                                   {.acMode = expected.mode, .phraseLen = 8}, sheet, log));
        EXPECT_EQ(log, "");
        std::string plain;
        ASSERT_TRUE(FormatChordData(sheet, plain));
        std::vector<std::string> records;
        for (std::size_t at = 0; at < plain.size(); at += 35)
            records.push_back(plain.substr(at, 35));
        EXPECT_EQ(records, expected.records);
        EXPECT_EQ(sheet.pathScoreDump.value_or(""), expected.pathScores);
    }
}

TEST(SongShapeTest, AMinor) {
    // The harmonic-minor melody ends on E, G#, B and A: the minor presets find it.
    ExpectShape({"A minor",
                 "0,+,A,8,100,4/4",
                 {{"A", "C"},
                  {"E", "G#"},
                  {"A", "E"},
                  {"D", "F"},
                  {"B", "D"},
                  {"E", "G#"},
                  {"E", "B"},
                  {"A", ""}},
                 KeyLine(1, 1),
                 {
                     {1,
                      "002380,002300,002340,",
                      {
                          "000:0:A.m..:1:.....:0:1:A  Minor  ;",
                          "001:5:.....:1:E....:5:0:          ;",
                          "002:0:D.m..:1:.....:0:0:          ;",
                          "003:5:.....:1:.....:5:0:          ;",
                          "004:2:G....:1:.....:2:0:          ;",
                          "005:2:E..7.:1:.....:2:0:          ;",
                          "006:1:A.m..:1:.....:1:0:          ;",
                          "007:8:A.m..:1:.....:8:0:          ;",
                      }},
                     {2,
                      "005720,",
                      {
                          "000:4:A.m..:1:.....:4:1:A  Minor  ;",
                          "001:4:.....:1:E....:4:0:          ;",
                          "002:0:F....:1:E....:0:0:          ;",
                          "003:5:D.m..:1:.....:5:0:          ;",
                          "004:2:G....:1:.....:2:0:          ;",
                          "005:2:E..7.:1:.....:2:0:          ;",
                          "006:1:A.m..:1:E....:1:0:          ;",
                          "007:8:A.m..:1:.....:8:0:          ;",
                      }},
                     {3,
                      "005720,",
                      {
                          "000:4:A.m..:1:.....:4:1:A  Minor  ;",
                          "001:4:.....:1:E....:4:0:          ;",
                          "002:0:F....:1:E....:0:0:          ;",
                          "003:5:D.m..:1:.....:5:0:          ;",
                          "004:2:G.M..:1:.....:2:0:          ;",
                          "005:2:E..7.:1:.....:2:0:          ;",
                          "006:1:A.m..:1:E....:1:0:          ;",
                          "007:8:A.m..:1:.....:8:0:          ;",
                      }},
                     {4,
                      "002380,002300,002340,",
                      {
                          "000:0:A.m..:1:.....:0:1:A  Minor  ;",
                          "001:5:.....:1:E....:5:0:          ;",
                          "002:0:D.m..:1:.....:0:0:          ;",
                          "003:5:.....:1:.....:5:0:          ;",
                          "004:2:G.M..:1:.....:2:0:          ;",
                          "005:2:E..7.:1:.....:2:0:          ;",
                          "006:1:A.m..:1:.....:1:0:          ;",
                          "007:8:A.m..:1:.....:8:0:          ;",
                      }},
                 }});
}

TEST(SongShapeTest, ChromaticMelody) {
    // Every semitone: C#, D# and A# only fit colour chords (Db, D7+ that becomes Ebo, Bb).
    ExpectShape({"chromatic",
                 "0,+,C,8,100,4/4",
                 {{"C", "C#"},
                  {"D", "D#"},
                  {"E", "F"},
                  {"F#", "G"},
                  {"G#", "A"},
                  {"A#", "B"},
                  {"C", "B"},
                  {"C", ""}},
                 KeyLine(1, 0),
                 {
                     {1,
                      "001920,001960,001920,",
                      {
                          "000:0:F....:2:Db...:0:1:C  Major  ;",
                          "001:5:G....:2:Eb..o:5:0:          ;",
                          "002:0:A.m..:2:F....:0:0:          ;",
                          "003:5:Gb..o:2:C....:5:0:          ;",
                          "004:0:E....:2:A.m..:0:0:          ;",
                          "005:5:Bb...:2:G..7.:5:0:          ;",
                          "006:2:C....:2:G..7.:2:0:          ;",
                          "007:8:C....:2:.....:8:0:          ;",
                      }},
                     {2,
                      "004440,004280,004240,",
                      {
                          "000:0:C....:2:Db...:0:1:C  Major  ;",
                          "001:5:G....:2:Eb..o:5:0:          ;",
                          "002:0:C....:2:F....:0:0:          ;",
                          "003:5:Gb..o:2:C....:5:0:          ;",
                          "004:0:E....:2:D.m..:0:0:          ;",
                          "005:5:Bb...:2:G..7.:5:0:          ;",
                          "006:2:C....:2:G..7.:2:0:          ;",
                          "007:8:C....:2:.....:8:0:          ;",
                      }},
                     {3,
                      "004440,004280,004240,",
                      {
                          "000:0:C.M..:2:DbM..:0:1:C  Major  ;",
                          "001:5:G.M..:2:Eb..o:5:0:          ;",
                          "002:0:C.M..:2:F.M..:0:0:          ;",
                          "003:5:Gb..o:2:C.M..:5:0:          ;",
                          "004:0:E.M..:2:D.m..:0:0:          ;",
                          "005:5:BbM..:2:G..7.:5:0:          ;",
                          "006:2:C.M..:2:G..7.:2:0:          ;",
                          "007:8:C....:2:.....:8:0:          ;",
                      }},
                     {4,
                      "001920,001960,001920,",
                      {
                          "000:0:F.M..:2:DbM..:0:1:C  Major  ;",
                          "001:5:G.M..:2:Eb..o:5:0:          ;",
                          "002:0:A.m..:2:F.M..:0:0:          ;",
                          "003:5:Gb..o:2:C.M..:5:0:          ;",
                          "004:0:E.M..:2:A.m..:0:0:          ;",
                          "005:5:BbM..:2:G..7.:5:0:          ;",
                          "006:2:C.M..:2:G..7.:2:0:          ;",
                          "007:8:C....:2:.....:8:0:          ;",
                      }},
                 }});
}

TEST(SongShapeTest, KeyChangeInTheKeyList) {
    // C major for six measures of 3/4, then F major from measure 7: the C major run's result
    // is kept before it, F major's from it on (key digit 2, then 7; the key name at 7).
    ExpectShape({"key change",
                 "1,-,F,12,100,3/4",
                 {{"C", "E"},
                  {"G", "E"},
                  {"F", "A"},
                  {"G", "B"},
                  {"C", "E"},
                  {"C", ""},
                  {"F", "A"},
                  {"Bb", "D"},
                  {"C", "E"},
                  {"G", "Bb"},
                  {"C", "E"},
                  {"F", ""}},
                 KeyLine(1, 0) + KeyLine(7, 16),
                 {
                     {1,
                      "003800,003880,",
                      {
                          "000:0:C....:2:.....:0:1:C  Major  ;",
                          "001:5:.....:2:.....:5:0:          ;",
                          "002:3:F....:2:.....:3:0:          ;",
                          "003:2:G..7.:2:.....:2:0:          ;",
                          "004:1:C....:2:.....:1:0:          ;",
                          "005:0:.....:2:.....:0:0:          ;",
                          "006:0:F....:7:.....:0:0:F  Major  ;",
                          "007:5:Bb...:7:.....:5:0:          ;",
                          "008:0:F....:7:.....:0:0:          ;",
                          "009:2:C..7.:7:.....:2:0:          ;",
                          "010:2:.....:7:.....:2:0:          ;",
                          "011:8:F....:7:.....:8:0:          ;",
                      }},
                     {2,
                      "008100,008300,",
                      {
                          "000:4:C....:2:.....:4:1:C  Major  ;",
                          "001:4:E.m..:2:.....:4:0:          ;",
                          "002:3:F....:2:.....:3:0:          ;",
                          "003:2:G..7.:2:.....:2:0:          ;",
                          "004:1:C....:2:.....:1:0:          ;",
                          "005:0:F....:2:.....:0:0:          ;",
                          "006:0:.....:7:.....:0:0:F  Major  ;",
                          "007:5:Bb...:7:.....:5:0:          ;",
                          "008:0:F....:7:C....:0:0:          ;",
                          "009:2:C..7.:7:.....:2:0:          ;",
                          "010:2:.....:7:.....:2:0:          ;",
                          "011:8:F....:7:.....:8:0:          ;",
                      }},
                     {3,
                      "008100,008300,",
                      {
                          "000:4:C.M..:2:.....:4:1:C  Major  ;",
                          "001:4:E.m..:2:.....:4:0:          ;",
                          "002:3:F.M..:2:.....:3:0:          ;",
                          "003:2:G..7.:2:.....:2:0:          ;",
                          "004:1:C.M..:2:.....:1:0:          ;",
                          "005:0:F.M..:2:.....:0:0:          ;",
                          "006:0:.....:7:.....:0:0:F  Major  ;",
                          "007:5:BbM..:7:.....:5:0:          ;",
                          "008:0:F.M..:7:C.M..:0:0:          ;",
                          "009:2:C..7.:7:.....:2:0:          ;",
                          "010:2:.....:7:.....:2:0:          ;",
                          "011:8:F....:7:.....:8:0:          ;",
                      }},
                     {4,
                      "003800,003880,",
                      {
                          "000:0:C.M..:2:.....:0:1:C  Major  ;",
                          "001:5:.....:2:.....:5:0:          ;",
                          "002:3:F.M..:2:.....:3:0:          ;",
                          "003:2:G..7.:2:.....:2:0:          ;",
                          "004:1:C.M..:2:.....:1:0:          ;",
                          "005:0:.....:2:.....:0:0:          ;",
                          "006:0:F.M..:7:.....:0:0:F  Major  ;",
                          "007:5:BbM..:7:.....:5:0:          ;",
                          "008:0:F.M..:7:F.M7.:0:0:          ;",
                          "009:2:C..7.:7:.....:2:0:          ;",
                          "010:2:.....:7:.....:2:0:          ;",
                          "011:8:F....:7:.....:8:0:          ;",
                      }},
                 }});
}

}  // namespace
}  // namespace chordmaker
