// The key list dialog ("Key Manager"): the song's key change points, confirmed before the
// chord maker runs. Proceed sets its Tag and shows it modally: "NoKeysChInfo" starts with empty
// lists, any other Tag (the length of "KeysData.Aco") loads that file. Save writes the list to
// "KeysData.Aco" and sets KeysChanged; every other way out only hides the dialog. The two lists
// hold the same points in the same (measure) order: the lines as stored and what the user reads.
#pragma once

#include <QPushButton>

#include "frontend/core/ui/form_dialog.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/sorted_list_box.h"

namespace corvane::editors {

class FrmKeys : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmKeys(QWidget* parent = nullptr);

    platform::qt::SortedListBox* LstKeyChPoints = nullptr;  // hidden: "012:02;G  Major"
    platform::qt::SortedListBox* LstKeyUser = nullptr;      // shown: "012: G  Major"
    platform::qt::CaptionLabel* LblKeyFindInfo = nullptr;
    QPushButton* CmdOk = nullptr;  // "Save"
    QPushButton* CmdCancel = nullptr;

    // Every showing: the notice cleared, the lists emptied or loaded by the Tag.
    void Form_Activate();
    // Fills both lists from "KeysData.Aco" up to its first invalid line.
    void LoadKeysData();
    void CmdOk_Click();
    void CmdCancel_Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::string KeysDataPath() const;
};

}  // namespace corvane::editors
