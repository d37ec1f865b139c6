#include "frontend/editors/ui/frm_taoac.h"

#include "frontend/app/app.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/editors/ui/frm_chord.h"
#include "platform/qt/editor_font.h"

namespace corvane::editors {
namespace {

template <std::size_t N>
int Checked(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i) {
        if (options[i]->isChecked()) return static_cast<int>(i);
    }
    return 0;
}

// A group frame with its option buttons in one row below the caption.
template <std::size_t N>
QGroupBox* MakeGroup(QWidget* form, const char* name, const char* caption, const QRect& place,
                     std::array<QRadioButton*, N>& options, const std::array<const char*, N>& names,
                     const std::array<const char*, N>& captions, const std::array<int, N>& widths) {
    auto* group = MakeControl<QGroupBox>(form, name, place);
    group->setTitle(caption);
    int x = 10;
    for (std::size_t i = 0; i < N; ++i) {
        options[i] = MakeControl<QRadioButton>(group, names[i], {x, 22, widths[i], 22});
        options[i]->setText(captions[i]);
        x += widths[i] + 6;
    }
    options[0]->setChecked(true);
    return group;
}

}  // namespace

FrmTaoAc::FrmTaoAc(QWidget* parent) : DeactivatingDialog("FrmTaoAc", "Chord Wizard", parent) {
    setFixedSize(520, 400);
    auto* rootGroup = MakeControl<QGroupBox>(this, "PicRoot", {8, 8, 250, 56});
    rootGroup->setTitle("Options 1 - Root :");
    CmbRoot = MakeControl<QComboBox>(rootGroup, "CmbRoot", {10, 24, 80, 24});
    CmbRoot->addItems({"A", "B", "C", "D", "E", "F", "G"});
    auto* chordCaption = MakeControl<QLabel>(this, "LblChordCaption", {280, 30, 50, 22});
    chordCaption->setText("Chord");
    LblChStr = MakeControl<QLabel>(this, "LblChStr", {336, 26, 100, 30});
    QFont font = platform::qt::EditorFont();
    font.setPixelSize(18);
    LblChStr->setFont(font);
    LblChStr->setFrameShape(QFrame::StyledPanel);

    PicFlatSharp = MakeGroup<3>(this, "PicFlatSharp", "Options 2 - Flat/Sharp :", {8, 70, 504, 54},
                                accidentals_, {"Opt2None", "OptSharp", "OptFlat"},
                                {"None", "# = Sharp", "b = Flat"}, {70, 110, 110});
    PicMajMinSus = MakeGroup<5>(
        this, "PicMajMinSus", "Options 3 - Major/Minor/Sus4/Diminished :", {8, 128, 504, 54},
        qualities_, {"Opt3None", "OptMajor", "OptMinor", "OptSus4", "OptDim"},
        {"None", "M = Major", "m = Minor", "s = Sus4", " o = Diminished"}, {60, 90, 90, 82, 130});
    Pic679 = MakeGroup<4>(this, "Pic679", "Options 4 - Add6/ Add7/ Add9 :", {8, 186, 504, 54},
                          added_, {"Opt5None", "OptSixth", "OptSeventh", "OptNineth"},
                          {"None", "6 = Add6", "7 = Add7", "9 = Add9"}, {70, 100, 100, 100});
    PicAug = MakeGroup<3>(this, "PicAug", "Options 5 - Augmented5/Diminished5 :", {8, 244, 504, 54},
                          alterations_, {"Opt6None", "OptAug5", "OptDim5"},
                          {"None", "+ = Aug5", "- = Dim5"}, {70, 110, 110});
    Opt2None = accidentals_[0];
    OptSharp = accidentals_[1];
    OptFlat = accidentals_[2];
    Opt3None = qualities_[0];
    OptMajor = qualities_[1];
    OptMinor = qualities_[2];
    OptSus4 = qualities_[3];
    OptDim = qualities_[4];
    Opt5None = added_[0];
    OptSixth = added_[1];
    OptSeventh = added_[2];
    OptNineth = added_[3];
    Opt6None = alterations_[0];
    OptAug5 = alterations_[1];
    OptDim5 = alterations_[2];

    LblTips = MakeControl<QLabel>(this, "LblTips", {8, 304, 504, 48});
    LblTips->setWordWrap(true);
    LblTips->setText(
        "Tips: This dialog appears to help you compose a chord string recognized by Orvella. "
        "Just select options 1,2,3,4 and/or 5 and then click <Ok> to accept the chord string.");
    CmdOk = MakeControl<QPushButton>(this, "CmdOk", {316, 360, 92, 28});
    CmdOk->setText("Ok");
    CmdCancel = MakeControl<QPushButton>(this, "CmdCancel", {420, 360, 92, 28});
    CmdCancel->setText("Cancel");
    CmdOk->setAutoDefault(false);
    CmdCancel->setAutoDefault(false);

    connect(CmbRoot, &QComboBox::activated, this, &FrmTaoAc::BuildChordName);
    for (auto* option : accidentals_)
        connect(option, &QRadioButton::clicked, this, &FrmTaoAc::BuildChordName);
    for (auto* option : added_)
        connect(option, &QRadioButton::clicked, this, &FrmTaoAc::BuildChordName);
    for (int i = 0; i < static_cast<int>(qualities_.size()); ++i)
        connect(qualities_[i], &QRadioButton::clicked, this, [this, i] { Quality_Click(i); });
    for (int i = 0; i < static_cast<int>(alterations_.size()); ++i)
        connect(alterations_[i], &QRadioButton::clicked, this, [this, i] { Alteration_Click(i); });
    connect(CmdOk, &QPushButton::clicked, this, &FrmTaoAc::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmTaoAc::CmdCancel_Click);

    CmbRoot->setCurrentIndex(0);
    BuildChordName();
}

