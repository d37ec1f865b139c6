#include "frontend/shell/ui/skin_thumb.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "frontend/shell/ui/skin_face.h"

namespace corvane::shell {
namespace {

float Twips(qreal pixels) {
    return static_cast<float>(pixels * kTwipsPerPixel);
}

}  // namespace

SkinThumb::SkinThumb(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // A press on a thumb never starts the window's drag.
    setAttribute(Qt::WA_NoMousePropagation);
}

void SkinThumb::SetImages(const QImage& normal, const QImage& hover, const QImage& pressed) {
    normal_ = normal;
    hover_ = hover;
    pressed_ = pressed;
    update();
}

void SkinThumb::Show(SkinState state) {
    state_ = state;
    update();
}

void SkinThumb::SetLeft(float left) {
    left_ = left;
    move(static_cast<int>(std::lround(left / kTwipsPerPixel)), y());
}

void SkinThumb::paintEvent(QPaintEvent*) {
    const QImage& image =
        state_ == SkinState::kHover ? hover_ : (state_ == SkinState::kPressed ? pressed_ : normal_);
    if (image.isNull()) return;
    QPainter painter(this);
    painter.drawImage(rect(), image);
}

void SkinThumb::mousePressEvent(QMouseEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) return;
    emit MouseDown(ButtonBits(event->button()), Twips(event->position().x()),
                   Twips(event->position().y()));
}

void SkinThumb::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(ButtonBits(event->buttons()), Twips(event->position().x()),
                   Twips(event->position().y()));
}

void SkinThumb::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(ButtonBits(event->button()), Twips(event->position().x()),
                 Twips(event->position().y()), ButtonBits(event->buttons()));
}

void SkinThumb::leaveEvent(QEvent* event) {
    emit PointerLeft();
    QWidget::leaveEvent(event);
}

}  // namespace corvane::shell
