#include "frontend/shell/ui/visualiser_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "frontend/shell/skin_buttons.h"
#include "frontend/shell/ui/skin_face.h"
#include "platform/qt/caption_label.h"

namespace corvane::shell {
namespace {

// Drawing modes 1..16 (P the pen, D the drawing below): 0, ~(P|D), ~P&D, ~P, P&~D, ~D, P^D,
// ~(P&D), P&D, ~(P^D), D, ~P|D, P, P|~D, P|D, 1.
constexpr QPainter::CompositionMode kModes[16] = {
    QPainter::RasterOp_ClearDestination,        QPainter::RasterOp_NotSourceAndNotDestination,
    QPainter::RasterOp_NotSourceAndDestination, QPainter::RasterOp_NotSource,
    QPainter::RasterOp_SourceAndNotDestination, QPainter::RasterOp_NotDestination,
    QPainter::RasterOp_SourceXorDestination,    QPainter::RasterOp_NotSourceOrNotDestination,
    QPainter::RasterOp_SourceAndDestination,    QPainter::RasterOp_NotSourceXorDestination,
    QPainter::CompositionMode_Destination,      QPainter::RasterOp_NotSourceOrDestination,
    QPainter::CompositionMode_Source,           QPainter::RasterOp_SourceOrNotDestination,
    QPainter::RasterOp_SourceOrDestination,     QPainter::RasterOp_SetDestination,
};

Qt::BrushStyle BrushOf(int fillStyle) {
    switch (fillStyle) {
        case 0:
            return Qt::SolidPattern;
        case 2:
            return Qt::HorPattern;
        case 4:
            return Qt::BDiagPattern;
        case 5:
            return Qt::FDiagPattern;
        default:
            return Qt::NoBrush;
    }
}

}  // namespace

VisualiserBox::VisualiserBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VisualiserBox::SetBackColor(VisColour colour) {
    back_ = colour;
    Cls();
}

void VisualiserBox::Cls() {
    Fit();
    image_.fill(platform::qt::ColourOf(back_));
    update();
}

void VisualiserBox::Circle(float x, float y, float r) {
    if (DrawMode < 1 || DrawMode > 16) return;
    Fit();
    QPainter painter(&image_);
    painter.setCompositionMode(kModes[DrawMode - 1]);
    const QColor pen = platform::qt::ColourOf(ForeColor);
    painter.setPen(DrawStyle == 0 ? QPen(pen, DrawWidth) : QPen(pen, DrawWidth, Qt::DashLine));
    painter.setBrush(QBrush(platform::qt::ColourOf(FillColor), BrushOf(FillStyle)));
    const float radius = r / kTwipsPerPixel;
    painter.drawEllipse(QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel), radius, radius);
    painter.end();
    update();
}

void VisualiserBox::paintEvent(QPaintEvent*) {
    Fit();
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void VisualiserBox::Fit() {
    if (image_.size() == size()) return;
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(platform::qt::ColourOf(back_));
}

void VisualiserBox::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(ButtonBits(event->button()));
}

}  // namespace corvane::shell
