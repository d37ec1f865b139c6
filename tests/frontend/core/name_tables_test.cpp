#include "frontend/core/name_tables.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(NameTablesTest, SpotRowsReadAsWritten) {
    EXPECT_EQ(InstrumentNames()[0], "Use default instrument");
    EXPECT_EQ(InstrumentNames()[1], "001: Piano Acoustic Grand");
    EXPECT_EQ(InstrumentNames()[69], "069: Obeo");
    EXPECT_EQ(InstrumentNames()[128], "128: Gunshot Noise");
    EXPECT_EQ(InstrumentNames()[129], "");

    EXPECT_EQ(DrumKitNames()[0], "Use Default Program");
    EXPECT_EQ(DrumKitNames()[1], "001: Standard Kit 1");
    EXPECT_EQ(DrumKitNames()[3], "003: Program No 003");
    EXPECT_EQ(DrumKitNames()[17], "017: Rock Kit");
    EXPECT_EQ(DrumKitNames()[26], "026: Analog Kit");
    EXPECT_EQ(DrumKitNames()[49], "049: Classic Kit");
    EXPECT_EQ(DrumKitNames()[128], "128: Program No 128");

    EXPECT_EQ(KeyNameTable()[24], "Db Major");
    EXPECT_EQ(KeyAccidentalTable()[24], "5,-,Db");
    EXPECT_EQ(KeyAccidentalTable()[1], "0,+,A");
    EXPECT_EQ(KeyNameTable()[0], "C  Major");
    EXPECT_EQ(KeyAccidentalTable()[27], "6,-,Eb");
    EXPECT_EQ(KeyNameTable()[28], "");

    EXPECT_EQ(ChordModeNames()[kDefaultChordOptMode], "Complex");
    EXPECT_EQ(MakeModeNames()[kDefaultMakeOptMode], "Complex");
    EXPECT_EQ(MakeModeNames()[0], "NotUsed");
}

TEST(NameTablesTest, EveryKeySignatureTextMatchesItsKeyName) {
    // The key of a song is found by comparing the song header's start with these texts, so
    // each must name the same tonic as the key name beside it.
    for (int code = 0; code < 28; ++code) {
        SCOPED_TRACE(code);
        const std::string& accidentals = KeyAccidentalTable()[code];
        const std::string tonic = accidentals.substr(4);
        EXPECT_EQ(KeyNameTable()[code].substr(0, tonic.size()), tonic);
        EXPECT_EQ(KeyNameTable()[code].size(), 8u);
    }
}

TEST(NameTablesTest, ColoursAreBlueGreenRed) {
    EXPECT_EQ(Rgb(255, 255, 128), 0x80FFFFu);
    EXPECT_EQ(ChordColours()[2], Rgb(224, 176, 0));
    EXPECT_EQ(ChordColours()[13], Rgb(240, 0, 240));
    EXPECT_EQ(BeatLedColours()[0], 0x0000FFu);
    EXPECT_EQ(BeatLedColours()[5], 0x00FFFFu);
    const auto demo = DemoBackColours(0x3A2410);
    EXPECT_EQ(demo[0], 0x3A2410u);
    EXPECT_EQ(demo[4], 0xE0E0E0u);
}

}  // namespace
}  // namespace corvane
