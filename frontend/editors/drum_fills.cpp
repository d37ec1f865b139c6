#include "frontend/editors/drum_fills.h"

#include "frontend/core/vb_text.h"

namespace corvane::editors {
namespace {

bool OneOf(char code, std::string_view codes) {
    return codes.find(code) != std::string_view::npos;
}

}  // namespace

std::string ApplyDrumMode(DrumMode mode, std::string_view codes) {
    std::string out(codes);
    if (mode == DrumMode::kFull) return out;
    // Plain measures alternate Normal1, Normal2 from the last code that stays.
    int counter = 0;
    bool variationSeen = false;
    for (char& code : out) {
        bool stays = false;
        switch (mode) {
            case DrumMode::kLess:
                stays = OneOf(code, "67");
                break;
            case DrumMode::kMore:
                // The song's opening (its intro) stays whole until the first Variation.
                variationSeen = variationSeen || code == '1';
                stays = !variationSeen || OneOf(code, "12678");
                break;
            default:
                break;
        }
        if (stays) {
            counter = 0;
            continue;
        }
        code = counter % 2 == 1 ? '5' : '0';
        ++counter;
    }
    return out;
}

ChordRecord SplitChordListLine(std::string_view line, int index) {
    const auto field = [line](std::size_t at, std::size_t length) {
        std::string text(at < line.size() ? line.substr(at, length) : std::string_view());
        text.resize(length, ' ');
        return text;
    };
    ChordRecord record;
    record.msNo = ZeroPad(index + 1, 3);
    record.chord1 = field(5, 5);
    record.chord2 = field(12, 5);
    record.drum = field(kLineDrumAt, 1)[0];
    record.inst = field(23, 1)[0];
    record.sty = field(27, 1)[0];
    record.comment = field(28, 10);
    return record;
}

std::vector<std::string> ApplyDrumMode(DrumMode mode, const std::vector<std::string>& lines) {
    std::string codes;
    for (const std::string& line : lines)
        codes += line.size() > kLineDrumAt ? line[kLineDrumAt] : ' ';
    const std::string rewritten = ApplyDrumMode(mode, codes);
    std::vector<std::string> out = lines;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i].size() > kLineDrumAt) out[i][kLineDrumAt] = rewritten[i];
    }
    return out;
}

}  // namespace corvane::editors
