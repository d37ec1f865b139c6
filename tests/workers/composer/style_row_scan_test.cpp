#include "workers/composer/style_row_scan.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace composer {
namespace {

// The C library's own reading of the same text, which the scanners must equal in count and in
// every stored value.
int LibraryInts(const std::string& text, std::array<int, 11>& v) {
    return std::sscanf(text.c_str(), "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,", &v[0], &v[1], &v[2],
                       &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10]);
}

int LibraryDoubles(const std::string& text, std::array<double, 16>& v) {
    return std::sscanf(text.c_str(),
                       "%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,", &v[0],
                       &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10],
                       &v[11], &v[12], &v[13], &v[14], &v[15]);
}

// Compares bit patterns, so -0 against 0 and one NaN against another are told apart or matched
// exactly.
bool SameDouble(double a, double b) {
    return std::signbit(a) == std::signbit(b) && (a == b || (std::isnan(a) && std::isnan(b)));
}

void ExpectLikeTheLibrary(const std::string& text) {
    SCOPED_TRACE("row \"" + text + "\"");
    std::array<int, 11> libraryInts;
    std::array<int, 11> ints;
    libraryInts.fill(7);
    ints.fill(7);
    EXPECT_EQ(ScanIntRow(text.c_str(), ints), LibraryInts(text, libraryInts));
    EXPECT_EQ(ints, libraryInts);

    std::array<double, 16> libraryDoubles;
    std::array<double, 16> doubles;
    libraryDoubles.fill(7.5);
    doubles.fill(7.5);
    EXPECT_EQ(ScanDoubleRow(text.c_str(), doubles), LibraryDoubles(text, libraryDoubles));
    for (std::size_t i = 0; i < doubles.size(); ++i) {
        EXPECT_TRUE(SameDouble(doubles[i], libraryDoubles[i]))
            << "value " << i << ": " << doubles[i] << " against " << libraryDoubles[i];
    }
}

TEST(StyleRowScan, ReadsRowsAsTheLibraryDoes) {
    const char* rows[] = {
        // Rows as the style files hold them.
        "0,",
        "6,10,13,\r",
        "-6,-10,-13,",
        "36.3,-42.05,1001096.7,",
        "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,",
        "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,",
        "1,0,100,64,40,0,100,64,40,0,250,\"Name\"",
        // Signs and white space.
        "+6,+-6,",
        "- 6,",
        "-,5",
        "+",
        " \t 6, \r\n 7",
        "6 ,7",
        "6,\v\f8",
        "--1",
        "-0,-0.0,+0.0",
        // Fields missing or cut short.
        "",
        "   ",
        "\r",
        ",",
        ",6",
        "6,,7",
        "6",
        "6,",
        "6,x",
        "x",
        ".5,5.,.,",
        "5..5",
        "1.2.3,",
        // Sizes beyond an int, a long and every double digit.
        "2147483647,2147483648,-2147483648,-2147483649,4294967297,",
        "9223372036854775807,9223372036854775808,-9223372036854775808,-9223372036854775809,",
        "99999999999999999999999,-99999999999999999999999,",
        "0.1000000000000000055511151231257827021181583404541015625,",
        "123456789012345678901234567890.123456789012345678901234567890,",
        "9007199254740993,9007199254740993.0000000000000001,",
        // What the C library reads with its own rules behind the plain decimals.
        "1e3,1E-3,1e,1e+,2e-x,",
        "0x1A,0x,0x1p4,",
        "inf,-INF,nan,infinity,infx,",
        "1e400,-1e400,1e-400,",
        "12abc,7",
        "6\x01,7",
    };
    for (const char* row : rows) ExpectLikeTheLibrary(row);
}

TEST(StyleRowScan, RandomRowsOfRowCharactersReadAsTheLibraryDoes) {
    // The characters a damaged or hand-edited row could mix; a fixed seed keeps the run the same.
    const std::string alphabet = "0123456789000,,,,--+.. \t\reEx";
    std::mt19937 random(20260101);
    for (int n = 0; n < 20000; ++n) {
        std::string row;
        const int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i) row += alphabet[random() % alphabet.size()];
        ExpectLikeTheLibrary(row);
        if (HasFailure()) break;
    }
}

TEST(StyleRowScan, DecimalsOfEveryLengthRoundAsTheLibraryRoundsThem) {
    // Up to fifteen digits and beyond, with the point anywhere: where a quick reading would
    // round differently from the library, the last bit of some value shows it.
    std::mt19937 random(7);
    for (int n = 0; n < 20000; ++n) {
        const int digits = 1 + static_cast<int>(random() % 18);
        std::string number;
        for (int i = 0; i < digits; ++i) number += static_cast<char>('0' + random() % 10);
        const int point = static_cast<int>(random() % (digits + 1));
        if (point > 0 && point < digits) number.insert(static_cast<std::size_t>(point), ".");
        ExpectLikeTheLibrary((random() % 2 ? "-" : "") + number + ",");
        if (HasFailure()) break;
    }
}

TEST(StyleRowScan, StopsAtTheFieldsAsked) {
    int two[2] = {};
    EXPECT_EQ(ScanIntRow("3,-4,5,", two), 2);
    EXPECT_EQ(two[0], 3);
    EXPECT_EQ(two[1], -4);
    double one[1] = {};
    EXPECT_EQ(ScanDoubleRow("2.5x", one), 1);
    EXPECT_EQ(one[0], 2.5);
}

}  // namespace
}  // namespace composer
