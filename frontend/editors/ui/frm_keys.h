// The key list dialog ("Key Manager"): the song's key change points, confirmed before the
// chord maker runs. Proceed sets its Tag and shows it modally: "NoKeysChInfo" starts with empty
// lists, any other Tag (the length of "KeysData.Aco") loads that file; a click on the main
// window's key label shows it modeless with the Tag as it was. Save writes the list to
// "KeysData.Aco" and sets KeysChanged; every other way out only hides the dialog. The two lists
// hold the same points in the same (measure) order: the lines as stored and what the user reads.
// "Auto Detect Keys" runs the key detector, which rewrites "KeysData.Aco" and "KeyCode.dat";
// its completion reloads the lists, and its time-out leaves them as they are.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "frontend/editors/ui/dialog_worker.h"
#include "frontend/styles/ui/deactivating_dialog.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/sorted_list_box.h"

namespace corvane::editors {

class FrmKeys : public styles::DeactivatingDialog, public DialogWorker {
    Q_OBJECT
  public:
    explicit FrmKeys(QWidget* parent = nullptr);

    platform::qt::SortedListBox* LstKeyChPoints = nullptr;  // hidden: "012:02;G  Major"
    platform::qt::SortedListBox* LstKeyUser = nullptr;      // shown: "012: G  Major"
    QComboBox* CmbKey = nullptr;                            // the key to add
    QLineEdit* TxtMsNo = nullptr;                           // the measure to add
    QLineEdit* TxtKeyCode = nullptr;                        // hidden: "02"
    QLineEdit* TxtKeyName = nullptr;                        // hidden: "G  Major"
    platform::qt::CaptionLabel* LblKey = nullptr;           // the key signature of CmbKey
    platform::qt::CaptionLabel* LblKeyFindInfo = nullptr;
    QPushButton* CmdAddLine = nullptr;     // "Add >>"
    QPushButton* CmdRemoveLine = nullptr;  // "Remove one <<"
    QPushButton* CmdRemoveAll = nullptr;   // "Remove all <<<"
    QPushButton* CmdKeyDetect = nullptr;   // "Auto Detect Keys"
    QPushButton* CmdOk = nullptr;          // "Save"
    QPushButton* CmdCancel = nullptr;
    QPlainTextEdit* TxtTips = nullptr;

    // Every showing: the notice cleared, the lists emptied or loaded by the Tag.
    void Form_Activate() override;
    // Fills both lists from "KeysData.Aco" up to its first invalid line.
    void LoadKeysData();
    QString KeyNameOf(int code) const;
    void DisableKeyButtons();
    void EnableKeyButtons();
    void RemoveKeyLine();

    void CmbKey_Click();
    void TxtKeyCode_Change();
    void TxtMsNo_LostFocus();
    void CmdAddLine_Click();
    void LstKeyUser_Click();
    // `keyCode` as a key-up reports it: 46 Delete and 110 the keypad's decimal point remove.
    void LstKeyUser_KeyUp(int keyCode);
    void LstKeyUser_LostFocus();
    void CmdRemoveLine_Click();
    void CmdRemoveAll_Click();
    void CmdOk_Click();
    void CmdCancel_Click();
    void CmdKeyDetect_Click();
    void CmdMess_KeyUp(int keyCode, int shift);
    void TimerMlMess_Timer();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Returns the row both lists put the change at.
    int AddKeyChange(const QString& line, const QString& userItem);
    void SelectRow(int row);
};

}  // namespace corvane::editors
