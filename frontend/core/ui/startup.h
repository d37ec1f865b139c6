// The main window's start-up and activation: Form_Initialize with Form_Load inside it (the
// single-instance test, the style library scan, the name tables, the settings, the hidden
// dialogs), Form_Activate, and the plain exit that saves the user's settings. Every failure
// of the start-up shows its message and ends the program without touching any file.
#pragma once

#include "frontend/app/app.h"

namespace corvane {

class FrmMain;

// The notice when the editor font is missing; the start-up and the first Proceed show it.
extern const char* const kFontMissing;

class Startup {
  public:
    explicit Startup(FrmMain& main) : main_(main) {}

    StartupOutcome Form_Initialize();
    // False when a fatal message was shown.
    bool Form_Load();
    void Form_Activate();

    void SaveUserSetting();
    // The shutdown (frontend/core/ui/shutdown.cpp).
    void CmdExitClick();

  private:
    bool ScanStyles();
    bool RestoreStyleOfSlots();
    void ApplyUserSettings();
    void FirstActivation();

    FrmMain& main_;
    bool firstActivationDone_ = false;
};

}  // namespace corvane
