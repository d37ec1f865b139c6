#include "frontend/shell/ui/window_shape.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>

namespace corvane::shell {

QPolygon MainOutline() {
    constexpr qreal kRadius = 16;
    constexpr qreal kNotchDepth = 24;
    constexpr qreal kNotchTop = 300;
    constexpr qreal kNotchBottom = 330;
    QPainterPath body;
    body.addRoundedRect(QRectF(0, 0, kMainWidth, kMainHeight), kRadius, kRadius);
    QPainterPath notch;
    notch.addRect(QRectF(0, kNotchTop, kNotchDepth, kNotchBottom - kNotchTop));
    return body.subtracted(notch).toFillPolygon().toPolygon();
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
