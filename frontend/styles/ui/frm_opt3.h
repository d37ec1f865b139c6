// The play-mode dialog of one melodic part of the shown style slot: mode 0..3 and, in mode 0,
// the automatic sustain. Its Tag carries the request as "M,P,S": the part's mode digit, the
// part's index and "1" when the part's sustain mark is shown. Only Ok writes the tables.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "frontend/styles/ui/deactivating_dialog.h"

namespace corvane::styles {

class FrmOpt3 : public DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmOpt3(QWidget* parent = nullptr);

    QRadioButton* OptMode0 = nullptr;
    QRadioButton* OptMode1 = nullptr;
    QRadioButton* OptMode2 = nullptr;
    QRadioButton* OptMode3 = nullptr;
    QCheckBox* ChkSustained = nullptr;
    QPushButton* CmdOk = nullptr;
    QPushButton* CmdCancel = nullptr;
    QLabel* Label1 = nullptr;
    QPlainTextEdit* TxtTips = nullptr;

    int DialogPart = 0;
    int DialogMode = 0;

    void OptMode_Click(int mode);
    void CmdOk_Click();
    void CmdCancel_Click() { Deactivate(); }
    void Form_KeyPress(int keyAscii) override;

  protected:
    void Form_Activate() override;

  private:
    std::array<QRadioButton*, 4> Options() const {
        return {OptMode0, OptMode1, OptMode2, OptMode3};
    }
};

}  // namespace corvane::styles
