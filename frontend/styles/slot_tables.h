// The five style slots and their part tables: which library style each slot holds, its
// master volume, and per part the program the user chose. Element (slot, part); slot 5 exists
// in the tables but no control selects it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corvane::styles {

constexpr int kSlotCount = 5;
constexpr int kPartCount = 5;

template <int Slots, int Parts>
class SlotPartTable {
  public:
    std::int16_t& operator()(int slot, int part) { return values_.at(part).at(slot); }
    std::int16_t operator()(int slot, int part) const { return values_.at(part).at(slot); }

  private:
    std::array<std::array<std::int16_t, Slots>, Parts> values_{};
};

struct SlotTables {
    std::array<int, kSlotCount> SectStyleIdx{};  // library row of each slot's style
    std::array<int, 6> SectVol = {80, 80, 80, 80, 80, 80};
    SlotPartTable<6, 6> PartProgram;  // 0 = the style's own instrument, else program + 1
    SlotPartTable<6, 6> PartVol;      // 0 = the style's own volume, else 1..127
    SlotPartTable<6, 6> PartMode;     // play mode 0..3
    SlotPartTable<6, 6> PartSustain;  // 0 or 1
    std::array<std::string, kSlotCount> SlotStyleNames;
    std::array<std::string, 6> SlotStyleFiles;
    std::string SwPointsText;
    int CurSlot = 0;
    bool SkipStyleLoad = false;
    int AutoOctave = 0;
};

// Text colour of each slot's labels (0x00BBGGRR).
constexpr std::array<std::uint32_t, kSlotCount> kSlotColours = {0x80FFFF, 0x80FF80, 0xFFFF80,
                                                                0xC0FFC0, 0xFFFFFF};

}  // namespace corvane::styles
