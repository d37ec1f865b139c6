// The about box: the title art at twice its size and the project's own credits, with the
// licences of what the program is built on. At start-up it doubles as the loading notice; it
// hides itself as soon as it loses the activation or the focus, so a click anywhere else
// closes it.
#pragma once

#include <QLabel>

#include "frontend/core/ui/form_dialog.h"

namespace corvane::shell {

class FrmAbout : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmAbout(QWidget* parent = nullptr);

    QLabel* ImgAbout = nullptr;
    QLabel* LblCredits = nullptr;
    QLabel* LblLicences = nullptr;

    void Form_Deactivate() { hide(); }
    void Form_LostFocus() { hide(); }

  protected:
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace corvane::shell
