#include "frontend/styles/ui/frm_opt3.h"

#include "frontend/app/app.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/style_panel.h"

namespace corvane::styles {
namespace {

const char* const kModeCaptions[4] = {"Mode 0 : Normal tunes", "Mode 1 : Soft tunes",
                                      "Mode 2 : Soft, fantasied tunes",
                                      "Mode 3 : Soft, sustained tunes"};

const char* const kTips =
    "Tips:\n"
    " - In the Mode 0, instruments can accompany with Auto Sustain Control (when 'Sustained' is "
    "checked). This mode produces good sound effect for some instruments such as Acoustic "
    "Guitars, Pianos... But it may also produce bad sound effect for some others instruments "
    "such as Basses, Organs, Strings, FXs... User should use this mode carefully.\n"
    " - Instrument or Drum in the modes 1, 2, or 3 usually starts to accompany immediately at "
    "the beginning of the first section.";

// A one-character field of the Tag (1-based position), trimmed; empty past the end.
QString TagField(const QString& tag, int position) {
    return tag.size() >= position ? tag.mid(position - 1, 1).trimmed() : QString();
}

}  // namespace

FrmOpt3::FrmOpt3(QWidget* parent)
    : DeactivatingDialog("FrmOpt3", "Select play mode for instrument", parent) {
    setFixedSize(400, 390);
    QRadioButton** options[4] = {&OptMode0, &OptMode1, &OptMode2, &OptMode3};
    for (int m = 0; m < 4; ++m) {
        *options[m] = MakeControl<QRadioButton>(this, "OptMode" + QString::number(m),
                                                {16, 12 + 24 * m, 250, 22});
        (*options[m])->setText(kModeCaptions[m]);
        connect(*options[m], &QRadioButton::clicked, this, [this, m] { OptMode_Click(m); });
    }
    ChkSustained = MakeControl<QCheckBox>(this, "ChkSustained", {280, 12, 110, 22});
    ChkSustained->setText("Sustained");
    Label1 = MakeControl<QLabel>(this, "Label1", {16, 112, 370, 34});
    Label1->setText("When you change this option, you need to re-run: 3.Make Output");
    Label1->setWordWrap(true);
    TxtTips = MakeControl<QPlainTextEdit>(this, "TxtTips", {16, 150, 370, 186});
    TxtTips->setPlainText(kTips);
    TxtTips->setReadOnly(true);
    TxtTips->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    CmdOk = MakeControl<QPushButton>(this, "CmdOk", {200, 350, 88, 28});
    CmdOk->setText("Ok");
    CmdCancel = MakeControl<QPushButton>(this, "CmdCancel", {298, 350, 88, 28});
    CmdCancel->setText("Cancel");
    for (QPushButton* button : {CmdOk, CmdCancel}) button->setAutoDefault(false);
    connect(CmdOk, &QPushButton::clicked, this, &FrmOpt3::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmOpt3::CmdCancel_Click);
}

void FrmOpt3::Form_Activate() {
    const QString mode = TagField(Tag, 1);
    const QString part = TagField(Tag, 3);
    const QString sustain = TagField(Tag, 5);
    DialogPart = part.isEmpty() ? 0 : part.toInt();
    if (!mode.isEmpty()) {
        bool ok = false;
        const int m = mode.toInt(&ok);
        if (ok) DialogMode = m;
        if (ok && m >= 0 && m < 4) {
            Options()[m]->setChecked(true);
            OptMode_Click(m);
            Options()[m]->setFocus();
        }
    } else {
        DialogMode = 0;
    }
    ChkSustained->setChecked(sustain == "1");
}

void FrmOpt3::OptMode_Click(int mode) {
    ChkSustained->setEnabled(mode == 0);
}

void FrmOpt3::CmdOk_Click() {
    int mode = 0;
    int sustain = 0;
    if (OptMode0->isChecked() && ChkSustained->isChecked()) sustain = 1;
    for (int m = 1; m < 4; ++m) {
        if (Options()[m]->isChecked()) mode = m;
    }
    App& app = App::Get();
    SlotTables& tables = app.slotTables;
    // Applied before the dialog hides: the main window's activation then finds nothing to undo.
    if (DialogPart >= 0 && DialogPart < kPartCount) {
        tables.PartMode(tables.CurSlot, DialogPart) = static_cast<std::int16_t>(mode);
        app.frmMain().LblInstM[DialogPart]->SetCaption(QString::number(mode));
        tables.PartSustain(tables.CurSlot, DialogPart) = static_cast<std::int16_t>(sustain);
        app.frmMain().stylePanel().DisplaySusSetting(tables.CurSlot);
    }
    hide();
}

void FrmOpt3::Form_KeyPress(int keyAscii) {
    if (keyAscii == 27) Deactivate();
    if (keyAscii == 13) CmdOk_Click();
}

}  // namespace corvane::styles
