// The key list dialog: the song's key change points, confirmed before the chord maker runs. Its
// Tag says whether to start empty ("NoKeysChInfo") or to load "KeysData.Aco".
#pragma once

#include "frontend/core/ui/form_dialog.h"

namespace corvane::editors {

class FrmKeys : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmKeys(QWidget* parent = nullptr);
};

}  // namespace corvane::editors
