// Where Debian keeps a General MIDI sound font, in the order the system prefers them.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The first of default-GM.sf2, FluidR3_GM.sf2 and TimGM6mb.sf2 in /usr/share/sounds/sf2 that
// exists, or nothing.
std::optional<std::string> FindGeneralMidiSoundFont();

}  // namespace platform
