#include "frontend/styles/ui/frm_opt2.h"

#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/shell/ui/frm_main.h"

namespace corvane::styles {

FrmOpt2::FrmOpt2(QWidget* parent) : DeactivatingDialog("FrmOpt2", "Select an option 2", parent) {
    setFixedSize(420, 250);
    const char* captions[4] = {
        "Simple : Do not use so many accords", "Normal : Use quite many accords",
        "Complex : Use more accords as possible", "Mixing : Do some thing other"};
    QRadioButton** options[4] = {&OptSimple2, &OptNormal2, &OptComplex2, &OptMixing2};
    const char* names[4] = {"OptSimple2", "OptNormal2", "OptComplex2", "OptMixing2"};
    for (int m = 0; m < 4; ++m) {
        *options[m] = MakeControl<QRadioButton>(this, names[m], {16, 12 + 24 * m, 380, 22});
        (*options[m])->setText(captions[m]);
    }
    Label2 = MakeControl<QLabel>(this, "Label2", {16, 112, 260, 36});
    Label2->setText("Minimum section's length for Auto Style Switch Mode :");
    Label2->setWordWrap(true);
    CmbSectLen = MakeControl<QComboBox>(this, "CmbSectLen", {284, 116, 120, 24});
    CmbSectLen->addItem("Any(Unlimited)");
    for (int row = 1; row <= 10; ++row)
        CmbSectLen->addItem(QString("%1 measures").arg(8 * row, 3, 10, QChar('0')));
    MakeOkCancel(this, CmdOk, CmdCancel, Label1,
                 "When you change this option, you need to re-run: 2.Proceed and 3.Make Output.",
                 154);
    connect(CmdOk, &QPushButton::clicked, this, &FrmOpt2::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmOpt2::CmdCancel_Click);
}

void FrmOpt2::Form_Activate() {
    const auto mode = TagMode(Tag);
    QRadioButton* options[4] = {OptSimple2, OptNormal2, OptComplex2, OptMixing2};
    if (mode && *mode >= 1 && *mode <= 4) {
        options[*mode - 1]->setChecked(true);
        options[*mode - 1]->setFocus();
    }
    // -1 is a list without a selection; a length the list does not have opens at its first row.
    const int stored = App::Get().g.SectLenIdx;
    CmbSectLen->setCurrentIndex(
        stored == -1 ? -1 : (stored >= 0 && stored < CmbSectLen->count() ? stored : 0));
    CmbSectLen->update();
}

void FrmOpt2::CmdOk_Click() {
    App& app = App::Get();
    if (OptMixing2->isChecked()) app.g.MakeOptMode = 4;
    if (OptComplex2->isChecked()) app.g.MakeOptMode = 3;
    if (OptNormal2->isChecked()) app.g.MakeOptMode = 2;
    if (OptSimple2->isChecked()) app.g.MakeOptMode = 1;
    app.frmMain().LblMix->SetCaption(QString::fromStdString(MakeModeNames().at(app.g.MakeOptMode)));
    app.g.SectLenIdx = CmbSectLen->currentIndex();
    hide();
}

void FrmOpt2::Form_KeyPress(int keyAscii) {
    if (keyAscii == 13) CmdOk_Click();
    DeactivatingDialog::Form_KeyPress(keyAscii);
}

}  // namespace corvane::styles
