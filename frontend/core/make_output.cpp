#include "frontend/core/make_output.h"

#include "frontend/core/vb_text.h"

namespace corvane {

std::string StyleTimeSignature(std::string_view styleEntry) {
    const std::size_t start = styleEntry.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    const std::size_t end = styleEntry.find(' ', start);
    return std::string(styleEntry.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string TimeSignatureRefusal(std::string_view styleSig, std::string_view songSig) {
    return "Cannot Make Style <" + std::string(styleSig) + "> for Song <" + std::string(songSig) +
           ">\nPlease choose a style with the same Timesignature as in the input song.";
}

MeasureUnits MeasureUnitsOf(std::string_view timeSig) {
    if (timeSig == "2/4") return {8, 4, 4, 2};
    if (timeSig == "3/4") return {12, 8, 4, 3};
    if (timeSig == "6/8") return {12, 6, 2, 6};
    return {};
}

std::string VParaText(const styles::SlotTables& tables) {
    std::string text;
    for (int slot = 0; slot < styles::kSlotCount; ++slot) {
        std::string line = ZeroPad(tables.SectVol[slot], 3);
        for (int part = 0; part < styles::kPartCount; ++part)
            line += "," + ZeroPad(tables.PartProgram(slot, part), 3);
        for (int part = 0; part < styles::kPartCount; ++part)
            line += "," + ZeroPad(tables.PartVol(slot, part), 3);
        for (int part = 0; part < styles::kPartCount; ++part)
            line += "," + ZeroPad(tables.PartModeCode(slot, part), 3);
        text += line + "\r\n";
    }
    return text;
}

}  // namespace corvane
