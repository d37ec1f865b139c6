#include "frontend/shell/ui/skin_face.h"

#include <QMouseEvent>
#include <QPainter>

namespace corvane::shell {

void SkinFace::SetLabel(const QString& label) {
    label_ = label;
    update();
}

void SkinFace::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setPen(QColor(0x1A, 0x22, 0x30));
    painter.setBrush(pressed_ ? QColor(0x26, 0x32, 0x44) : QColor(0x3E, 0x4F, 0x67));
    painter.drawRoundedRect(body, 4, 4);
    painter.setPen(isEnabled() ? QColor(0xE8, 0xEE, 0xF6) : QColor(0x80, 0x88, 0x94));
    QFont font = painter.font();
    font.setPixelSize(std::max(8, std::min(11, height() - 6)));
    painter.setFont(font);
    painter.drawText(body, Qt::AlignCenter, label_);
}

void SkinFace::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    update();
}

void SkinFace::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    update();
    if (click) emit MouseUp();
}

}  // namespace corvane::shell
