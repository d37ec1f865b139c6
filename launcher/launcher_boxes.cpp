#include "launcher/launcher_boxes.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/msg_box.h"

namespace vessane {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

LauncherBoxes::LauncherBoxes(int& argc, char** argv) : argc_(argc), argv_(argv) {}

LauncherBoxes::~LauncherBoxes() = default;

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Without any display Qt would abort the launcher instead of showing a box; the text then goes
// to standard error, where whoever started the launcher from a console sees it.
bool CanShowBoxes() {
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM") ||
           Set("ORVELLA_MSGBOX_LOG");
}

}  // namespace

void LauncherBoxes::EnsureApplication() {
    if (application_ || QApplication::instance() != nullptr) return;
    application_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName("Vessane");
}

void LauncherBoxes::Show(const std::string& text, MsgIcon icon) {
    if (!CanShowBoxes()) {
        std::fprintf(stderr, "Vessane: %s\n", text.c_str());
        return;
    }
    EnsureApplication();
    MsgBox(QString::fromStdString(text), icon);
}

void LauncherBoxes::FontNotInstalled(const std::string& text) {
    Show(text, MsgIcon::kNone);
}

void LauncherBoxes::StartFailed(const std::string& text) {
    Show(text, MsgIcon::kCritical);
}

}  // namespace vessane
