#include "workers/common/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineNumbersTest, LeadingDigitsSaturateAndNeverOverflow) {
    struct Case {
        const char* text;
        std::int32_t int32;
        std::int16_t int16;
    };
    const Case cases[] = {
        {"2426", 2426, 2426},
        {"2426abc", 2426, 2426},
        {"  -17", -17, -17},
        {"+5", 5, 5},
        {"abc", 0, 0},
        {"", 0, 0},
        {"70000", 70000, 4464},
        {"99999999999999999999999999", 2147483647, -1},
        {"-99999999999999999999999999", -2147483648, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(worker::ParseInt32(c.text), c.int32);
        EXPECT_EQ(worker::ParseInt16(c.text), c.int16);
    }
    EXPECT_EQ(worker::ParseHandle("2116010269"), 2116010269u);
    EXPECT_EQ(worker::ParseHandle("0"), 0u);
}

}  // namespace
