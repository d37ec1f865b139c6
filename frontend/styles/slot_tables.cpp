#include "frontend/styles/slot_tables.h"

namespace corvane::styles {

PartStyle DefaultPartStyle(int part) {
    PartStyle style;
    if (part == kDrumPart) style.channel = kDrumChannel;
    return style;
}

SlotTables::SlotTables() {
    for (int slot = 0; slot < 6; ++slot) {
        PartVol(slot, kMasterVolumePart) = kDefaultSectVol;
        for (int part = 0; part < kPartCount; ++part)
            SetPartStyle(slot, part, DefaultPartStyle(part));
    }
}

void SlotTables::SetPartStyle(int slot, int part, const PartStyle& style) {
    StyNoteBase(slot, part) = style.noteBase;
    StyPan(slot, part) = style.pan;
    StyChannel(slot, part) = style.channel;
    StyMode(slot, part) = style.mode;
    StySustain(slot, part) = style.sustain;
}

int SlotTables::PartModeCode(int slot, int part) const {
    return 10 * PartSustain(slot, part) + PartMode(slot, part);
}

int SlotTables::FileModeCode(int slot, int part) const {
    if (PartMode(slot, part) != 0) return PartMode(slot, part);
    return PartSustain(slot, part) == 1 ? 10 : 0;
}

void SlotTables::ResetPartVols(int slot) {
    for (int part = 0; part < kPartCount; ++part) PartVol(slot, part) = 0;
    PartVol(slot, kMasterVolumePart) = kDefaultSectVol;
    SectVol.at(slot) = kDefaultSectVol;
}

void SlotTables::ResetPartModes(int slot) {
    for (int part = 0; part < kPartCount; ++part) {
        PartMode(slot, part) = StyMode(slot, part);
        PartSustain(slot, part) = StySustain(slot, part);
    }
}

void SlotTables::ResetPartPrograms(int slot) {
    for (int part = 0; part < kPartCount; ++part) PartProgram(slot, part) = 0;
}

}  // namespace corvane::styles
