#include "tools/firstrun/stored_settings.h"

#include "frontend/core/user_settings.h"
#include "platform/qt/settings_store.h"

namespace firstrun {

StoredSettings SettingsOfAFirstRun() {
    platform::qt::MemorySettingsStore nothingStored;
    const corvane::UserSettings settings = corvane::ReadUserSettings(nothingStored);
    return {settings.echoVoice, settings.echoLevel, settings.sectVol};
}

}  // namespace firstrun
