// The style manager: the library as one sorted list with a text search, the style of each of
// the five slots, the Auto-Octave option and the export of the library listing. Its hidden
// sorted list LstStyIdx receives every style's entry during the library scan; MakeStyList
// copies it into the browse list once the scan is done. Picks change only the dialog's section
// lists; Ok commits them to the slots, Cancel (and turning to another window) puts back the
// lists as they were when the dialog became active. A slot's style is held twice: its library
// index in the slot tables and its row of the sorted list here ("0000"), and the dialog always
// goes from a row to a library index by the row's text.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <string>
#include <vector>

#include "frontend/styles/ui/deactivating_dialog.h"
#include "platform/qt/sorted_list_box.h"

namespace corvane::styles {

class FrmSections : public DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmSections(QWidget* parent = nullptr);

    platform::qt::SortedListBox* LstStyIdx = nullptr;  // hidden, sorted
    QListWidget* LstStyles = nullptr;                  // the browse list
    QListWidget* LstSectStyles = nullptr;              // rows 0..4: each slot's style entry
    QListWidget* LstSectIdx = nullptr;                 // hidden, rows 0..4: LstStyles row "0000"
    QListWidget* LstSectStylesOld = nullptr;           // hidden: the two lists as last committed
    QListWidget* LstSectIdxOld = nullptr;
    QLineEdit* TxtFind = nullptr;
    QLineEdit* TxtFound = nullptr;
    QPushButton* CmdFind = nullptr;
    QPushButton* CmdGetSty1 = nullptr;
    QPushButton* CmdGetSty2 = nullptr;
    QPushButton* CmdGetSty3 = nullptr;
    QPushButton* CmdGetSty4 = nullptr;
    QPushButton* CmdGetSty5 = nullptr;
    QPushButton* CmdListStys = nullptr;
    QCheckBox* ChkGhQ8 = nullptr;  // AutoOctave
    QLabel* LblGhQ8 = nullptr;     // "Auto-Octave"
    QPushButton* CmdOk = nullptr;
    QPushButton* CmdCancel = nullptr;
    QLabel* LblSlStyles = nullptr;
    QLabel* LblSwitchTips = nullptr;
    QPlainTextEdit* TxtTips = nullptr;

    std::array<QPushButton*, 5> GetStyButtons() const {
        return {CmdGetSty1, CmdGetSty2, CmdGetSty3, CmdGetSty4, CmdGetSty5};
    }

    // Appends rows 0 to StyleCount - 1 of LstStyIdx to LstStyles.
    void MakeStyList();
    // Gives all five slots the style at `listRow` of the sorted list, whose entry is `entry`.
    void SetSlotStyles(int listRow, const QString& entry);
    // Writes slot `slot`'s rows of the section lists: the style's entry and its list row. The
    // start-up's and a loaded setting's styles are what the slots hold, so the kept copy gets
    // the same rows and a later Ok does not take them for the user's change.
    void SetCommittedSlotStyle(int slot, int listRow, const QString& entry);
    // The texts of LstStyles, row by row.
    std::vector<std::string> StyleRows() const;

    // Commits the section lists to the five slots and the Auto-Octave option.
    void CmdOk_Click();
    void CmdCancel_Click() { Deactivate(); }
    void CmdFind_Click();
    // "--> N": the highlighted style into slot N (1..5) of the section lists.
    void CmdGetSty_Click(int n);
    void CmdListStys_Click();
    // A release over the section list with `button` on `row`.
    void LstSectStyles_MouseUp(int button, int row);
    void LstStyles_KeyUp(int keyCode);
    void TxtFind_KeyPress(int keyAscii);

  protected:
    void Form_Activate() override;
    // Cancel: the section lists as they were kept.
    void Form_Deactivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool FindStyle(int startRow);
    void KeepSectionLists();
};

}  // namespace corvane::styles
