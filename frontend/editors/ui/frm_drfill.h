// The drum fill wizard: writes a section code into the Drum or Inst column of one measure of the
// chord list, with the fill code into the measure before it, or a style switch into its Sty
// column. The chord list sets its Tag ("012,04": grid row, grid column) and caption and shows it
// modeless; it hides like Cancel when the user turns to another window, and keeps its choices
// for the next opening.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "frontend/editors/wizards.h"
#include "frontend/styles/ui/deactivating_dialog.h"

namespace corvane::editors {

class FrmDrFill : public styles::DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmDrFill(QWidget* parent = nullptr);

    QGroupBox* PicDrFills = nullptr;
    QRadioButton* OptDr1 = nullptr;
    QRadioButton* OptDr2 = nullptr;
    QRadioButton* OptIntro1 = nullptr;
    QRadioButton* OptIntro2 = nullptr;
    QRadioButton* OptNormal1 = nullptr;
    QRadioButton* OptNormal2 = nullptr;
    QRadioButton* OptPause = nullptr;
    QPushButton* CmdMakeDr = nullptr;
    QGroupBox* PicStySwitch = nullptr;
    QComboBox* CmbStyIds = nullptr;
    QPushButton* CmdSetSwPoint = nullptr;
    QPushButton* CmdCancel = nullptr;

    void CmdMakeDr_Click();
    void CmdSetSwPoint_Click();
    void CmdCancel_Click() { Deactivate(); }

    // The measure and column of the request read at the last activation.
    int TagRow = 0;
    int TagCol = 0;

  protected:
    void Form_Activate() override;

  private:
    DrumFillOption SelectedOption() const;
    std::array<QRadioButton*, 7> options_{};
};

}  // namespace corvane::editors
