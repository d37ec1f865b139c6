#include "frontend/core/ui/workflow_controls.h"

#include "frontend/core/ui/make_control.h"
#include "platform/qt/editor_font.h"

namespace corvane {

using platform::qt::CaptionLabel;

void WorkflowControls::CreateWorkflowControls(QWidget* form) {
    LblVersion = MakeControl<CaptionLabel>(form, "LblVersion", {30, 382, 50, 14});
    LblVersion->setText("Orvella 2426");
    LblVersion->hide();
    TxtInName = MakeControl<QLineEdit>(form, "TxtInName", {84, 70, 184, 20});
    TxtOutName = MakeControl<QLineEdit>(form, "TxtOutName", {270, 96, 146, 18});
    LblInName = MakeControl<CaptionLabel>(form, "LblInName", {30, 300, 254, 16});
    LblMusicType = MakeControl<CaptionLabel>(form, "LblMusicType", {131, 120, 106, 16});
    LblTotalMCnt = MakeControl<CaptionLabel>(form, "LblTotalMCnt", {84, 120, 28, 16});
    LblTotalMCnt->setText("000");
    LstHa = MakeControl<QListWidget>(form, "LstHa", {84, 138, 150, 150});
    LstHa->setFont(platform::qt::EditorFont());  // its rows are columns of the chord list
    LblSwPoints = MakeControl<CaptionLabel>(form, "LblSwPoints", {30, 318, 254, 16});
    LblSwPoints->setText("Style switch points");
    CmdTestOut = MakeControl<QPushButton>(form, "CmdTestOut");
    CmdTestOut->hide();
    TxtTestFixedsysFont = MakeControl<QLineEdit>(form, "TxtTestFixedsysFont");
    TxtTestFixedsysFont->setFont(platform::qt::EditorFont());
    TxtTestFixedsysFont->hide();
    CmdMessage = MakeControl<QPushButton>(form, "CmdMessage");
    CmdMessage->hide();
    CmdMessageWindow = MakeObject<platform::qt::MessageWindow>(CmdMessage, "CmdMessageWindow");
    TimerMess = MakeObject<QTimer>(form, "TimerMess");
    TimerMess->setSingleShot(true);
    // Below the style mixer, beside the status lines: wide enough for a whole line of every
    // library style; a longer name wraps onto a second row instead of hiding behind a scroll.
    LstSections = MakeControl<QListWidget>(form, "LstSections", {292, 284, 210, 50});
    LstSections->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LstSections->setWordWrap(true);
}

}  // namespace corvane
