#include "frontend/editors/ui/frm_quenby.h"

#include "frontend/core/ui/make_control.h"

namespace corvane::editors {

FrmQuenby::FrmQuenby(QWidget* parent) : FormDialog("FrmQuenby", "Import melody from...", parent) {
    resize(480, 320);
    for (int i = 0; i < 16; ++i) {
        OptTrk[i] = MakeControl<QRadioButton>(this, ElementName("OptTrk", i),
                                              {8 + 56 * (i % 8), 8 + 24 * (i / 8), 52, 20});
        OptTrk[i]->setText(QString::number(i + 1));
    }
    TxtScaleVol = MakeControl<QLineEdit>(this, "TxtScaleVol", {8, 64, 60, 20});
    ChkNhan2 = MakeControl<QCheckBox>(this, "ChkNhan2", {76, 64, 100, 20});
    ChkNhan2->setText("x2 Melody");
    TxtIntro = MakeControl<QLineEdit>(this, "TxtIntro", {184, 64, 60, 20});
    TxtEnding = MakeControl<QLineEdit>(this, "TxtEnding", {252, 64, 60, 20});
    CmdKeyDetect = MakeControl<QPushButton>(this, "CmdKeyDetect", {8, 96, 120, 26});
    LblKeyFindInfo =
        MakeControl<platform::qt::CaptionLabel>(this, "LblKeyFindInfo", {136, 96, 336, 26});
    CmdLoadIn = MakeControl<QPushButton>(this, "CmdLoadIn", {8, 284, 140, 28});
    CmdLoadIn->setText("Load-in Melody");
}

}  // namespace corvane::editors
