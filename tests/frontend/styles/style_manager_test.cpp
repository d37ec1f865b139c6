// The style manager without its window: how a search text splits into its three parts, which
// row a search finds, the duplicate check of the sorted list and the exported listing.
#include "frontend/styles/style_manager.h"

#include <gtest/gtest.h>

namespace corvane::styles {
namespace {

TEST(StyleSearch, TheTextSplitsAtItsFirstTwoBlanks) {
    struct Case {
        const char* text;
        std::array<std::string, 3> parts;
    };
    const Case cases[] = {
        {"  rock   4/4 ", {"rock", "", " 4/4"}},
        {"rock", {"rock", "", ""}},
        {"slow ballad", {"slow", "ballad", ""}},
        {"slow ballad 4/4 piano", {"slow", "ballad", "4/4 piano"}},
        {"a  b", {"a", "", "b"}},
        {"   ", {"", "", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(SearchParts(c.text), c.parts) << "'" << c.text << "'";
}

TEST(StyleSearch, AnyPartMatchesWithoutLetterCase) {
    const std::vector<std::string> rows = {" 2/4 Polka", " 3/4 Waltz", " 4/4 Hard Rock",
                                           " 4/4 Slow Ballad", " 6/8 Jig"};
    struct Case {
        const char* text;
        int start;
        int row;  // -1: no match
        const char* part;
    };
    const Case cases[] = {
        {"ROCK", 0, 2, "ROCK"},
        {"rock", 3, -1, ""},
        {"jig waltz", 0, 1, "waltz"},  // parts are tried per row, rows in order
        {"jig waltz", 2, 4, "jig"},
        {"nothing   4/4", 0, 2, " 4/4"},  // the third part keeps its blank
        {"  rock   4/4 ", 0, 2, "rock"},
        {"xyz 6/8", 0, 4, "6/8"},
        {"", 0, -1, ""},
        {"   ", 0, -1, ""},
        {"polka", 5, -1, ""},
        {"polka", -1, 0, "polka"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "' from " << c.start);
        const auto match = FindStyle(rows, c.start, c.text);
        ASSERT_EQ(match.has_value(), c.row >= 0);
        if (!match) continue;
        EXPECT_EQ(match->row, c.row);
        EXPECT_EQ(match->part, c.part);
    }
}

TEST(StyleListing, DuplicatesAreNeighboursInTheSortedList) {
    struct Case {
        std::vector<std::string> rows;
        int duplicate;
    };
    const Case cases[] = {
        {{" 4/4 Alpha", " 4/4 Beta"}, -1},
        {{" 4/4 Alpha", " 4/4 ALPHA ", " 4/4 Beta", " 4/4 Beta"}, 1},
        {{" 4/4 Alpha", " 4/4 Beta", " 4/4 beta"}, 2},
        {{}, -1},
        {{"   ", " 4/4 Alpha"}, 0},  // the first row is compared with the empty text
    };
    for (const Case& c : cases) EXPECT_EQ(FirstDuplicateRow(c.rows), c.duplicate);
}

TEST(StyleListing, ScanOrderFileFirstThenTheTotal) {
    StyleLibrary library;
    library.StyleFiles = {"Zz0001.sty", "Aa0002.sty"};
    library.StyleNames = {" 4/4 Slow Ballad", " 3/4 Waltz"};
    EXPECT_EQ(StyleListText(library),
              "Zz0001.sty =  4/4 Slow Ballad\r\nAa0002.sty =  3/4 Waltz\r\nTotal = 2 styles.\r\n");
    EXPECT_EQ(StyleListSavedText(), "Your Styles Listing is saved in the file named StyleList.txt");
}

}  // namespace
}  // namespace corvane::styles
