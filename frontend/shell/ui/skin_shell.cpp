#include "frontend/shell/ui/skin_shell.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <cmath>

#include "frontend/shell/ui/frm_main.h"

namespace corvane::shell {
namespace {

const char* const kStyleSheet =
    "QLabel { color: #D8E2EE; }"
    "QLineEdit, QListWidget { background: #0E1318; color: #D8E2EE; border: 1px solid #3A4656; }"
    "QRadioButton { color: #D8E2EE; }"
    "QPushButton { background: #3E4F67; color: #E8EEF6; border: 1px solid #1A2230; border-radius: "
    "3px; }";

}  // namespace

void SkinShell::PaintSkin() {
    background_ = QImage(kMainWidth, kMainHeight, QImage::Format_ARGB32_Premultiplied);
    background_.fill(QColor(0x15, 0x1B, 0x23));
    QPainter painter(&background_);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addPolygon(MainOutline());
    QLinearGradient gradient(0, 0, 0, kMainHeight);
    gradient.setColorAt(0, QColor(0x26, 0x30, 0x3D));
    gradient.setColorAt(1, QColor(0x15, 0x1B, 0x23));
    painter.fillPath(outline, gradient);
    painter.setPen(QColor(0x3A, 0x46, 0x56));
    painter.drawPath(outline);
    const QRect panels[] = {{6, 62, 78, 232},
                            {80, 64, 190, 228},
                            {300, 112, 160, 140},
                            {464, 112, 150, 76},
                            {84, 336, 530, 64}};
    painter.setBrush(QColor(0x10, 0x15, 0x1C));
    for (const QRect& panel : panels) painter.drawRoundedRect(panel, 6, 6);
    painter.end();
    main_.setStyleSheet(kStyleSheet);
    main_.update();
}

void SkinShell::DrawBackground(QPainter& painter) const {
    if (!background_.isNull()) painter.drawImage(0, 0, background_);
}

bool SkinShell::ScreenAtNormalScale() const {
    const QScreen* screen = main_.screen();
    if (screen == nullptr) return true;
    return screen->devicePixelRatio() == 1.0 && std::lround(screen->logicalDotsPerInch()) == 96;
}

}  // namespace corvane::shell
