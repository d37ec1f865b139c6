// The chord option dialog: one of the chord option modes.
#pragma once

#include "frontend/core/ui/form_dialog.h"

namespace corvane::styles {

class FrmOpt1 : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmOpt1(QWidget* parent = nullptr);
};

}  // namespace corvane::styles
