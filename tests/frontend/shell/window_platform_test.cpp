// Which window system the program asks for: xcb on a Wayland desktop, what was chosen
// otherwise.
#include "frontend/shell/window_platform.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace corvane::shell {
namespace {

TEST(PreferXcbUnderWayland, OnlyAnUnchosenPlatformOnWaylandBecomesXcb) {
    struct Case {
        const char* platform;
        const char* waylandDisplay;
        const char* sessionType;
        const char* expected;  // nullptr: stays unset
    } const cases[] = {
        {nullptr, "wayland-0", nullptr, "xcb"},
        {nullptr, nullptr, "wayland", "xcb"},
        {nullptr, "", "x11", nullptr},
        {nullptr, nullptr, nullptr, nullptr},
        {"offscreen", "wayland-0", "wayland", "offscreen"},
        {"wayland", "wayland-0", nullptr, "wayland"},
    };
    auto put = [](const char* name, const char* value) {
        if (value == nullptr) {
            ::unsetenv(name);
        } else {
            ::setenv(name, value, 1);
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.platform ? c.platform : "-") + "/" +
                     (c.waylandDisplay ? c.waylandDisplay : "-") + "/" +
                     (c.sessionType ? c.sessionType : "-"));
        put("QT_QPA_PLATFORM", c.platform);
        put("WAYLAND_DISPLAY", c.waylandDisplay);
        put("XDG_SESSION_TYPE", c.sessionType);
        PreferXcbUnderWayland();
        const char* platform = ::getenv("QT_QPA_PLATFORM");
        if (c.expected == nullptr) {
            EXPECT_EQ(platform, nullptr);
        } else {
            ASSERT_NE(platform, nullptr);
            EXPECT_STREQ(platform, c.expected);
        }
    }
}

}  // namespace
}  // namespace corvane::shell
