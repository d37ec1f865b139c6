// The mixer bars: their design ranges and their change handling, which the mixer component
// holds (frontend/shell/ui/mixer.h).
#include "frontend/app/app.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/shell/ui/mixer.h"

namespace corvane {

void FrmMain::InitMixerBars() {
    for (int i = 0; i < 5; ++i) CanGatVol[i]->SetMax(127);
    CanGatVol[5]->SetMax(100);
    CanGatVol[5]->SetMin(20);
    CanGatVol[5]->SetValue(80);
    // The position bars span one bar until an output is opened.
    for (int i = 0; i < 2; ++i) CanGatOut[i]->SetMax(1);
    for (int i = 0; i < 6; ++i) {
        QObject::connect(CanGatVol[i], &platform::qt::ValueBar::Change, this,
                         [this, i] { CanGatVol_Change(i); });
    }
    for (int i = 0; i < 2; ++i) {
        QObject::connect(CanGatEcho[i], &platform::qt::ValueBar::Change, this,
                         [this, i] { CanGatEcho_Change(i); });
        QObject::connect(CanGatOut[i], &platform::qt::ValueBar::Change, this,
                         [this, i] { CanGatOut_Change(i); });
    }
}

// A bar may change while the window is still being put together; the mixer's start (the
// painter) brings thumbs and tables in step.
void FrmMain::CanGatVol_Change(int index) {
    if (mixer_) mixer_->CanGatVol_Change(index);
}

void FrmMain::CanGatEcho_Change(int index) {
    if (mixer_) mixer_->CanGatEcho_Change(index);
}

void FrmMain::CanGatOut_Change(int index) {
    if (mixer_) mixer_->CanGatOut_Change(index);
}

}  // namespace corvane
