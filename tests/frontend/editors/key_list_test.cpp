// The key list file as the key list dialog reads and saves it.
#include "frontend/editors/key_list.h"

#include <gtest/gtest.h>

namespace corvane::editors {
namespace {

TEST(KeyListTest, LinesOfTheDialog) {
    EXPECT_EQ(KeyChangeLine({1, 2}), "001:02;G  Major");
    EXPECT_EQ(KeyChangeLine({12, 27}), "012:27;Eb Minor");
    EXPECT_EQ(KeyUserItem({12, 2}), "012: G  Major");
}

TEST(KeyListTest, KeySignatureOfEachKeyCode) {
    const struct {
        int code;
        const char* sig;
    } cases[] = {{0, "0"},   {1, "0"},   {3, "+1"},  {14, "+7"}, {15, "+7"},
                 {16, "-1"}, {25, "-5"}, {27, "-6"}, {28, ""}};
    for (const auto& c : cases) EXPECT_EQ(KeySigTable()[c.code], c.sig) << c.code;
}

TEST(KeyListTest, TypedMeasureStaysWithinTheFirst250) {
    const struct {
        const char* text;
        int measure;
    } cases[] = {{"12", 12}, {"012", 12}, {"250", 250}, {"251", 1}, {"0", 1}, {"-5", 1},
                 {"abc", 1}, {"", 1},     {" 7x", 7},   {"999", 1}, {"1", 1}};
    for (const auto& c : cases) EXPECT_EQ(MsNoOf(c.text), c.measure) << c.text;
}

TEST(KeyListTest, ReadingStopsAtTheFirstInvalidLine) {
    const struct {
        const char* what;
        const char* text;
        std::size_t changes;
        bool bad;
    } cases[] = {
        {"two lines", "001:02;G  Major\r\n012:03;E  Minor\r\n", 2, false},
        {"LF only, no last line end", "001:02;G  Major\n012:03;E  Minor", 2, false},
        {"measure 000", "000:00;C  Major\r\n", 1, false},
        {"name not checked", "001:02;anything\r\n", 1, false},
        {"measure 251", "001:02;G  Major\r\n251:02;G  Major\r\n", 1, true},
        {"key code 28", "001:28;G  Major\r\n", 0, true},
        {"14 characters", "001:02;G  Majo\r\n", 0, true},
        {"no colon", "001-02;G  Major\r\n001:02;G  Major\r\n", 0, true},
        {"an empty line", "001:02;G  Major\r\n\r\n012:03;E  Minor\r\n", 1, true},
        {"empty file", "", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const KeysDataRead read = ParseKeysData(c.text);
        EXPECT_EQ(read.changes.size(), c.changes);
        EXPECT_EQ(read.badLine, c.bad);
    }
    const KeysDataRead read = ParseKeysData("005:02;xxxxxxxx\r\n");
    ASSERT_EQ(read.changes.size(), 1u);
    EXPECT_EQ(read.changes[0].measure, 5);
    EXPECT_EQ(read.changes[0].code, 2);
}

TEST(KeyListTest, SavingStartsAtMeasureOneAndDropsRepeatedKeys) {
    const struct {
        std::vector<std::string> lines;
        const char* text;
    } cases[] = {
        {{"012:02;G  Major"}, "001:02;G  Major\r\n"},
        {{"001:00;C  Major", "010:00;C  Major", "020:02;G  Major"},
         "001:00;C  Major\r\n020:02;G  Major\r\n"},
        {{"001:00;C  Major", "010:02;G  Major", "020:00;C  Major"},
         "001:00;C  Major\r\n010:02;G  Major\r\n020:00;C  Major\r\n"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeysDataText(c.lines), c.text);
    }
}

}  // namespace
}  // namespace corvane::editors
