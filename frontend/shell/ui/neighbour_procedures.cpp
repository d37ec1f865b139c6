// The procedures the main window's faces call. The workflow's steps are the Workflow
// component's and saving's are FileCommands' (frontend/core/ui/file_commands.cpp); playback,
// not built yet, does what its description for the shell says up to the point where the
// owner's work begins (the busy test, the messages for a step that cannot run yet, the face
// swaps of the transport), and nothing that would pretend a step ran. Its owner replaces these
// definitions with its own.
#include "frontend/app/app.h"
#include "frontend/core/ui/workflow.h"
#include "frontend/core/ui/workflow_neighbours.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/qt/msg_box.h"

namespace corvane {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

void Notice(const QString& text) {
    MsgBox(text, MsgIcon::kInformation);
}

}  // namespace

void FrmMain::CmdGetNote_Click() {
    workflow().CmdGetNote_Click();
}

void FrmMain::Proceed() {
    workflow().Proceed();
}

void FrmMain::CmdCompose_Click() {
    workflow().CmdCompose_Click();
}

void FrmMain::CmdTestOut_Click() {
    neighbours::CmdTestOut_Click(*this);
}

void FrmMain::TestInput() {
    neighbours::TestInput(*this);
}

void FrmMain::TryToPlay() {
    if (!CanGatOut[0]->Enabled()) {
        Notice(QString("The Output MIDI Device is not opened.\n") +
               (App::Get().g.TestOn ? "Click <Stop Testing Input>, " : "") +
               "Click <Test Out>, then try again.");
    }
}

void FrmMain::TryToPause() {
    PictPlay->show();
    PictPaus->hide();
    LblInName->SetCaption("Paused");
}

void FrmMain::TryToStop() {
    PictPlay->show();
    PictPaus->hide();
    if (CanGatOut[0]->Enabled()) {
        CanGatOut[0]->SetValue(0);
        CanGatOut[1]->SetValue(0);
    }
    LblInName->SetCaption("Stoped");
}

void FrmMain::GoSectionBegin() {
    if (!CanGatOut[0]->Enabled() || LstHa->count() < 1) return;
    CanGatOut[0]->SetValue(0);
    CanGatOut[1]->SetValue(0);
}

void FrmMain::GoSectionEnd() {
    if (!CanGatOut[0]->Enabled() || LstHa->count() < 1) return;
    CanGatOut[0]->SetValue(LstHa->count() - 1);
    CanGatOut[1]->SetValue(LstHa->count() - 1);
}

}  // namespace corvane
