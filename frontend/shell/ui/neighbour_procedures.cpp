// The workflow's steps as the main window's faces call them; the steps are the Workflow
// component's. Saving's procedures are FileCommands' (frontend/core/ui/file_commands.cpp) and
// playback's are in transport.cpp.
#include "frontend/core/ui/workflow.h"
#include "frontend/shell/ui/frm_main.h"

namespace corvane {

void FrmMain::CmdGetNote_Click() {
    workflow().CmdGetNote_Click();
}

void FrmMain::Proceed() {
    workflow().Proceed();
}

void FrmMain::CmdCompose_Click() {
    workflow().CmdCompose_Click();
}

}  // namespace corvane
