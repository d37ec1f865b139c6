#include "platform/qt/caption_label.h"

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
    // A style sheet of the form would win over the palette, so the colour goes in the label's
    // own style sheet.
    setStyleSheet("color: " + ColourOf(bgr).name());
}

}  // namespace platform::qt
