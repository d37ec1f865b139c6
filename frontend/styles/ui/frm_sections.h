// The style manager: the library as one sorted list, the style of each of the five slots, and
// the Auto-Octave option. Its hidden sorted list LstStyIdx receives every style's entry during
// the library scan; MakeStyList copies it into the browse list once the scan is done.
#pragma once

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include "frontend/core/ui/form_dialog.h"
#include "platform/qt/sorted_list_box.h"

namespace corvane::styles {

class FrmSections : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmSections(QWidget* parent = nullptr);

    platform::qt::SortedListBox* LstStyIdx = nullptr;  // hidden, sorted
    QListWidget* LstStyles = nullptr;                  // the browse list
    QListWidget* LstSectStyles = nullptr;              // rows 0..4: each slot's style entry
    QListWidget* LstSectIdx = nullptr;                 // hidden, rows 0..4: LstStyIdx row "0000"
    QCheckBox* ChkGhQ8 = nullptr;                      // "Auto-Octave"
    QPushButton* CmdOk = nullptr;

    // Appends rows 0 to StyleCount - 1 of LstStyIdx to LstStyles.
    void MakeStyList();
    // Gives all five slots the style at `listRow` of LstStyIdx, whose entry is `entry`.
    void SetSlotStyles(int listRow, const QString& entry);
};

}  // namespace corvane::styles
