// The per-user settings store as the front end's logic sees it: an application name, a section
// and a key address a text value. The logic is written against this interface so it runs
// without Qt; ini_settings.h keeps the values in an INI file per application, and
// MemorySettingsStore keeps them in memory for tests.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace platform::qt {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // nullopt when the application, the section or the key is missing.
    virtual std::optional<std::string> GetSetting(const std::string& appName,
                                                  const std::string& section,
                                                  const std::string& key) = 0;
    virtual void SaveSetting(const std::string& appName, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

class MemorySettingsStore : public SettingsStore {
  public:
    std::optional<std::string> GetSetting(const std::string& appName, const std::string& section,
                                          const std::string& key) override {
        const auto it = values_.find({appName, section, key});
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                     const std::string& value) override {
        values_[{appName, section, key}] = value;
    }

  private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

}  // namespace platform::qt
