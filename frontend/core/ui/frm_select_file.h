// The front end's own file dialog. Its caller sets the caption, the pattern, the file name,
// which type options show and `TagOpt` ("input" to open a file, "output" to name one), then
// shows it; its Ok hands the chosen path to the caller's target.
#pragma once

#include <QLabel>
#include <QRadioButton>

#include "frontend/core/ui/form_dialog.h"

namespace corvane {

class FrmSelectFile : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmSelectFile(QWidget* parent = nullptr);

    QRadioButton* OptQXs = nullptr;
    QRadioButton* OptMid = nullptr;
    QLabel* LblFileType = nullptr;
    QString TagOpt;
};

}  // namespace corvane
