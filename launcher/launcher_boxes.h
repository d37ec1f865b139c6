// The launcher's two message boxes, both with the application's title. The Qt application
// behind them is made only when a box is due, so a launcher run without a problem never
// talks to the display and uses no Qt at all. With no display at all the text goes to
// standard error instead.
#pragma once

#include <memory>
#include <string>

class QApplication;

namespace platform::qt {
enum class MsgIcon;
}

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
    void Show(const std::string& text, platform::qt::MsgIcon icon);

    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> application_;
};

}  // namespace vessane
