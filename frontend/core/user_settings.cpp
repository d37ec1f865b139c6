#include "frontend/core/user_settings.h"

#include "frontend/core/vb_text.h"

namespace corvane {
namespace {

struct Range {
    const char* key;
    const char* fallback;
    long low;
    long high;
};

constexpr Range kEcho1{"Echo1", "050", 1, 128};
constexpr Range kEcho2{"Echo2", "090", 1, 128};
constexpr Range kEchV1{"EchV1", "6", 0, 9};
constexpr Range kEchV2{"EchV2", "5", 0, 9};
constexpr Range kSAccV{"sAccV", "080", 20, 100};
constexpr Range kSSIdx{"sSIdx", "0", -1, 10};

// The stored text, or the default text when its value is outside the range.
std::string ReadText(SettingsStore& store, const Range& range) {
    const std::string text =
        store.GetSetting(RegAppName(), kRegPcStr, range.key).value_or(range.fallback);
    const long value = LeadingNumber(text);
    return value < range.low || value > range.high ? std::string(range.fallback) : text;
}

int ReadValue(SettingsStore& store, const Range& range) {
    return static_cast<int>(LeadingNumber(ReadText(store, range)));
}

}  // namespace

std::string RegAppName() {
    return "Orvella " + ZeroPad(kVersionStamp, 4);
}

std::string UserSettings::EchoCaption(int i) const {
    return echoText.at(i);
}
int UserSettings::EchoVoice(int i) const {
    return static_cast<int>(LeadingNumber(echoText.at(i)));
}
std::string UserSettings::LevelCaption(int i) const {
    return std::to_string(echoLevel.at(i));
}

UserSettings ReadUserSettings(SettingsStore& store) {
    UserSettings settings;
    settings.echoText = {ReadText(store, kEcho1), ReadText(store, kEcho2)};
    settings.echoLevel = {ReadValue(store, kEchV1), ReadValue(store, kEchV2)};
    settings.sectVol = ReadValue(store, kSAccV);
    settings.sectLenIdx = ReadValue(store, kSSIdx);
    return settings;
}

std::string ReadLastStyleFile(SettingsStore& store) {
    return store.GetSetting(RegAppName(), kRegStFName, "StFName").value_or("");
}

void SaveUserSetting(SettingsStore& store, const SettingsToSave& values) {
    const std::string app = RegAppName();
    store.SaveSetting(app, kRegPcStr, kEcho1.key, values.echoCaption[0]);
    store.SaveSetting(app, kRegPcStr, kEcho2.key, values.echoCaption[1]);
    store.SaveSetting(app, kRegPcStr, kEchV1.key, values.levelCaption[0]);
    store.SaveSetting(app, kRegPcStr, kEchV2.key, values.levelCaption[1]);
    store.SaveSetting(app, kRegPcStr, kSAccV.key, "080");
    store.SaveSetting(app, kRegPcStr, kSSIdx.key, std::to_string(values.sectLenIdx));
    store.SaveSetting(app, kRegStFName, "StFName", values.styleFile);
}

}  // namespace corvane