ChordBuilderChoice FrmTaoAc::Choice() const {
    ChordBuilderChoice choice;
    choice.root = CmbRoot->currentIndex();
    choice.accidental = Checked(accidentals_);
    choice.quality = Checked(qualities_);
    choice.added = Checked(added_);
    choice.alteration = Checked(alterations_);
    return choice;
}

void FrmTaoAc::ShowChoice(const ChordBuilderChoice& choice) {
    qualities_.at(static_cast<std::size_t>(choice.quality))->setChecked(true);
    alterations_.at(static_cast<std::size_t>(choice.alteration))->setChecked(true);
}

void FrmTaoAc::Quality_Click(int option) {
    ChordBuilderChoice choice = Choice();
    choice.SelectQuality(option);
    ShowChoice(choice);
    BuildChordName();
}

void FrmTaoAc::Alteration_Click(int option) {
    ChordBuilderChoice choice = Choice();
    choice.SelectAlteration(option);
    ShowChoice(choice);
    BuildChordName();
}

void FrmTaoAc::BuildChordName() {
    LblChStr->setText(QString::fromStdString(editors::BuildChordName(Choice())));
}

void FrmTaoAc::CmdOk_Click() {
    App& app = App::Get();
    if (app.g.ChordListBusy) return;
    FrmChord& editor = app.frmChord();
    ChordGrid& grid = *editor.MSFlexGrid1;
    const ChordBuilderTarget target = ParseChordBuilderTag(Tag.toStdString());
    // The last measure's chords are locked, and row 0 holds the headings.
    if (target.row >= grid.Rows() - 1 || target.row < 1) return;
    BuildChordName();
    const QString text = LblChStr->text().trimmed();
    if (target.column == '1' || target.column == '2') {
        const int col = target.column == '1' ? kColChord1 : kColChord2;
        grid.SetTextArray(editor.faIndex(target.row, col), text);
        editor.MarkEdited();
    }
    hide();
}

}  // namespace corvane::editors
