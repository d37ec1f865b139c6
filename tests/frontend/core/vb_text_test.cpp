#include "frontend/core/vb_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace corvane {
namespace {

TEST(VbTextTest, ZeroPadAndLeadingNumber) {
    EXPECT_EQ(ZeroPad(7, 3), "007");
    EXPECT_EQ(ZeroPad(1234, 3), "1234");
    EXPECT_EQ(ZeroPad(-7, 3), "-007");
    EXPECT_EQ(ZeroPad(LLONG_MIN, 2), "-9223372036854775808");
    EXPECT_EQ(ZeroPad(0, 4), "0000");

    const std::pair<const char*, long> numbers[] = {
        {"050", 50},
        {"  12abc", 12},
        {"-1", -1},
        {"+3", 3},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483648L},
    };
    for (const auto& [text, value] : numbers) {
        SCOPED_TRACE(text);
        EXPECT_EQ(LeadingNumber(text), value);
    }
}

TEST(VbTextTest, TrimCaseAndRounding) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_TRUE(EqualsNoCase("Ab1234.STY", "aB1234.sty"));
    EXPECT_FALSE(EqualsNoCase("Ab1234.sty", "Ab1234.st"));
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
}

}  // namespace
}  // namespace corvane
