// The front end as one object: the shared state, the settings store and the forms. Forms are
// single instances loaded on their first use (as a form designer's program loads a form the
// first time code touches it); the order in which they were loaded is kept for tests. There is
// one App per process; forms reach each other and the globals through App::Get().
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frontend/core/globals.h"
#include "frontend/styles/slot_tables.h"
#include "platform/qt/settings_store.h"

namespace platform::qt {
class InstanceLock;
}

namespace corvane {

class FrmMain;
class FrmSelectFile;
namespace editors {
class FrmChord;
class FrmKeys;
class FrmQuenby;
class FrmTaoAc;
class FrmDrFill;
}  // namespace editors
namespace styles {
class FrmSections;
class FrmSaveSetting;
class FrmOpt1;
class FrmOpt2;
class FrmOpt3;
class FrmInstList;
}  // namespace styles
namespace shell {
class FrmAbout;
}

enum class StartupOutcome {
    kShown,            // the main window is up; run the event loop
    kAnotherInstance,  // another copy runs in this folder: end at once with 0
    kFatal,            // a fatal message was shown: end with kFatalExitCode
};

constexpr int kFatalExitCode = 1;

class App {
  public:
    // `settings` defaults to the INI store of the user's configuration folder.
    explicit App(std::unique_ptr<platform::qt::SettingsStore> settings = nullptr);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    static App& Get();

    // Runs the main window's start-up (Form_Initialize).
    StartupOutcome Start();

    CoreGlobals g;
    styles::SlotTables slotTables;
    platform::qt::SettingsStore& settings() { return *settings_; }
    std::unique_ptr<platform::qt::InstanceLock> instanceLock;

    FrmMain& frmMain();
    editors::FrmChord& frmChord();
    editors::FrmKeys& frmKeys();
    editors::FrmQuenby& frmQuenby();
    editors::FrmTaoAc& frmTaoAc();
    editors::FrmDrFill& frmDrFill();
    styles::FrmSections& frmSections();
    styles::FrmSaveSetting& frmSaveSetting();
    styles::FrmOpt1& frmOpt1();
    styles::FrmOpt2& frmOpt2();
    styles::FrmOpt3& frmOpt3();
    styles::FrmInstList& frmInstList();
    FrmSelectFile& frmSelectFile();
    shell::FrmAbout& frmAbout();

    // Form names in the order they were loaded.
    const std::vector<std::string>& loadOrder() const { return loadOrder_; }

  private:
    template <class Form>
    Form& Load(std::unique_ptr<Form>& slot, const char* name);

    std::unique_ptr<platform::qt::SettingsStore> settings_;
    std::vector<std::string> loadOrder_;

    // Declared in the order they are unloaded in reverse: the main window goes last.
    std::unique_ptr<FrmMain> frmMain_;
    std::unique_ptr<editors::FrmChord> frmChord_;
    std::unique_ptr<editors::FrmKeys> frmKeys_;
    std::unique_ptr<editors::FrmQuenby> frmQuenby_;
    std::unique_ptr<editors::FrmTaoAc> frmTaoAc_;
    std::unique_ptr<editors::FrmDrFill> frmDrFill_;
    std::unique_ptr<styles::FrmSections> frmSections_;
    std::unique_ptr<styles::FrmSaveSetting> frmSaveSetting_;
    std::unique_ptr<styles::FrmOpt1> frmOpt1_;
    std::unique_ptr<styles::FrmOpt2> frmOpt2_;
    std::unique_ptr<styles::FrmOpt3> frmOpt3_;
    std::unique_ptr<styles::FrmInstList> frmInstList_;
    std::unique_ptr<FrmSelectFile> frmSelectFile_;
    std::unique_ptr<shell::FrmAbout> frmAbout_;
};

// `name` in the program folder, where the workers read and write their files.
std::string InFolder(const char* name);

}  // namespace corvane
