// Moving the title-less main window: a press on the window's own background with Ctrl, and
// only Ctrl, held starts a drag that follows the pointer until the release. Positions are in
// twips; the press point is in the window's own coordinates, so after every step the point
// under the pointer is still the press point and the window has moved by exactly as much as
// the pointer.
#pragma once

#include <optional>

namespace corvane::shell {

// Modifier bits as the window's mouse events carry them.
constexpr int kShiftKey = 1;
constexpr int kCtrlKey = 2;
constexpr int kAltKey = 4;

struct WindowPlace {
    float left = 0;
    float top = 0;
};

class WindowDrag {
  public:
    void Form_MouseDown(int button, int shift, float X, float Y, WindowPlace window);
    // The window's new place while a drag runs with button 1 or 2 held; nothing otherwise.
    std::optional<WindowPlace> Form_MouseMove(int button, float X, float Y);
    void Form_MouseUp();

    bool WinDragOn = false;
    float WinDragLeft = 0;
    float WinDragTop = 0;
    float WinDragX = 0;
    float WinDragY = 0;
};

}  // namespace corvane::shell
