#include "frontend/app/app.h"

#include <cassert>

#include "frontend/core/ui/frm_select_file.h"
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
#include "platform/qt/ini_settings.h"
#include "platform/qt/single_instance.h"

namespace corvane {
namespace {
App* g_app = nullptr;
}

App::App(std::unique_ptr<platform::qt::SettingsStore> settings)
    : settings_(settings ? std::move(settings)
                         : std::make_unique<platform::qt::IniSettingsStore>()) {
    assert(g_app == nullptr);
    g_app = this;
}

App::~App() {
    // Dialogs first, then the main window, so no form outlives what it points at.
    frmAbout_.reset();
    frmSelectFile_.reset();
    frmInstList_.reset();
    frmOpt3_.reset();
    frmOpt2_.reset();
    frmOpt1_.reset();
    frmSaveSetting_.reset();
    frmDrFill_.reset();
    frmTaoAc_.reset();
    frmQuenby_.reset();
    frmKeys_.reset();
    frmChord_.reset();
    frmSections_.reset();
    frmMain_.reset();
    g_app = nullptr;
}

App& App::Get() {
    assert(g_app != nullptr);
    return *g_app;
}

StartupOutcome App::Start() {
    return frmMain().Form_Initialize();
}

template <class Form>
Form& App::Load(std::unique_ptr<Form>& slot, const char* name) {
    if (!slot) {
        slot = std::make_unique<Form>();
        loadOrder_.emplace_back(name);
    }
    return *slot;
}

FrmMain& App::frmMain() {
    return Load(frmMain_, "FrmMain");
}
editors::FrmChord& App::frmChord() {
    return Load(frmChord_, "FrmChord");
}
editors::FrmKeys& App::frmKeys() {
    return Load(frmKeys_, "FrmKeys");
}
editors::FrmQuenby& App::frmQuenby() {
    return Load(frmQuenby_, "FrmQuenby");
}
editors::FrmTaoAc& App::frmTaoAc() {
    return Load(frmTaoAc_, "FrmTaoAc");
}
editors::FrmDrFill& App::frmDrFill() {
    return Load(frmDrFill_, "FrmDrFill");
}
styles::FrmSections& App::frmSections() {
    return Load(frmSections_, "FrmSections");
}
styles::FrmSaveSetting& App::frmSaveSetting() {
    return Load(frmSaveSetting_, "FrmSaveSetting");
}
styles::FrmOpt1& App::frmOpt1() {
    return Load(frmOpt1_, "FrmOpt1");
}
styles::FrmOpt2& App::frmOpt2() {
    return Load(frmOpt2_, "FrmOpt2");
}
styles::FrmOpt3& App::frmOpt3() {
    return Load(frmOpt3_, "FrmOpt3");
}
styles::FrmInstList& App::frmInstList() {
    return Load(frmInstList_, "FrmInstList");
}
FrmSelectFile& App::frmSelectFile() {
    return Load(frmSelectFile_, "FrmSelectFile");
}
shell::FrmAbout& App::frmAbout() {
    return Load(frmAbout_, "FrmAbout");
}

std::string InFolder(const char* name) {
    return App::Get().g.AppFolder + "/" + name;
}

}  // namespace corvane
