// The make option dialog: how many chords the chord maker uses (MakeOptMode 1..4, shown by name
// in the main window's LblMix) and the minimum section length of the automatic style switch
// (SectLenIdx, 8 measures a row, -1 while the list has no selection). Its Tag carries the
// current mode.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "frontend/styles/ui/deactivating_dialog.h"

namespace corvane::styles {

class FrmOpt2 : public DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmOpt2(QWidget* parent = nullptr);

    QRadioButton* OptSimple2 = nullptr;   // 1
    QRadioButton* OptNormal2 = nullptr;   // 2
    QRadioButton* OptComplex2 = nullptr;  // 3
    QRadioButton* OptMixing2 = nullptr;   // 4
    QLabel* Label2 = nullptr;
    QComboBox* CmbSectLen = nullptr;  // rows 0..10: "Any(Unlimited)", "008 measures", ...
    QLabel* Label1 = nullptr;
    QPushButton* CmdOk = nullptr;
    QPushButton* CmdCancel = nullptr;

    void CmdOk_Click();
    void CmdCancel_Click() { Deactivate(); }
    void Form_KeyPress(int keyAscii) override;

  protected:
    void Form_Activate() override;
};

}  // namespace corvane::styles
