// The chord list editor: one row per measure with the two half-measure chords, the section
// codes, the style switch and a comment. The workflow hides it and clears its line list at the
// start of Load In and Proceed, and loads chord data into it after Proceed (DoCmdLoad). The
// grid shows ChordRecords; filling and editing it is the grid editor's part.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <vector>

#include "frontend/core/name_tables.h"
#include "frontend/core/ui/form_dialog.h"
#include "frontend/editors/chord_data.h"
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

    // The measures of the last chord data loaded, in order (the kept digit of each among them).
    std::vector<ChordRecord> ChordRecords;

    // Reads "Data.aco" into the line list, the records and the main window's bar list, with the
    // chord maker's key MyVmCode, or with the fixed key (which MyVmCode then takes) when
    // `useFixedKey`. Sets ChordMsCount and LblTotalMCnt; false, with a box, when the data is
    // damaged or its measure count does not fit.
    bool DoCmdLoad(bool useFixedKey);
    // Empties the chord list (the grid editor also resets the grid here).
    void ClearMsData();
    void SetGridForeColour(Colour colour);
    Colour GridForeColour() const { return gridForeColour_; }

  private:
    Colour gridForeColour_ = 0;
};

}  // namespace corvane::editors
