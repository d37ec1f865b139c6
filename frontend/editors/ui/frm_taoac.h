// The chord builder: composes a chord text for one cell of the chord list.
#pragma once

#include "frontend/core/ui/form_dialog.h"

namespace corvane::editors {

class FrmTaoAc : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmTaoAc(QWidget* parent = nullptr);
};

}  // namespace corvane::editors
