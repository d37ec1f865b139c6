// The drum fill wizard: writes section codes and a style switch into one measure of the chord list.
#pragma once

#include "frontend/core/ui/form_dialog.h"

namespace corvane::editors {

class FrmDrFill : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmDrFill(QWidget* parent = nullptr);
};

}  // namespace corvane::editors
