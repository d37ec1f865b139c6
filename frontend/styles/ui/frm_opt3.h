// The play-mode dialog of one part of the current style slot.
#pragma once

#include "frontend/core/ui/form_dialog.h"

namespace corvane::styles {

class FrmOpt3 : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmOpt3(QWidget* parent = nullptr);
};

}  // namespace corvane::styles
