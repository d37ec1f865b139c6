// The settings store on Linux: one INI file per application name at
// $XDG_CONFIG_HOME/Orvella/<application>.ini (else ~/.config/Orvella/...), one INI group per
// section, every value bytes (UTF-8 ones kept as text, others as a byte array). Qt writes the
// file through a temporary name, so an interrupted write never leaves half a settings file.
// Only a regular file is read or written: a FIFO or a folder at the name counts as a missing
// file, so nothing ever waits on it.
#pragma once

#include <QString>

#include "platform/qt/settings_store.h"

namespace platform::qt {

class IniSettingsStore : public SettingsStore {
  public:
    std::optional<std::string> GetSetting(const std::string& appName, const std::string& section,
                                          const std::string& key) override;
    void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                     const std::string& value) override;

    // Where the values of `appName` are kept.
    static QString FilePath(const std::string& appName);
};

}  // namespace platform::qt
