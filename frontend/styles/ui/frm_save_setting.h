// The dialog that saves the current style settings as a user style file.
#pragma once

#include "frontend/core/ui/form_dialog.h"

namespace corvane::styles {

class FrmSaveSetting : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmSaveSetting(QWidget* parent = nullptr);
};

}  // namespace corvane::styles
