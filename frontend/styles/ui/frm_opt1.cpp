#include "frontend/styles/ui/frm_opt1.h"

#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/shell/ui/frm_main.h"

namespace corvane::styles {

FrmOpt1::FrmOpt1(QWidget* parent) : DeactivatingDialog("FrmOpt1", "Select an option 1", parent) {
    setFixedSize(420, 200);
    const char* captions[3] = {"Simple : Do not change accords so often",
                               "Mixing : Do some thing other",
                               "Complex : Change accords more often"};
    QRadioButton** options[3] = {&OptSimple, &OptMixing, &OptComplex};
    const char* names[3] = {"OptSimple", "OptMixing", "OptComplex"};
    for (int m = 0; m < 3; ++m) {
        *options[m] = MakeControl<QRadioButton>(this, names[m], {16, 12 + 24 * m, 380, 22});
        (*options[m])->setText(captions[m]);
    }
    MakeOkCancel(this, CmdOk, CmdCancel, Label1,
                 "When you change this option, you need to re-run: 1.Load (or Generate), "
                 "2.Proceed and 3.Make Output. When you load a *.qxs file these options will "
                 "have no effect.",
                 92);
    connect(CmdOk, &QPushButton::clicked, this, &FrmOpt1::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmOpt1::CmdCancel_Click);
}

void FrmOpt1::Form_Activate() {
    const auto mode = TagMode(Tag);
    QRadioButton* options[3] = {OptSimple, OptMixing, OptComplex};
    if (mode && *mode >= 0 && *mode < 3) {
        options[*mode]->setChecked(true);
        options[*mode]->setFocus();
    }
}

void FrmOpt1::CmdOk_Click() {
    App& app = App::Get();
    int mode = 2;
    if (OptSimple->isChecked()) mode = 0;
    if (OptMixing->isChecked()) mode = 1;
    app.g.ChordOptMode = mode;
    app.frmMain().LblMode->SetCaption(QString::fromStdString(ChordModeNames()[mode]));
    hide();
}

void FrmOpt1::Form_KeyPress(int keyAscii) {
    if (keyAscii == 13) CmdOk_Click();
    DeactivatingDialog::Form_KeyPress(keyAscii);
}

}  // namespace corvane::styles
