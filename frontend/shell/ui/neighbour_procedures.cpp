// The procedures the main window's faces call. The workflow's steps are the Workflow
// component's; saving, not built yet, does what its description for the shell says up to the
// point where the owner's work begins (the busy test, the message for a step that cannot run
// yet), and nothing that would pretend a step ran. Its owner replaces these definitions with
// its own. Playback's are in transport.cpp.
#include <QDir>

#include "frontend/app/app.h"
#include "frontend/core/ui/frm_select_file.h"
#include "frontend/core/ui/workflow.h"
#include "frontend/core/ui/workflow_neighbours.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/qt/msg_box.h"

namespace corvane {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

bool Busy() {
    return App::Get().g.BusyFlags.Any();
}

void Notice(const QString& text) {
    MsgBox(text, MsgIcon::kInformation);
}

}  // namespace

void FrmMain::BrowseInput() {
    if (Busy()) return;
    FrmSelectFile& dialog = App::Get().frmSelectFile();
    dialog.setWindowTitle("Select an input *.mid, *.kar, *.qxs");
    dialog.TagOpt = "input";
    dialog.show();
}

void FrmMain::CmdGetNote_Click() {
    workflow().CmdGetNote_Click();
}

void FrmMain::Proceed() {
    workflow().Proceed();
}

void FrmMain::CmdCompose_Click() {
    workflow().CmdCompose_Click();
}

void FrmMain::SaveOutput(bool) {
    if (!App::Get().g.OutputReady) {
        Notice("No Output to Save.\nPlease run Make to create an output.");
    }
}

void FrmMain::OpenMelodyImporter() {
    if (Busy()) return;
    neighbours::OpenMelodyImporter(*this);
}

}  // namespace corvane
