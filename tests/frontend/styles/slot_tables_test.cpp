#include "frontend/styles/slot_tables.h"

#include <gtest/gtest.h>

namespace corvane::styles {
namespace {

TEST(SlotTablesTest, StartsWithTheStyleDefaultsOfEveryPart) {
    const SlotTables tables;
    for (int s = 0; s < 6; ++s) {
        for (int p = 0; p < 5; ++p) {
            EXPECT_EQ(tables.StyChannel(s, p), p == 4 ? 9 : 1);
            EXPECT_EQ(tables.StyPan(s, p), 64);
        }
        EXPECT_EQ(tables.PartVol(s, 5), 80);
    }
    EXPECT_THROW(tables.PartProgram(6, 0), std::out_of_range);
    EXPECT_THROW(tables.PartVol(0, 7), std::out_of_range);
}

TEST(SlotTablesTest, ModeCodeForTheComposerAndForFiles) {
    struct Case {
        int mode;
        int sustain;
        int partModeCode;
        int fileModeCode;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {0, 1, 10, 10},
        {2, 0, 2, 2},
        {3, 0, 3, 3},
        // The two forms differ only for a sustain flag left on in modes 1 to 3.
        {1, 1, 11, 1},
        {3, 1, 13, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " sustain " + std::to_string(c.sustain));
        SlotTables tables;
        tables.PartMode(2, 3) = static_cast<std::int16_t>(c.mode);
        tables.PartSustain(2, 3) = static_cast<std::int16_t>(c.sustain);
        EXPECT_EQ(tables.PartModeCode(2, 3), c.partModeCode);
        EXPECT_EQ(tables.FileModeCode(2, 3), c.fileModeCode);
    }
}

TEST(SlotTablesTest, ResetsTouchOnlyTheirSlotAndTheirTable) {
    SlotTables tables;
    for (int s : {1, 2}) {
        for (int p = 0; p < 5; ++p) {
            tables.PartProgram(s, p) = 25;
            tables.PartVol(s, p) = 100;
            tables.PartMode(s, p) = 2;
            tables.PartSustain(s, p) = 1;
            tables.StyMode(s, p) = static_cast<std::int16_t>(p % 4);
            tables.StySustain(s, p) = p == 2 ? 1 : 0;
        }
        tables.PartVol(s, 5) = 40;
        tables.SectVol[s] = 40;
    }
    tables.ResetPartVols(1);
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(tables.PartVol(1, p), 0);
        EXPECT_EQ(tables.PartProgram(1, p), 25);
        EXPECT_EQ(tables.PartMode(1, p), 2);
    }
    EXPECT_EQ(tables.PartVol(1, 5), 80);
    EXPECT_EQ(tables.SectVol[1], 80);

    tables.ResetPartModes(1);
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(tables.PartMode(1, p), p % 4);
        EXPECT_EQ(tables.PartSustain(1, p), p == 2 ? 1 : 0);
    }
    tables.ResetPartPrograms(1);
    for (int p = 0; p < 5; ++p) EXPECT_EQ(tables.PartProgram(1, p), 0);

    // Slot 2 was not asked for.
    EXPECT_EQ(tables.PartProgram(2, 0), 25);
    EXPECT_EQ(tables.PartVol(2, 5), 40);
    EXPECT_EQ(tables.SectVol[2], 40);
    EXPECT_EQ(tables.PartMode(2, 1), 2);
}

}  // namespace
}  // namespace corvane::styles
