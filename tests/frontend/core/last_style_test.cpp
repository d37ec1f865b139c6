#include "frontend/core/last_style.h"

#include <gtest/gtest.h>

#include <utility>

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

// A remembered name with bytes outside ASCII (a file named in another encoding, a title with a
// Latin-1 letter) is found by its ASCII letters in any case and its other bytes as they stand.
TEST(LastStyleTest, OnlyAsciiLettersAreComparedWithoutCase) {
    const std::vector<std::string> files = {"Aa3401.sty", "\xE9t\xE9xx.sty"};
    const std::vector<std::string> names = {" 3/4 Alpha", " 3/4 Caf\xE9"};
    for (const auto& [remembered, row] :
         {std::pair<std::string, int>{"\xE9T\xE9XX.STY", 1}, {"\xC9t\xE9xx.sty", 0}}) {
        SCOPED_TRACE(remembered);
        const RestoredStyle restored = RestoreLastStyle(remembered, files, names, names);
        EXPECT_EQ(restored.sectStyleIdx, row);
        EXPECT_EQ(restored.styleListIdx, row);
        EXPECT_EQ(restored.entry, names[static_cast<std::size_t>(row)]);
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
