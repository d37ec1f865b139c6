#include "frontend/editors/ui/frm_chord.h"

#include "frontend/core/ui/make_control.h"
#include "platform/qt/editor_font.h"

namespace corvane::editors {

FrmChord::FrmChord(QWidget* parent) : FormDialog("FrmChord", "Edit Chord List", parent) {
    resize(560, 440);
    LstTemp = MakeControl<QListWidget>(this, "LstTemp");
    LstTemp->hide();
    MSFlexGrid1 = MakeControl<QTableWidget>(this, "MSFlexGrid1", {8, 36, 544, 360});
    MSFlexGrid1->setFont(platform::qt::EditorFont());
    LblKey = MakeControl<platform::qt::CaptionLabel>(this, "LblKey", {8, 8, 120, 20});
    TxtUsrList = MakeControl<QLineEdit>(this, "TxtUsrList", {136, 8, 240, 20});
    CmdBrowseUsr = MakeControl<QPushButton>(this, "CmdBrowseUsr", {384, 8, 80, 22});
    CmdBrowseUsr->setText("Browse");
    CmdSaveUsr = MakeControl<QPushButton>(this, "CmdSaveUsr", {472, 8, 80, 22});
    CmdSaveUsr->setText("Save to file");
}

}  // namespace corvane::editors
