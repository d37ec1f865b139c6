// The chord list editor: one row per measure with the two half-measure chords, the section
// codes, the style switch and a comment. The workflow hides it and clears its line list at the
// start of Load In and Proceed, and loads chord data into it after Proceed.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include "frontend/core/ui/form_dialog.h"
#include "platform/qt/caption_label.h"

namespace corvane::editors {

class FrmChord : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmChord(QWidget* parent = nullptr);

    QListWidget* LstTemp = nullptr;  // hidden: one ChordListLine per measure
    QTableWidget* MSFlexGrid1 = nullptr;
    QPushButton* CmdSaveUsr = nullptr;
    QPushButton* CmdBrowseUsr = nullptr;
    QLineEdit* TxtUsrList = nullptr;
    platform::qt::CaptionLabel* LblKey = nullptr;
};

}  // namespace corvane::editors
