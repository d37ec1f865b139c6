// The five style slots and their part tables: which library style each slot holds, its
// master volume, per part what the user chose (program, volume, play mode, sustain) and what
// the slot's style prescribes for its tracks. Element (slot, part); slot 5 exists in the
// tables but no control selects it. Part index 4 is the drum track.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corvane::styles {

constexpr int kSlotCount = 5;
constexpr int kPartCount = 5;
constexpr int kDrumPart = 4;
constexpr int kDrumChannel = 9;
constexpr int kMasterVolumePart = 5;  // PartVol's row of the slot's master volume
constexpr int kDefaultSectVol = 80;
constexpr int kDefaultPan = 64;

template <int Slots, int Parts>
class SlotPartTable {
  public:
    explicit SlotPartTable(std::int16_t initial = 0) {
        for (auto& row : values_) row.fill(initial);
    }
    std::int16_t& operator()(int slot, int part) { return values_.at(part).at(slot); }
    std::int16_t operator()(int slot, int part) const { return values_.at(part).at(slot); }

  private:
    std::array<std::array<std::int16_t, Slots>, Parts> values_{};
};

// What the style prescribes for one track, as its track record gives it.
struct PartStyle {
    std::int16_t noteBase = 0;
    std::int16_t pan = kDefaultPan;
    std::int16_t channel = 1;
    std::int16_t mode = 0;
    std::int16_t sustain = 0;
};

// The values a slot's part has before any record is read: melodic parts on channel 1, the drum
// part on channel 9, mode 0, pan 64.
PartStyle DefaultPartStyle(int part);

struct SlotTables {
    SlotTables();

    std::array<int, kSlotCount> SectStyleIdx{};  // library row of each slot's style
    std::array<int, 6> SectVol = {80, 80, 80, 80, 80, 80};
    SlotPartTable<6, 6> PartProgram;  // 0 = the style's own instrument, else program + 1
    SlotPartTable<6, 7> PartVol;      // 0 = the style's own volume; part 5 the master volume
    SlotPartTable<6, 6> PartMode;     // 0..3
    SlotPartTable<6, 6> PartSustain;  // 1 = automatic sustain (mode 0 only)
    SlotPartTable<6, 6> StyNoteBase;
    SlotPartTable<6, 6> StyPan{kDefaultPan};
    SlotPartTable<6, 6> StyChannel;
    SlotPartTable<6, 6> StyMode;
    SlotPartTable<6, 6> StySustain;
    std::array<std::string, kSlotCount> SlotStyleNames;
    std::array<std::string, 6> SlotStyleFiles;
    std::string SwPointsText;
    int CurSlot = 0;
    bool SkipStyleLoad = false;
    int AutoOctave = 0;

    void SetPartStyle(int slot, int part, const PartStyle& style);

    // The form a part's mode and sustain reach the composer in: 10 x sustain + mode.
    int PartModeCode(int slot, int part) const;
    // The form song projects and style setting files keep them in: the mode when it is not 0,
    // else 10 when sustain is set, else 0.
    int FileModeCode(int slot, int part) const;

    // The tables of a slot after a style was read into it (the panel's controls are the
    // caller's): volumes to the style's own with master 80, modes and sustain to the style's,
    // programs to the style's own instruments.
    void ResetPartVols(int slot);
    void ResetPartModes(int slot);
    void ResetPartPrograms(int slot);
};

// Text colour of each slot's labels (0x00BBGGRR).
constexpr std::array<std::uint32_t, kSlotCount> kSlotColours = {0x80FFFF, 0x80FF80, 0xFFFF80,
                                                                0xC0FFC0, 0xFFFFFF};

}  // namespace corvane::styles
