#include "launcher/launcher_boxes.h"

#include <QApplication>

#include "platform/qt/msg_box.h"

namespace vessane {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

LauncherBoxes::LauncherBoxes(int& argc, char** argv) : argc_(argc), argv_(argv) {}

LauncherBoxes::~LauncherBoxes() = default;

void LauncherBoxes::EnsureApplication() {
    if (application_ || QApplication::instance() != nullptr) return;
    application_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName("Vessane");
}

void LauncherBoxes::FontNotInstalled(const std::string& text) {
    EnsureApplication();
    MsgBox(QString::fromStdString(text), MsgIcon::kNone);
}

void LauncherBoxes::StartFailed(const std::string& text) {
    EnsureApplication();
    MsgBox(QString::fromStdString(text), MsgIcon::kCritical);
}

}  // namespace vessane
