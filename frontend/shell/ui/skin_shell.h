// The shell's part of the main window: painting the panel behind the controls, the dark look
// of the standard widgets on it, and the screen scale test. The drawn skin replaces the plain
// panel painted here without changing these entry points.
#pragma once

#include <QImage>

class QPainter;

namespace corvane {
class FrmMain;
}

namespace corvane::shell {

class SkinShell {
  public:
    explicit SkinShell(FrmMain& main) : main_(main) {}

    void PaintSkin();
    void DrawBackground(QPainter& painter) const;
    // True when the window's screen is at the normal scale (96 dpi, one device pixel a pixel).
    bool ScreenAtNormalScale() const;

  private:
    FrmMain& main_;
    QImage background_;
};

}  // namespace corvane::shell
