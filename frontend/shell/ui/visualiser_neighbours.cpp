// What playback asks of the visualiser, in its least form: the colour demo cannot be switched
// on yet, so only the flat chord colour of the demo's off state is shown; nothing is drawn, so
// there is nothing to wipe. The visualiser (issue 22) replaces these with its own.
#include "frontend/app/app.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/style_panel.h"

namespace corvane {

void FrmMain::ShowChordColour() {
    // The root colour of the current row's second chord, or the designed colour off the song.
    const QString bar = LblHa->Caption();
    if (bar == "0" || bar == "End") {
        SetBackColour(Picture1, DemoDefaultColour);
        SetBackColour(PictIcon, DemoDefaultColour);
        return;
    }
    const int root = stylePanel().ChordRootIndex(1);
    if (root < 0) return;
    const Colour colour = ChordColours.at(static_cast<std::size_t>(root));
    SetBackColour(Picture1, colour);
    SetBackColour(PictIcon, colour);
}

void FrmMain::DemoStep() {}

void FrmMain::SectionFlashWipe() {}

void FrmMain::WipeVisualiser() {
    Picture1->update();
}

void FrmMain::ResetRipple() {
    Ripple.RippleRadius = 20;
}

}  // namespace corvane
