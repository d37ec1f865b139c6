// The launcher's start form. It is never shown: its load handler does the launcher's whole
// job and the program ends with it. Only one copy runs per program folder; it installs the
// editor font for the user, tells the desktop that the font list changed, starts the front end
// and ends without waiting for it. Its only visible output is one of two message boxes.
#pragma once

#include <cstdint>
#include <string>

namespace vessane {

class LauncherBoxes;

class FrmStart {
  public:
    static constexpr const char* kCaption = "Starting Orvella ...";

    explicit FrmStart(LauncherBoxes& boxes) : boxes_(boxes) {}

    // Runs the launcher; returns the exit code of the process: 0, also for a second copy and
    // when only the font failed, and 1 when the front end could not be started, so that a
    // script that starts the launcher learns it.
    int Form_Load();

    std::string AppDir;
    std::string FontPath;
    std::int32_t FontResult = 0;

  private:
    LauncherBoxes& boxes_;
};

}  // namespace vessane
