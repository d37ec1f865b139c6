// The window system the program asks Qt for. A Wayland desktop gives a window neither a
// shape nor a place the program may set, so the outline and the Ctrl drag need X: under
// Wayland the program asks for the xcb platform (XWayland), unless one was chosen already
// (the tests choose offscreen, the screenshots xcb).
#pragma once

namespace corvane::shell {

// Sets QT_QPA_PLATFORM to "xcb" on a Wayland desktop when it is not set; call before the
// application object is made.
void PreferXcbUnderWayland();

}  // namespace corvane::shell
