#include "workers/melody/melody_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace melody {
namespace {

std::vector<std::string> Split(std::string line, int* count) {
    QuenbyTokens tokens{};
    *count = SplitQuenbyLine(line.data(), tokens);
    std::vector<std::string> result;
    for (int n = 1; n <= *count; ++n) result.emplace_back(tokens[n]);
    return result;
}

TEST(SplitQuenbyLine, CutsAtEveryBlank) {
    struct Case {
        std::string line;
        int count;
        std::vector<std::string> tokens;
    };
    const Case cases[] = {
        {"", 0, {}},
        {" 1 2", 0, {}},
        {"1", 1, {"1"}},
        {"1  2", 3, {"1", "", "2"}},
        {"1 2 ", 3, {"1", "2", ""}},
        {"1\t2 3", 2, {"1\t2", "3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        int count = 0;
        EXPECT_EQ(Split(c.line, &count), c.tokens);
        EXPECT_EQ(count, c.count);
    }
}

TEST(SplitQuenbyLine, StopsCountingWhereASixteenthTokenWouldBegin) {
    int count = 0;
    const auto tokens = Split("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18", &count);
    EXPECT_EQ(count, 15);
    EXPECT_EQ(tokens.back(), "15");
}

TEST(ConvertToken, TakesTheLeadingNumberAndSaturates) {
    struct Case {
        const char* text;
        std::int32_t asLong;
        std::int16_t asShort;
    };
    const Case cases[] = {
        {"12", 12, 12},
        {"-3", -3, -3},
        {"+7", 7, 7},
        {"12abc", 12, 12},
        {"abc", 0, 0},
        {"", 0, 0},
        {"-", 0, 0},
        {"40000", 40000, -25536},  // the low 16 bits
        {"65537", 65537, 1},
        {"2147483647", 2147483647, -1},
        {"99999999999999999999", 2147483647, -1},
        {"-99999999999999999999", -2147483647 - 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ConvertLongToken(c.text), c.asLong);
        EXPECT_EQ(ConvertShortToken(c.text), c.asShort);
    }
}

QuenbyArgs ValidArgs() {
    QuenbyArgs args;
    args.callerWnd = 1234;
    return args;
}

TEST(QuenbyArgsInRange, ChecksEveryFieldAtItsBounds) {
    EXPECT_TRUE(QuenbyArgsInRange(ValidArgs()));
    struct Case {
        const char* name;
        void (*change)(QuenbyArgs&);
        bool accepted;
    };
    const Case cases[] = {
        {"track 0", [](QuenbyArgs& a) { a.job.trackNo = 0; }, false},
        {"track 16", [](QuenbyArgs& a) { a.job.trackNo = 16; }, true},
        {"track 17", [](QuenbyArgs& a) { a.job.trackNo = 17; }, false},
        {"beats 5", [](QuenbyArgs& a) { a.job.beatsCode = 5; }, false},
        {"beats 6", [](QuenbyArgs& a) { a.job.beatsCode = 6; }, true},
        {"key -7", [](QuenbyArgs& a) { a.job.keySf = -7; }, false},
        {"key 7", [](QuenbyArgs& a) { a.job.keySf = 7; }, true},
        {"key 8", [](QuenbyArgs& a) { a.job.keySf = 8; }, false},
        {"tonic 59", [](QuenbyArgs& a) { a.job.tonicNote = 59; }, false},
        {"tonic 71", [](QuenbyArgs& a) { a.job.tonicNote = 71; }, true},
        {"tonic 72", [](QuenbyArgs& a) { a.job.tonicNote = 72; }, false},
        {"tempo 19", [](QuenbyArgs& a) { a.job.tempoBpm = 19; }, false},
        {"tempo 240", [](QuenbyArgs& a) { a.job.tempoBpm = 240; }, true},
        {"tempo 241", [](QuenbyArgs& a) { a.job.tempoBpm = 241; }, false},
        {"factor 3", [](QuenbyArgs& a) { a.job.timeFactor = 3; }, false},
        {"note-off flag 2", [](QuenbyArgs& a) { a.job.noteOffZero = 2; }, false},
        {"intro 17", [](QuenbyArgs& a) { a.job.introMeasures = 17; }, false},
        {"ending -1", [](QuenbyArgs& a) { a.job.endingMeasures = -1; }, false},
        {"volume 49", [](QuenbyArgs& a) { a.job.velPercent = 49; }, false},
        {"volume 201", [](QuenbyArgs& a) { a.job.velPercent = 201; }, false},
        {"handle 0", [](QuenbyArgs& a) { a.callerWnd = 0; }, false},
        {"handle negative", [](QuenbyArgs& a) { a.callerWnd = -5; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuenbyArgs args = ValidArgs();
        c.change(args);
        EXPECT_EQ(QuenbyArgsInRange(args), c.accepted);
    }
}

TEST(SumTokenRemainder, IsZeroForTheCallersSumAndWrapsIn32Bits) {
    char line[] = "5 6 -2 67 200 2 1 16 16 200 0 2116010269 0";
    QuenbyTokens tokens{};
    ASSERT_EQ(SplitQuenbyLine(line, tokens), 13);
    QuenbyArgs args = ConvertQuenbyTokens(tokens);
    EXPECT_EQ(args.job.keySf, -2);
    EXPECT_EQ(args.callerWnd, 2116010269);
    const std::int64_t sum = 5 + 6 - 2 + 67 + 200 + 2 + 1 + 16 + 16 + 200 + 2116010269LL;
    args.sumToken = static_cast<std::int32_t>(sum);
    EXPECT_EQ(SumTokenRemainder(args), 0);
    args.sumToken += 1;
    EXPECT_EQ(SumTokenRemainder(args), 1);
    // A sum beyond the 32-bit range arrives saturated and leaves a remainder.
    args.sumToken = 2147483647;
    args.callerWnd = 2147483647;
    EXPECT_EQ(SumTokenRemainder(args), -static_cast<std::int32_t>(sum - 2116010269LL));
}

}  // namespace
}  // namespace melody
