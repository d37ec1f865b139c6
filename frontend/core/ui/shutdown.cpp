// The end of the program through its Exit button: the window goes, every sound stops (notes off,
// the MIDI output closed, both players closed) before anything is deleted, the exchange and work
// files of the program folder go (only when the main window was ever activated, so a start-up
// that failed leaves the folder as it found it), the help viewer closes, the forms close in
// order and the event loop ends. Nothing here reports an error: each step that fails is passed.
#include <QWidget>
#include <algorithm>
#include <functional>
#include <utility>

#include "frontend/app/app.h"
#include "frontend/core/playback_rules.h"
#include "frontend/core/ui/frm_select_file.h"
#include "frontend/core/ui/startup.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_drfill.h"
#include "frontend/editors/ui/frm_keys.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/editors/ui/frm_taoac.h"
#include "frontend/shell/ui/frm_about.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/frm_inst_list.h"
#include "frontend/styles/ui/frm_opt1.h"
#include "frontend/styles/ui/frm_opt2.h"
#include "frontend/styles/ui/frm_opt3.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "frontend/styles/ui/frm_sections.h"
#include "frontend/styles/ui/style_panel.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/midi_out.h"
#include "platform/qt/program_end.h"

namespace corvane {
namespace {

// The forms in the order they close; one that was never loaded is not loaded to be closed.
void CloseForms(App& app) {
    const std::pair<const char*, std::function<QWidget&()>> forms[] = {
        {"FrmOpt1", [&]() -> QWidget& { return app.frmOpt1(); }},
        {"FrmOpt2", [&]() -> QWidget& { return app.frmOpt2(); }},
        {"FrmOpt3", [&]() -> QWidget& { return app.frmOpt3(); }},
        {"FrmTaoAc", [&]() -> QWidget& { return app.frmTaoAc(); }},
        {"FrmSelectFile", [&]() -> QWidget& { return app.frmSelectFile(); }},
        {"FrmSections", [&]() -> QWidget& { return app.frmSections(); }},
        {"FrmSaveSetting", [&]() -> QWidget& { return app.frmSaveSetting(); }},
        {"FrmInstList", [&]() -> QWidget& { return app.frmInstList(); }},
        {"FrmQuenby", [&]() -> QWidget& { return app.frmQuenby(); }},
        {"FrmDrFill", [&]() -> QWidget& { return app.frmDrFill(); }},
        {"FrmAbout", [&]() -> QWidget& { return app.frmAbout(); }},
        {"FrmKeys", [&]() -> QWidget& { return app.frmKeys(); }},
        {"FrmChord", [&]() -> QWidget& { return app.frmChord(); }},
        {"FrmMain", [&]() -> QWidget& { return app.frmMain(); }},
    };
    const std::vector<std::string>& loaded = app.loadOrder();
    for (const auto& [name, form] : forms) {
        // Hidden, not closed: a dialog's close is its Cancel, which has nothing to do now.
        if (std::find(loaded.begin(), loaded.end(), name) != loaded.end()) form().hide();
    }
}

}  // namespace

void Startup::CmdExitClick() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    main_.hide();
    styles::StylePanel& panel = main_.stylePanel();
    panel.AllNotesOff();
    platform::qt::MidiOutClose(panel.audition().handle);
    main_.MMControl1->Command("Close");
    main_.MMControl2->Command("Close");
    main_.SwOfPlLed();
    if (g.MainActivated) DeleteWorkFiles(g.AppFolder, g.PlayFilePath);
    main_.LblInName->SetCaption("");
    platform::qt::HelpCloseAll();
    platform::qt::HelpUninitialize(g.HelpCookie);
    CloseForms(app);
    platform::qt::EndProgram(0);
}

}  // namespace corvane
