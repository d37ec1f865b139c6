// The main window's controls that the workflow owns: the song and output names, the status
// line, the key and tempo label, the bar list and its count, and the hidden helpers of the
// start-up (the font probe and the scale probe), and the workflow's hidden completion button,
// its time-out and the section list of the output. FrmMain inherits them, so every owner writes
// FrmMain.LblInName as the system does.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/caption_label.h"
#include "platform/qt/message_window.h"

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
    // Hidden; its handle goes on the workers' command lines and its receiver takes their
    // completions.
    QPushButton* CmdMessage = nullptr;
    platform::qt::MessageWindow* CmdMessageWindow = nullptr;
    QTimer* TimerMess = nullptr;         // the running command's time-out
    QListWidget* LstSections = nullptr;  // the style switch points of the output

    void CreateWorkflowControls(QWidget* form);
};

}  // namespace corvane
