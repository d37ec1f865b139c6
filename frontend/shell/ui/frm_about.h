// The about box. At start-up it doubles as the loading notice; it hides itself as soon as it
// loses the activation or the focus, so a click anywhere else closes it.
#pragma once

#include <QLabel>

#include "frontend/core/ui/form_dialog.h"

namespace corvane::shell {

class FrmAbout : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmAbout(QWidget* parent = nullptr);

    QLabel* LblCredits = nullptr;

    void Form_Deactivate() { hide(); }

  protected:
    void changeEvent(QEvent* event) override;
};

}  // namespace corvane::shell
