// The procedures of the workflow, saving and playback that the main window's faces call, as
// far as the faces need them before their owners build them: each does what its description
// for the shell says up to the point where the owner's work begins (the busy test, the
// messages for a step that cannot run yet, the face swaps of the transport), and nothing that
// would pretend a step ran. The workflow, saving and playback replace these definitions with
// their own and delete them here.
#include <QDir>

#include "frontend/app/app.h"
#include "frontend/core/ui/frm_select_file.h"
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
    if (Busy()) return;
    if (TxtInName->text().isEmpty()) {
        Notice(
            "No Input File Name to load.\n"
            " -Click <Browse> button to find a song you want to make an accompaniment. Or\n"
            " -Click <Start Melody Importer> to generate some testing music without melody.");
    }
}

void FrmMain::Proceed() {
    if (Busy()) return;
    if (!App::Get().g.LoadDone) Notice("Please run <1.Load> first.");
}

void FrmMain::CmdCompose_Click() {
    if (Busy()) return;
    const CoreGlobals& g = App::Get().g;
    if (!g.LoadDone && !g.ProceedDone) {
        Notice("Please run <1.Load> and <2.Proceed> first.");
    } else if (!g.ProceedDone) {
        Notice("Please run <2.Proceed> first.");
    }
}

void FrmMain::CmdTestOut_Click() {
    if (Busy()) return;
    if (!App::Get().g.OutputReady) {
        Notice("No Output to Test.\nRun <3.Make Output> first to create an output data.");
    }
}

void FrmMain::TestInput() {
    if (TxtInName->text().isEmpty()) {
        Notice(
            "No Input File To Test.\n"
            "Click Browse button to find an input midi file you want to Test.");
    }
}

void FrmMain::SaveOutput(bool) {
    if (!App::Get().g.OutputReady) {
        Notice("No Output to Save.\nPlease run Make to create an output.");
    }
}

void FrmMain::OpenMelodyImporter() {
    if (Busy()) return;
    App::Get().frmQuenby().show();
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
