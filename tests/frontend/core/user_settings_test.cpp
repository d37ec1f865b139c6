#include "frontend/core/user_settings.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvane {
namespace {

using platform::qt::MemorySettingsStore;

TEST(UserSettingsTest, FirstRunTakesTheDefaults) {
    MemorySettingsStore store;
    const UserSettings settings = ReadUserSettings(store);
    EXPECT_EQ(settings.EchoCaption(0), "050");
    EXPECT_EQ(settings.EchoCaption(1), "090");
    EXPECT_EQ(settings.LevelCaption(0), "6");
    EXPECT_EQ(settings.LevelCaption(1), "5");
    EXPECT_EQ(settings.sectVol, 80);
    EXPECT_EQ(settings.sectLenIdx, 0);
    EXPECT_EQ(ReadLastStyleFile(store), "");
    EXPECT_EQ(RegAppName(), "Orvella 2426");
}

TEST(UserSettingsTest, StoredValuesOutsideTheirRangeFallBackToTheirDefault) {
    struct Case {
        const char* key;
        const char* stored;
        std::function<int(const UserSettings&)> field;
        int expected;
    };
    const auto echo1 = [](const UserSettings& s) { return s.EchoVoice(0); };
    const auto echo2 = [](const UserSettings& s) { return s.EchoVoice(1); };
    const auto level1 = [](const UserSettings& s) { return s.echoLevel[0]; };
    const auto level2 = [](const UserSettings& s) { return s.echoLevel[1]; };
    const auto volume = [](const UserSettings& s) { return s.sectVol; };
    const auto length = [](const UserSettings& s) { return s.sectLenIdx; };
    const Case cases[] = {
        {"Echo1", "128", echo1, 128},
        {"Echo1", "1", echo1, 1},
        {"Echo1", "0", echo1, 50},
        {"Echo1", "129", echo1, 50},
        {"Echo1", "abc", echo1, 50},
        {"Echo2", "33x", echo2, 33},
        {"Echo2", "-5", echo2, 90},
        {"EchV1", "9", level1, 9},
        {"EchV1", "10", level1, 6},
        {"EchV2", "-1", level2, 5},
        {"EchV2", "0", level2, 0},
        {"sAccV", "100", volume, 100},
        {"sAccV", "19", volume, 80},
        {"sAccV", "", volume, 80},
        {"sSIdx", "-1", length, -1},
        {"sSIdx", "10", length, 10},
        {"sSIdx", "11", length, 0},
        {"sSIdx", "-2", length, 0},
        {"Echo1", "99999999999999999999", echo1, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        MemorySettingsStore store;
        store.SaveSetting("Orvella 2426", "RegPcStr", c.key, c.stored);
        EXPECT_EQ(c.field(ReadUserSettings(store)), c.expected);
    }
}

TEST(UserSettingsTest, EchoCaptionsAreTheTextsAsStored) {
    const struct {
        const char* stored;
        const char* caption;
        int voice;
    } cases[] = {
        {"50", "50", 50},
        {"050", "050", 50},
        {"7", "7", 7},
        {"128", "128", 128},
        // Outside the range the default stands, in its own form.
        {"0", "090", 90},
        {"abc", "090", 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        MemorySettingsStore store;
        store.SaveSetting("Orvella 2426", "RegPcStr", "Echo2", c.stored);
        const UserSettings settings = ReadUserSettings(store);
        EXPECT_EQ(settings.EchoCaption(1), c.caption);
        EXPECT_EQ(settings.EchoVoice(1), c.voice);
        EXPECT_EQ(settings.EchoCaption(0), "050");
    }
}

TEST(UserSettingsTest, SavingWritesEveryKeyAndTheFixedSlotVolume) {
    MemorySettingsStore store;
    SaveUserSetting(store, {{"033", "127"}, {"2", "9"}, -1, "8B4431.sty"});
    const auto get = [&](const char* section, const char* key) {
        return store.GetSetting("Orvella 2426", section, key).value_or("<missing>");
    };
    EXPECT_EQ(get("RegPcStr", "Echo1"), "033");
    EXPECT_EQ(get("RegPcStr", "Echo2"), "127");
    EXPECT_EQ(get("RegPcStr", "EchV1"), "2");
    EXPECT_EQ(get("RegPcStr", "EchV2"), "9");
    EXPECT_EQ(get("RegPcStr", "sAccV"), "080");
    EXPECT_EQ(get("RegPcStr", "sSIdx"), "-1");
    EXPECT_EQ(get("RegStFName", "StFName"), "8B4431.sty");

    const UserSettings read = ReadUserSettings(store);
    EXPECT_EQ(read.EchoCaption(0), "033");
    EXPECT_EQ(read.EchoCaption(1), "127");
    EXPECT_EQ(read.echoLevel, (std::array<int, 2>{2, 9}));
    EXPECT_EQ(read.sectLenIdx, -1);
    EXPECT_EQ(ReadLastStyleFile(store), "8B4431.sty");
}

}  // namespace
}  // namespace corvane
