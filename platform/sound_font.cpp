#include "platform/sound_font.h"

#include <filesystem>

namespace platform {

std::optional<std::string> FindGeneralMidiSoundFont() {
    for (const char* name : {"default-GM.sf2", "FluidR3_GM.sf2", "TimGM6mb.sf2"}) {
        const std::filesystem::path path = std::filesystem::path("/usr/share/sounds/sf2") / name;
        std::error_code ignored;
        if (std::filesystem::is_regular_file(path, ignored)) return path.string();
    }
    return std::nullopt;
}

}  // namespace platform
