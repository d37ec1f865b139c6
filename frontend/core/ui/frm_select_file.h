// The front end's own file dialog. One instance serves four callers: Browse (the input song or
// song project), Save (the file the output goes to), the user style files (load or delete) and
// the chord list editor's user chord files. The caller prepares caption, pattern, file name,
// the type options and `TagOpt` ("input" to open a file, "output" to name one) and shows it;
// its Ok hands the chosen path to the caller's target and empties `TagOpt`. It hides as soon as
// another window of the program is activated or clicked, and keeps its folder, options and list
// between uses. The drive list holds the one root "/"; listings are sorted by name and patterns
// match without regard to letter case; hidden files and folders (a leading ".") are not listed.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <string>

#include "frontend/core/file_dialog_rules.h"
#include "frontend/styles/ui/deactivating_dialog.h"

namespace corvane {

class FrmSelectFile : public styles::DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmSelectFile(QWidget* parent = nullptr);

    QRadioButton* OptQXs = nullptr;
    QRadioButton* OptMid = nullptr;
    QPushButton* CmdDelete = nullptr;
    QPushButton* CmdOk = nullptr;
    QPushButton* CmdCancel = nullptr;
    QLineEdit* TxtFileName = nullptr;
    QComboBox* DrvList = nullptr;
    QListWidget* DirList = nullptr;
    QListWidget* FileList = nullptr;
    QLabel* LblFileType = nullptr;
    QLabel* LblLuuY = nullptr;
    QLabel* LblFName = nullptr;
    QString TagOpt;

    // A caller's set-up: caption, pattern, TagOpt, the type options, and the file name box.
    void Prepare(const FileDialogSetup& setup, const QString& fileName);
    // Shows the dialog modeless; a dialog already shown takes the caller's set-up at once.
    void ShowDialog();

    // The file list's pattern and folder (no "/" at the end except for the root).
    const std::string& Pattern() const { return pattern_; }
    const std::string& Folder() const { return folder_; }
    // The folder list goes to `folder` (as DirList_Change does); false when it cannot be read.
    bool ChangeFolder(const std::string& folder);

    void CmdOk_Click();
    void CmdDelete_Click();
    void CmdCancel_Click() { Deactivate(); }
    void OptMid_Click();
    void OptQXs_Click();
    void FileList_Click();
    void FileList_DblClick();
    void FileList_KeyDown(int keyCode);
    void DirList_Change();
    void DrvList_Change();
    void TxtFileName_Change();

  protected:
    void Form_Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RefreshFiles();
    void FillFolderList();
    std::string ChosenPath() const;

    std::string pattern_{kSongPattern};
    std::string folder_;
};

}  // namespace corvane
