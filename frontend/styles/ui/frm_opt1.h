// The chord option dialog: how often the song loader changes chords (ChordOptMode 0..2), shown
// by name in the main window's LblMode. Its Tag carries the current mode.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "frontend/styles/ui/deactivating_dialog.h"

namespace corvane::styles {

class FrmOpt1 : public DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmOpt1(QWidget* parent = nullptr);

    QRadioButton* OptSimple = nullptr;   // 0
    QRadioButton* OptMixing = nullptr;   // 1
    QRadioButton* OptComplex = nullptr;  // 2
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
