#include "frontend/shell/window_platform.h"

#include <cstdlib>
#include <cstring>

namespace corvane::shell {
namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

}  // namespace

void PreferXcbUnderWayland() {
    if (Set("QT_QPA_PLATFORM")) return;
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland =
        Set("WAYLAND_DISPLAY") || (session != nullptr && std::strcmp(session, "wayland") == 0);
    if (wayland) ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace corvane::shell
