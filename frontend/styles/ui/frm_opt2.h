// The chord-making option dialog: one of the make option modes and the section length.
#pragma once

#include "frontend/core/ui/form_dialog.h"

namespace corvane::styles {

class FrmOpt2 : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmOpt2(QWidget* parent = nullptr);
};

}  // namespace corvane::styles
