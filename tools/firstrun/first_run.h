// What the window's Make Output sends the composer on a first run, built with the front end's own
// rules: the settings a start-up reads when nothing is stored (echo voices 50 and 90, echo levels
// 6 and 5, every slot at 80 percent), each slot's style read as the style panel reads it (every
// part at its style's own program, volume and play mode), the play options as Make writes
// "vPara.dat" and the composer's command line as Make builds it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace firstrun {

constexpr int kSlots = 5;
constexpr int kParts = 5;  // four melodic parts, then the drums

struct SlotStyle {
    std::string file;                 // "8B4431.sty"
    std::vector<std::uint8_t> bytes;  // the style file
};

struct MakeRequest {
    std::string vPara;        // the text of "vPara.dat"
    std::string commandLine;  // "Compose" and its 18 tokens
};

// `partVolumes`: a part's volume slider moved to that value in every slot; 0 leaves the style's
// own volume, as on a first run. nullopt when a style's track records cannot be read (the window
// reports "Error getting Style Parameters").
std::optional<MakeRequest> FirstRunMake(const std::array<SlotStyle, kSlots>& slots, int songTempo,
                                        int chordKey, std::uint32_t handle,
                                        const std::array<int, kParts>& partVolumes = {});

}  // namespace firstrun
