// The composer's command line and play options: the splitter of its 18 tokens, the decoding of
// every token into options, the per-slot settings that follow from a style file name, and the
// play options file "vPara.dat". Everything here works on text already in memory.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workers/composer/compose_types.h"

namespace composer {

// What a style file name tells before the style is read.
struct SlotSettings {
    int styleVersion = 1;
    int stepsPerQuarter = 8;
    int lines24 = 16;
    int lines34 = 24;
    int lines44 = 32;
    int maxTickOffset = 47;
    std::uint8_t styleKey = 0;
    int flagLate = 0;
    int flagNew = 0;
    std::string styleCode = "xxxx";
};

// One line of "vPara.dat".
struct SlotParams {
    int sectVol = 0;
    std::array<int, kStyleTrackCount> partProgram{};
    std::array<int, kStyleTrackCount> partVol{};
    std::array<int, kStyleTrackCount> channelMode{};
    std::array<int, kStyleTrackCount> partModeTens{};
};

struct ComposeOptions {
    int echoLevel1 = 65;
    int echoLevel2 = 65;
    int headRelease = 80;
    int holdMode = 1;
    int echoProgram1 = 52;
    int echoProgram2 = 52;
    int chordDataKey = 0;
    int autoOctave = 0;
    std::uint32_t callerWindow = 0;
    int version = 0;
    std::array<std::string, kSlotCount> styleNames;
};

// Splits at every blank (two blanks in a row give an empty field). Returns the field count + 1,
// 0 for an empty line or one that begins with a blank; more than kArgumentFieldLimit fields
// return kArgumentFieldLimit + 2 and keep only the first kArgumentFieldLimit.
int SplitComposeArgs(std::string_view line, std::vector<std::string>& fields);

// Plain decimal conversion: optional blanks and sign, then leading digits; no digits give 0.
// Saturates instead of overflowing.
int DecimalValue(std::string_view text);

// Decodes the 18 fields (fields[0] is token 1). The caller has checked the count.
ComposeOptions DecodeComposeArgs(const std::vector<std::string>& fields);

SlotSettings SlotSettingsFromName(std::string_view styleName);

// Reads "vPara.dat" (text with its line ends as LF). Slots not present keep zeros. False when a
// line does not give exactly 16 values.
[[nodiscard]] bool ParseVPara(std::span<const std::uint8_t> text,
                              std::array<SlotParams, kSlotCount>& slots);

// Reads lines the way a fixed buffer does: at most maxChars characters a read, a line end
// included, so a longer line comes back in pieces.
class TextLines {
  public:
    explicit TextLines(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    // False at the end of the bytes.
    bool Next(std::size_t maxChars, std::string& line);
    // The same without a copy: `line` shows the bytes until the next read.
    bool Next(std::size_t maxChars, std::string_view& line);
    // Takes the next line only when it is exactly `line` (which ends with its only line end and
    // fits in one read): true then, as if Next had read it.
    bool NextIs(std::string_view line) {
        if (bytes_.size() - pos_ < line.size() ||
            std::memcmp(bytes_.data() + pos_, line.data(), line.size()) != 0) {
            return false;
        }
        pos_ += line.size();
        return true;
    }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Turns CR LF into LF, as a file opened for text reading delivers it.
std::vector<std::uint8_t> TextModeBytes(std::span<const std::uint8_t> bytes);

}  // namespace composer
