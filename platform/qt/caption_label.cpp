#include "platform/qt/caption_label.h"

#include <QStringList>
#include <cstdlib>

namespace platform::qt {

QColor ColourOf(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent) {}

void CaptionLabel::SetCaption(const QString& caption) {
    if (caption == text()) return;
    setText(caption);
    emit Change();
}

void CaptionLabel::SetForeColor(std::uint32_t bgr) {
    foreColor_ = bgr;
    hasForeColor_ = true;
    Restyle();
}

void CaptionLabel::SetBackColor(std::uint32_t bgr) {
    backColor_ = bgr;
    hasBackColor_ = true;
    Restyle();
}

void CaptionLabel::Restyle() {
    // A style sheet of the form would win over the palette, so the colours go in the label's
    // own style sheet, both at once so that setting one keeps the other.
    QStringList rules;
    if (hasBackColor_) rules << "background-color: " + ColourOf(backColor_).name();
    if (hasForeColor_) {
        QColor text = ColourOf(foreColor_);
        if (hasBackColor_) {
            const QColor back = ColourOf(backColor_);
            constexpr int kLegibleDistance = 96;
            if (std::abs(text.lightness() - back.lightness()) < kLegibleDistance) {
                text =
                    back.lightness() >= 128 ? QColor(0x10, 0x15, 0x1C) : QColor(0xE8, 0xEE, 0xF6);
            }
        }
        rules << "color: " + text.name();
    }
    setStyleSheet(rules.join("; "));
}

}  // namespace platform::qt
