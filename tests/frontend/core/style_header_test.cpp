#include "frontend/core/style_header.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

using S = StyleHeaderStatus;

StyleHeaderScan Scan(const std::string& text) {
    return ScanStyleHeader({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::string Record(const std::string& header) {
    return "Mtrk,1,-36,33,104,64,8,33,104,64,8,10,\"" + header + "\"\r\n\xAA\xAB";
}

struct Case {
    const char* what;
    std::string file;
    S status;
    std::string entry;
};

TEST(StyleHeaderTest, HeaderRecordGivesListEntryOrRefusal) {
    const std::string name40 = "A name that runs well past the fortieth character";
    const Case cases[] = {
        {"label, colon, signature, name", Record("Ballad: 4/4 Slow Ballad"), S::kAccepted,
         " 4/4 Slow Ballad"},
        {"every time signature", Record("W:3/4 Waltz"), S::kAccepted, " 3/4 Waltz"},
        {"six-eight", Record("J: 6/8 Jig"), S::kAccepted, " 6/8 Jig"},
        {"two-four", Record("M:2/4"), S::kAccepted, " 2/4"},
        {"signature at the end after three blanks", Record("Plain:   4/4"), S::kAccepted, " 4/4"},
        {"blanks inside the first four are dropped", Record("Odd: 4 /4 Name"), S::kAccepted,
         " 4 /4 Name"},
        {"cut at 40 characters", Record("Long: 4/4 " + name40), S::kAccepted,
         " 4/4 " + name40.substr(0, 40 - 10)},
        {"commas inside quotes", Record("Pop, Rock: 4/4 Pop, Rock"), S::kAccepted,
         " 4/4 Pop, Rock"},
        {"unquoted header text", "Mtrk,1,2,3,4,5,6,7,8,9,10,11,Pop: 4/4 Pop\r\nxx", S::kAccepted,
         " 4/4 Pop"},
        {"line feed alone ends the record", "Mtrk,1,2,3,4,5,6,7,8,9,10,11,\"P: 4/4 P\"\nxx",
         S::kAccepted, " 4/4 P"},
        {"signature followed by a letter", Record("Bad: 4/4x Name"), S::kBadTimeSignature, ""},
        {"unknown signature", Record("Bad: 5/4 Name"), S::kBadTimeSignature, ""},
        {"no colon", Record("No colon 4/4 Name"), S::kNoColon, ""},
        {"colon at position 40", Record(std::string(39, 'x') + ": 4/4 Name"), S::kNoColon, ""},
        {"only colon beyond position 39", Record(std::string(45, 'x') + ": 4/4"), S::kNoColon, ""},
        {"colon at 39 leaves one blank", Record(std::string(38, 'x') + ": 4/4"), S::kEmptyHeader,
         ""},
        {"nothing after the colon", Record("Empty:      "), S::kEmptyHeader, ""},
        {"record ends before field 13", "Mtrk,1,2,3\r\nLabel: 4/4 Name\r\n", S::kNoColon, ""},
        {"five bytes", "Mtrk,", S::kNotAStyle, ""},
        {"tag in other case", "MTRK,1,2,3,4,5,6,7,8,9,10,11,\"P: 4/4 P\"\r\n", S::kNotAStyle, ""},
        {"not a style", "RIFF....WAVEfmt ", S::kNotAStyle, ""},
        {"empty", "", S::kNotAStyle, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const StyleHeaderScan scan = Scan(c.file);
        EXPECT_EQ(scan.status, c.status);
        EXPECT_EQ(scan.entry, c.entry);
    }
}

TEST(StyleHeaderTest, RefusalsCarryTheFileName) {
    EXPECT_EQ(StyleHeaderMessage(S::kNoColon, "Ab1234.sty"),
              "Style data error in Ab1234.sty: No <:> mark found in header.");
    EXPECT_EQ(StyleHeaderMessage(S::kEmptyHeader, "Ab1234.sty"),
              "Style data error in Ab1234.sty: empty header.");
    EXPECT_EQ(StyleHeaderMessage(S::kBadTimeSignature, "Ab1234.sty"),
              "Style data error in Ab1234.sty: Invalid timesignature.");
    EXPECT_EQ(StyleHeaderMessage(S::kNotAStyle, "Ab1234.sty"), "");
}

TEST(StyleHeaderTest, KnowsWhetherTheFirstRecordIsComplete) {
    const std::string cut = "Mtrk,1,2,3,4,5";
    const std::string whole = Record("P: 4/4 P");
    EXPECT_FALSE(HoldsFirstRecord({reinterpret_cast<const std::uint8_t*>(cut.data()), cut.size()}));
    EXPECT_TRUE(
        HoldsFirstRecord({reinterpret_cast<const std::uint8_t*>(whole.data()), whole.size()}));
}

}  // namespace
}  // namespace corvane
