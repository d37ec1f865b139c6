#include "frontend/shell/ui/window_shape.h"

#include <QGuiApplication>
#include <QRegion>
#include <QWidget>

namespace corvane::shell {

QPolygon MainOutline() {
    return skin::SkinLayout::Outline().toPolygon();
}

WindowShape::WindowShape(QWidget* window) : QObject(window), window_(window) {}

void WindowShape::SetVisible(bool visible) {
    visible_ = visible;
    // The offscreen platform of the tests has no window masks; the state is kept all the same.
    if (QGuiApplication::platformName() == "offscreen") return;
    if (visible) {
        window_->setMask(QRegion(MainOutline()));
    } else {
        window_->clearMask();
    }
}

}  // namespace corvane::shell
