// The style setting dialog: saves the current style settings as a user style file (".set") and
// loads one back, for the file dialog and for the style block of a song project. A load
// changes the slots, their part values, the Auto-Octave option and the echo voices and
// settings at once; what a file holds out of range keeps the current value, and a style the
// library lacks is replaced by the library's first style.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>

#include "frontend/styles/ui/deactivating_dialog.h"

namespace corvane::styles {

class FrmSaveSetting : public DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmSaveSetting(QWidget* parent = nullptr);

    QPlainTextEdit* TxtSaveHelp = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* TxtSettingPathName = nullptr;  // keeps its text between openings
    QPushButton* CmdSave = nullptr;
    QPushButton* CmdCancel = nullptr;

    void CmdSave_Click();
    void CmdCancel_Click() { Deactivate(); }

    // Loads the style setting file at `path` (a path as the user chose it, or
    // "QXsDataSet.dat" in the program folder for a song project); `title` names it in the
    // messages and becomes the loaded setting's title. False when nothing was loaded.
    bool LoadStySetting(const std::string& path, const std::string& title);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ReadStyleSettingV418(const std::string& path, const std::string& title);
    bool ReadStyleSettingV416(const std::string& path, const std::string& title);
    bool ReadStyleSetting(const std::string& path, const std::string& title, bool olderLayout);
};

}  // namespace corvane::styles
