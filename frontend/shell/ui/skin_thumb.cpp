#include "frontend/shell/ui/skin_thumb.h"

#include <QPainter>
#include <cmath>

namespace corvane::shell {

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

}  // namespace corvane::shell
