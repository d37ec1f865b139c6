#include "frontend/shell/ui/skin_face.h"

#include <QMouseEvent>
#include <QPainter>

namespace corvane::shell {

int ButtonBits(Qt::MouseButtons buttons) {
    int bits = 0;
    if (buttons & Qt::LeftButton) bits |= kLeftButton;
    if (buttons & Qt::RightButton) bits |= kRightButton;
    if (buttons & Qt::MiddleButton) bits |= kMiddleButton;
    return bits;
}

namespace {

float Twips(qreal pixels) {
    return static_cast<float>(pixels * kTwipsPerPixel);
}

}  // namespace

SkinFace::SkinFace(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // A press on a face, enabled or not, never reaches the window under it (no drag starts).
    setAttribute(Qt::WA_NoMousePropagation);
}

SkinFace::~SkinFace() = default;

void SkinFace::Init(const SkinFaceSpec& spec, MouseCapture& capture) {
    button_ = std::make_unique<SkinButton>(spec, capture);
    button_->OnShow([this](SkinState) { update(); });
    if (spec.tooltip[0] != '\0') setToolTip(spec.tooltip);
}

void SkinFace::SetImages(const QImage& normal, const QImage& hover, const QImage& pressed) {
    normal_ = normal;
    hover_ = hover;
    pressed_ = pressed;
    update();
}

const QImage& SkinFace::Image(SkinState state) const {
    switch (state) {
        case SkinState::kHover:
            return hover_;
        case SkinState::kPressed:
            return pressed_;
        case SkinState::kNormal:
            break;
    }
    return normal_;
}

bool SkinFace::event(QEvent* event) {
    // Qt hands a disabled widget's mouse events to its parent; a disabled face swallows them.
    if (!isEnabled()) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
                event->accept();
                return true;
            default:
                break;
        }
    }
    return QWidget::event(event);
}

void SkinFace::paintEvent(QPaintEvent*) {
    const QImage& image = Image(button_ ? button_->State() : SkinState::kNormal);
    if (image.isNull()) return;
    QPainter painter(this);
    // The image's margins are the background itself, so at half opacity only the body fades.
    if (!isEnabled()) painter.setOpacity(0.5);
    painter.drawImage(rect(), image);
}

void SkinFace::mousePressEvent(QMouseEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) return;
    button_->MouseDown(ButtonBits(event->button()), Twips(event->position().x()),
                       Twips(event->position().y()));
}

void SkinFace::mouseMoveEvent(QMouseEvent* event) {
    button_->MouseMove(ButtonBits(event->buttons()), Twips(event->position().x()),
                       Twips(event->position().y()));
}

void SkinFace::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = button_->MouseUp(ButtonBits(event->button()), Twips(event->position().x()),
                                        Twips(event->position().y()), ButtonBits(event->buttons()));
    if (click) emit MouseUp();
}

void SkinFace::leaveEvent(QEvent* event) {
    if (button_) button_->PointerLeft();
    QWidget::leaveEvent(event);
}

}  // namespace corvane::shell
