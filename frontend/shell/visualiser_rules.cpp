#include "frontend/shell/visualiser_rules.h"

namespace corvane::shell {

int ChordRootOf(std::string_view chordText) {
    static constexpr std::string_view kLetters = "ABCDEFG";
    if (chordText.empty()) return -1;
    const auto letter = kLetters.find(chordText[0]);
    if (letter == std::string_view::npos) return -1;
    const bool flat = chordText.size() > 1 && chordText[1] == 'b';
    return 2 * static_cast<int>(letter) + 1 - (flat ? 1 : 0);
}

int FillStyleFor(float rnd) {
    int n = static_cast<int>(rnd * 12);
    if (n > 5 || n == 3) n = 0;
    return n;
}

int NextDrawModeAfter(int drawMode) {
    return drawMode < 16 ? drawMode + 1 : 1;
}

DemoColourCycle NextDemoColours(DemoColourCycle now, int button) {
    if (button == 1) {
        if (now.step < 73) now.step += 5;
    } else if (now.step > 8) {
        now.step -= 5;
    }
    now.index = now.index + 1 == 5 ? 0 : now.index + 1;
    return now;
}

VisColour WalkColour(VisColour colour, int component, int amount) {
    int parts[3] = {static_cast<int>(colour % 256), static_cast<int>(colour / 256 % 256),
                    static_cast<int>(colour / 65536 % 256)};
    int& part = parts[component];
    part += amount;
    while (part >= 256) part -= 256;
    for (int& p : parts) {
        if (p < 0 || p > 255) p = 0;
    }
    return static_cast<VisColour>(parts[0] + 256 * parts[1] + 65536 * parts[2]);
}

float NextRippleStep(float rippleStep) {
    return rippleStep < 40 ? rippleStep + 0.1f : 30.0f;
}

}  // namespace corvane::shell
