// What playback calls of the visualiser, as FrmMain procedures so that playback needs no more
// of the shell than the main window.
#include "frontend/shell/ui/frm_main.h"
#include "frontend/shell/ui/visualiser.h"

namespace corvane {

void FrmMain::ShowChordColour() {
    visualiser().ShowChordColour();
}

void FrmMain::DemoStep() {
    visualiser().DemoStep();
}

void FrmMain::SectionFlashWipe() {
    visualiser().FlashSection();
}

void FrmMain::WipeVisualiser() {
    // The box's back colour set again, even unchanged, takes every drawing away.
    Picture1->SetBackColor(Picture1->BackColor());
}

void FrmMain::ResetRipple() {
    Picture1->ForeColor = DemoDefaultColour;
    Ripple.RippleRadius = 20;
}

}  // namespace corvane
