#include "frontend/editors/ui/frm_drfill.h"

#include <QLabel>
#include <QTimer>

#include "frontend/app/app.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/editors/ui/frm_chord.h"
#include "platform/qt/msg_box.h"

namespace corvane::editors {

FrmDrFill::FrmDrFill(QWidget* parent) : DeactivatingDialog("FrmDrFill", "Drum Fill", parent) {
    setFixedSize(300, 330);
    PicDrFills = MakeControl<QGroupBox>(this, "PicDrFills", {8, 8, 284, 204});
    PicDrFills->setTitle("Drum/Instrument modes :");
    const std::array<const char*, 7> names = {"OptDr1",     "OptDr2",     "OptIntro1", "OptIntro2",
                                              "OptNormal1", "OptNormal2", "OptPause"};
    const std::array<const char*, 7> captions = {"Fill1 (2=>1)", "Fill2 (7=>6)", "Intro1 (4)",
                                                 "Intro2 (3)",   "Normal1 (0)",  "Normal2 (5)",
                                                 "Pause (9)"};
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const int column = static_cast<int>(i / 4);
        const int line = static_cast<int>(i % 4);
        options_[i] = MakeControl<QRadioButton>(PicDrFills, names[i],
                                                {10 + 136 * column, 24 + 26 * line, 130, 22});
        options_[i]->setText(captions[i]);
    }
    OptDr1 = options_[0];
    OptDr2 = options_[1];
    OptIntro1 = options_[2];
    OptIntro2 = options_[3];
    OptNormal1 = options_[4];
    OptNormal2 = options_[5];
    OptPause = options_[6];
    OptDr1->setChecked(true);
    CmdMakeDr = MakeControl<QPushButton>(PicDrFills, "CmdMakeDr", {182, 164, 92, 28});
    CmdMakeDr->setText("Make");

    PicStySwitch = MakeControl<QGroupBox>(this, "PicStySwitch", {8, 218, 284, 66});
    PicStySwitch->setTitle("Style switching :");
    auto* label = MakeControl<QLabel>(PicStySwitch, "LblSwitchTo", {10, 28, 104, 22});
    label->setText("Switch style to :");
    CmbStyIds = MakeControl<QComboBox>(PicStySwitch, "CmbStyIds", {118, 26, 56, 26});
    CmbStyIds->addItems({"1", "2", "3", "4", "5"});
    CmbStyIds->setCurrentIndex(0);
    CmdSetSwPoint = MakeControl<QPushButton>(PicStySwitch, "CmdSetSwPoint", {182, 26, 92, 28});
    CmdSetSwPoint->setText("Set");

    CmdCancel = MakeControl<QPushButton>(this, "CmdCancel", {200, 292, 92, 28});
    CmdCancel->setText("Cancel");
    for (QPushButton* button : {CmdMakeDr, CmdSetSwPoint, CmdCancel}) button->setAutoDefault(false);

    connect(CmdMakeDr, &QPushButton::clicked, this, &FrmDrFill::CmdMakeDr_Click);
    connect(CmdSetSwPoint, &QPushButton::clicked, this, &FrmDrFill::CmdSetSwPoint_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmDrFill::CmdCancel_Click);
}

void FrmDrFill::Form_Activate() {
    const std::optional<DrumWizardTarget> target = ParseDrumWizardTag(Tag.toStdString());
    if (!target) {
        // Hidden once it is on screen: a hide while it is being shown would leave its window up.
        QTimer::singleShot(0, this, [this] {
            hide();
            platform::qt::MsgBox("Invalid Tag in call to Drum Wizard.",
                                 platform::qt::MsgIcon::kCritical);
        });
        return;
    }
    TagRow = target->row;
    TagCol = target->column;
    CmdSetSwPoint->setEnabled(StyleSetEnabled(TagRow, App::Get().g.ChordMsCount));
    CmdMakeDr->setEnabled(DrumMakeEnabled(TagCol));
}

DrumFillOption FrmDrFill::SelectedOption() const {
    for (std::size_t i = 0; i < options_.size(); ++i) {
        if (options_[i]->isChecked()) return static_cast<DrumFillOption>(i);
    }
    return DrumFillOption::kFill1;
}

void FrmDrFill::CmdMakeDr_Click() {
    App& app = App::Get();
    FrmChord& editor = app.frmChord();
    ChordGrid& grid = *editor.MSFlexGrid1;
    if (app.g.ChordListBusy || TagRow > grid.Rows() - 1 || TagRow < 1 || !DrumMakeEnabled(TagCol))
        return;
    const DrumFillCodes codes = CodesOf(SelectedOption());
    grid.SetTextArray(editor.faIndex(TagRow, TagCol), QString::fromStdString(codes.at));
    if (!codes.before.empty() && TagRow > 1)
        grid.SetTextArray(editor.faIndex(TagRow - 1, TagCol), QString::fromStdString(codes.before));
    editor.MarkEdited();
    // The names under the grid follow when the current row's code changed.
    editor.ShowSectionNames();
    hide();
}

void FrmDrFill::CmdSetSwPoint_Click() {
    App& app = App::Get();
    FrmChord& editor = app.frmChord();
    ChordGrid& grid = *editor.MSFlexGrid1;
    // Row 0 holds the headings.
    if (app.g.ChordListBusy || TagRow >= grid.Rows() - 1 || TagRow < 1) return;
    grid.SetTextArray(editor.faIndex(TagRow, kColSty),
                      QString::number(CmbStyIds->currentIndex() + 1));
    editor.MarkEdited();
    hide();
}

}  // namespace corvane::editors
