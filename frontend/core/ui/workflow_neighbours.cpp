#include "frontend/core/ui/workflow_neighbours.h"

#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/msg_box.h"

namespace corvane::neighbours {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

constexpr Colour kLedOff = 0x808080;

// The state both tests return to when they end.
void RestoreIdleTestState(FrmMain& main) {
    App::Get().g.TestOn = false;
    main.CanGatOut[0]->SetEnabled(false);
    main.LblHa->SetCaption("0");
    main.LblPlayFrom->SetCaption("0");
    main.PictTest->show();
    main.PictEndT->hide();
    main.PictTeIn->show();
    main.PictTeIn->setEnabled(true);
    main.PictStIn->hide();
    main.CmdTestOut->setEnabled(true);
    main.PictTest->setEnabled(true);
    main.PictEndT->setEnabled(true);
}

}  // namespace

void CmdTestOut_Click(FrmMain& main) {
    CoreGlobals& g = App::Get().g;
    if (g.AnyBusy()) return;
    CloseOutputPlayer(main);
    SwOfPlLed(main);
    for (platform::qt::CaptionLabel* led : main.LblLed) main.SetBackColour(led, kLedOff);
    if (g.TestOn) {
        main.LblInName->SetCaption("");
        platform::qt::DeleteFile(g.PlayFilePath);
        RestoreIdleTestState(main);
        return;
    }
    if (!g.OutputReady) {
        MsgBox("No Output to Test.\nRun <3.Make Output> first to create an output data.",
               MsgIcon::kInformation);
        return;
    }
    // Opening the play file in the output player, the bar count check and the play controls
    // come with the player; until then the test ends where the play file is written.
    if (!g.Output.WritePlayFile(g.PlayFilePath)) {
        main.LblInName->SetCaption("");
        platform::qt::DeleteFile(g.PlayFilePath);
    }
    RestoreIdleTestState(main);
    main.PictPlay->setEnabled(true);
}

void TestInput(FrmMain& main) {
    CoreGlobals& g = App::Get().g;
    if (main.TxtInName->text().isEmpty()) {
        MsgBox(
            "No Input File To Test.\nClick Browse button to find an input midi file you want "
            "to Test.",
            MsgIcon::kInformation);
        return;
    }
    if (!g.TestOn) return;  // starting needs the input player
    SwOfPlLed(main);
    main.LblInName->SetCaption("");
    RestoreIdleTestState(main);
}

bool InputTestRunning(const FrmMain& main) {
    return App::Get().g.TestOn && !main.PictStIn->isHidden();
}

void CloseOutputPlayer(FrmMain&) {}

void SwOfPlLed(FrmMain& main) {
    main.TimerOnLine->stop();
    main.ImgPlSign1->show();
    main.ImgPlSign0->hide();
    for (platform::qt::CaptionLabel* led : main.LblStyLeds) main.SetBackColour(led, kLedOff);
}

void OpenMelodyImporter(FrmMain&) {
    if (App::Get().g.AnyBusy()) return;
    App::Get().frmQuenby().show();
}

bool LoadProject(FrmMain&) {
    return false;
}

}  // namespace corvane::neighbours
