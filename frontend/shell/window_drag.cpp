#include "frontend/shell/window_drag.h"

#include "frontend/shell/skin_buttons.h"

namespace corvane::shell {

void WindowDrag::Form_MouseDown(int, int shift, float X, float Y, WindowPlace window) {
    // Ctrl with Shift or Alt is left to other uses; a drag in progress keeps running.
    if (shift != kCtrlKey) return;
    WinDragOn = true;
    WinDragLeft = window.left;
    WinDragTop = window.top;
    WinDragX = X;
    WinDragY = Y;
}

std::optional<WindowPlace> WindowDrag::Form_MouseMove(int button, float X, float Y) {
    if (!WinDragOn || (button != kLeftButton && button != kRightButton)) return std::nullopt;
    const float newLeft = WinDragLeft + (X - WinDragX);
    const float newTop = WinDragTop + (Y - WinDragY);
    WinDragLeft = newLeft;
    WinDragTop = newTop;
    return WindowPlace{newLeft, newTop};
}

void WindowDrag::Form_MouseUp() {
    WinDragOn = false;
}

}  // namespace corvane::shell
