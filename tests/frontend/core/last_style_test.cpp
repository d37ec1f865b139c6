#include "frontend/core/last_style.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::vector<std::string> kFiles = {"Zz4401.sty", "Aa3401.sty", "Mm4402.sty"};
const std::vector<std::string> kNames = {" 4/4 Zulu", " 3/4 Alpha", " 4/4 Mike"};
// The hidden list sorts the entries: " 3/4 Alpha", " 4/4 Mike", " 4/4 Zulu".
const std::vector<std::string> kSorted = {" 3/4 Alpha", " 4/4 Mike", " 4/4 Zulu"};

TEST(LastStyleTest, RemembersTheFileOrFallsBackToRowZero) {
    struct Case {
        const char* remembered;
        int sectStyleIdx;
        int styleListIdx;
        const char* entry;
    };
    const Case cases[] = {
        {"", 0, 2, " 4/4 Zulu"},
        {"Mm4402.sty", 2, 1, " 4/4 Mike"},
        {"aA3401.STY", 1, 0, " 3/4 Alpha"},  // found in another letter case
        {"Gone99.sty", 0, 2, " 4/4 Zulu"},   // no longer in the library
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remembered);
        const RestoredStyle restored = RestoreLastStyle(c.remembered, kFiles, kNames, kSorted);
        EXPECT_FALSE(restored.fatalText);
        EXPECT_EQ(restored.sectStyleIdx, c.sectStyleIdx);
        EXPECT_EQ(restored.styleListIdx, c.styleListIdx);
        EXPECT_EQ(restored.entry, c.entry);
    }
}

TEST(LastStyleTest, EntryMissingFromTheListFallsBackAndRowZeroMissingIsFatal) {
    // The remembered style's entry is not in the list: row 0 is used.
    const std::vector<std::string> partial = {" 4/4 Zulu"};
    const RestoredStyle fallback = RestoreLastStyle("Mm4402.sty", kFiles, kNames, partial);
    EXPECT_EQ(fallback.sectStyleIdx, 0);
    EXPECT_EQ(fallback.styleListIdx, 0);
    EXPECT_FALSE(fallback.fatalText);

    const RestoredStyle fatal = RestoreLastStyle("", kFiles, kNames, {" 3/4 Alpha"});
    ASSERT_TRUE(fatal.fatalText);
    EXPECT_EQ(*fatal.fatalText, "Fatal Error: StyName < 4/4 Zulu> not found in the list.");
}

}  // namespace
}  // namespace corvane
