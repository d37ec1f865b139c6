// The instrument list: a General MIDI program for a melodic part or a drum kit for the drum part.
#pragma once

#include "frontend/core/ui/form_dialog.h"

namespace corvane::styles {

class FrmInstList : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmInstList(QWidget* parent = nullptr);
};

}  // namespace corvane::styles
