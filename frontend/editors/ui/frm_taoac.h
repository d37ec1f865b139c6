// The chord builder: composes a chord text from a root and four groups of options and writes it
// into the Chord1 or Chord2 cell of one measure of the chord list. The chord list sets its Tag
// ("1,012": column digit, grid row) and caption and shows it modeless; it hides like Cancel when
// the user turns to another window, and keeps its choices for the next opening.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "frontend/editors/wizards.h"
#include "frontend/styles/ui/deactivating_dialog.h"

namespace corvane::editors {

class FrmTaoAc : public styles::DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmTaoAc(QWidget* parent = nullptr);

    QComboBox* CmbRoot = nullptr;
    QGroupBox* PicFlatSharp = nullptr;
    QRadioButton* Opt2None = nullptr;
    QRadioButton* OptSharp = nullptr;
    QRadioButton* OptFlat = nullptr;
    QGroupBox* PicMajMinSus = nullptr;
    QRadioButton* Opt3None = nullptr;
    QRadioButton* OptMajor = nullptr;
    QRadioButton* OptMinor = nullptr;
    QRadioButton* OptSus4 = nullptr;
    QRadioButton* OptDim = nullptr;
    QGroupBox* Pic679 = nullptr;
    QRadioButton* Opt5None = nullptr;
    QRadioButton* OptSixth = nullptr;
    QRadioButton* OptSeventh = nullptr;
    QRadioButton* OptNineth = nullptr;
    QGroupBox* PicAug = nullptr;
    QRadioButton* Opt6None = nullptr;
    QRadioButton* OptAug5 = nullptr;
    QRadioButton* OptDim5 = nullptr;
    QLabel* LblChStr = nullptr;
    QLabel* LblTips = nullptr;
    QPushButton* CmdOk = nullptr;
    QPushButton* CmdCancel = nullptr;

    // The chord text of the current choices, shown in LblChStr.
    void BuildChordName();
    void CmdOk_Click();
    void CmdCancel_Click() { Deactivate(); }

  private:
    // The choices as the option buttons show them, and back after an exclusion.
    ChordBuilderChoice Choice() const;
    void ShowChoice(const ChordBuilderChoice& choice);
    void Quality_Click(int option);
    void Alteration_Click(int option);

    std::array<QRadioButton*, 3> accidentals_{};
    std::array<QRadioButton*, 5> qualities_{};
    std::array<QRadioButton*, 4> added_{};
    std::array<QRadioButton*, 3> alterations_{};
};

}  // namespace corvane::editors
