// The bytes of a style setting file -> the values a load applies, or a refusal. A refused file
// changes no table; an accepted one leaves every table value in its range, every slot on a
// library style, and names each missing style file once.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "frontend/styles/style_setting_file.h"

namespace {

using namespace corvane::styles;

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const int lines = CountSettingLines(bytes);
    Check(lines >= 0);
    // Fed in two pieces, the count is the same.
    SettingLineCounter counter;
    counter.Feed(bytes.first(size / 2));
    counter.Feed(bytes.subspan(size / 2));
    Check(counter.Count() == lines);
    if (lines != kSettingLines && lines != kOlderSettingLines) return 0;

    const auto setting = ParseStyleSetting(bytes, lines);
    if (!setting) return 0;
    Check(setting->slotCount == (lines == kSettingLines ? kSlotCount : kOlderSettingSlots));

    corvane::StyleLibrary library;
    library.StyleFiles = {"Aa0001.sty", "Bb0002.sty", "Cc0003.sty"};
    library.StyleNames = {" 4/4 A", " 3/4 B", " 4/4 A"};
    const auto styles = LookUpSettingStyles(*setting, library, {" 3/4 B", " 4/4 A", " 4/4 A"});
    SlotTables tables;
    const bool good = ApplySettingValues(*setting, tables);
    for (int s = 0; s < kSlotCount; ++s) {
        Check(styles[s].libraryIndex >= 0 && styles[s].libraryIndex < library.StyleCount());
        Check(s >= setting->slotCount || styles[s].listRow >= 0);
        Check(tables.SectVol[s] >= 20 && tables.SectVol[s] <= 100);
        Check(tables.PartVol(s, kMasterVolumePart) == tables.SectVol[s]);
        for (int p = 0; p < kPartCount; ++p) {
            Check(tables.PartProgram(s, p) >= 0 && tables.PartProgram(s, p) <= 128);
            Check(tables.PartVol(s, p) >= 0 && tables.PartVol(s, p) <= 127);
            Check(tables.PartMode(s, p) >= 0 && tables.PartMode(s, p) <= 3);
            Check(tables.PartSustain(s, p) == 0 || tables.PartSustain(s, p) == 1);
        }
    }
    if (good) Check(tables.SectVol[0] == setting->sectVol[0]);
    const auto missing = MissingStyleFiles(*setting, styles);
    for (std::size_t i = 0; i < missing.size(); ++i) {
        Check(std::count(missing.begin(), missing.end(), missing[i]) == 1);
    }
    return 0;
}
