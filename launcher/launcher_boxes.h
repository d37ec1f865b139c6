// The launcher's two message boxes, both with the application's title. The Qt application
// behind them is made only when a box is due, so a launcher run without a problem never
// talks to the display and uses no Qt at all.
#pragma once

#include <memory>
#include <string>

class QApplication;

namespace vessane {

class LauncherBoxes {
  public:
    // `argc` and `argv` are main's; they must outlive this object.
    LauncherBoxes(int& argc, char** argv);
    ~LauncherBoxes();
    LauncherBoxes(const LauncherBoxes&) = delete;
    LauncherBoxes& operator=(const LauncherBoxes&) = delete;

    // OK only, no icon.
    void FontNotInstalled(const std::string& text);
    // OK only, critical icon.
    void StartFailed(const std::string& text);

  private:
    void EnsureApplication();

    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> application_;
};

}  // namespace vessane
