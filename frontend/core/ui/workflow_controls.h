// The main window's controls that the workflow owns: the song and output names, the status
// line, the key and tempo label, the bar list and its count, and the hidden helpers of the
// start-up (the font probe and the scale probe). FrmMain inherits them, so every owner writes
// FrmMain.LblInName as the system does.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "platform/qt/caption_label.h"

namespace corvane {

struct WorkflowControls {
    platform::qt::CaptionLabel* LblVersion = nullptr;  // its caption is the window's caption
    QLineEdit* TxtInName = nullptr;
    QLineEdit* TxtOutName = nullptr;
    platform::qt::CaptionLabel* LblInName = nullptr;  // the status line
    platform::qt::CaptionLabel* LblMusicType = nullptr;
    platform::qt::CaptionLabel* LblTotalMCnt = nullptr;
    QListWidget* LstHa = nullptr;
    platform::qt::CaptionLabel* LblSwPoints = nullptr;
    QPushButton* CmdTestOut = nullptr;         // hidden; the output test's command
    QLineEdit* TxtTestFixedsysFont = nullptr;  // hidden; reports the editor font it got

    void CreateWorkflowControls(QWidget* form);
};

}  // namespace corvane
