// The few choices the front end remembers between runs (echo voices and levels, the slot
// volume, the section length index and the style of the first slot), read at start-up and
// written by the exit button. The store is behind a small interface so this logic runs
// without Qt; values are texts, as the store keeps them.
#pragma once

#include <array>
#include <string>

#include "frontend/core/version_stamp.h"
#include "platform/qt/settings_store.h"

namespace corvane {

// The application name every read and write of the settings uses: "Orvella 2426".
std::string RegAppName();

constexpr const char* kRegPcStr = "RegPcStr";
constexpr const char* kRegStFName = "RegStFName";

using platform::qt::SettingsStore;

// What the start-up applies to the echo controls, the slot volumes and the section length.
// A stored value outside its range (or no number at all) gives that setting's default, so the
// controls never show a value they cannot hold.
struct UserSettings {
    // LblEcho's captions: the texts as stored ("50" stays "50"), so the exit saves them back
    // unchanged. Each stands for an echo voice, a program 1..128.
    std::array<std::string, 2> echoText = {"050", "090"};
    std::array<int, 2> echoLevel = {6, 5};  // 0..9, LblBackLevel; the slider holds 9 - level
    int sectVol = 80;                       // 20..100, every slot
    int sectLenIdx = 0;                     // -1..10

    std::string EchoCaption(int i) const;
    int EchoVoice(int i) const;
    std::string LevelCaption(int i) const;
};

UserSettings ReadUserSettings(SettingsStore& store);

// The echo level sliders run the other way: a slider holds 9 - level, and the level it shows
// (and the composer gets) is 9 - its value.
constexpr int kEchoLevelTop = 9;
constexpr int EchoSliderForLevel(int level) {
    return kEchoLevelTop - level;
}
constexpr int EchoLevelOfSlider(int slider) {
    return kEchoLevelTop - slider;
}

// The remembered style file of the first slot; empty when none.
std::string ReadLastStyleFile(SettingsStore& store);

// What the exit button saves: the captions as the window shows them, the section length
// index and the style file of the first slot. The slot volume is always saved as "080".
struct SettingsToSave {
    std::array<std::string, 2> echoCaption;
    std::array<std::string, 2> levelCaption;
    int sectLenIdx = 0;
    std::string styleFile;
};

void SaveUserSetting(SettingsStore& store, const SettingsToSave& values);

}  // namespace corvane
