#include "frontend/shell/ui/slot_badge.h"

#include <QPainter>

#include "frontend/app/app.h"
#include "platform/qt/caption_label.h"

namespace corvane::shell {

void SlotBadge::paintEvent(QPaintEvent*) {
    const int slot = App::Get().slotTables.CurSlot;
    if (slot < 0 || slot >= styles::kSlotCount) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x3A, 0x46, 0x56), 1));
    painter.setBrush(QColor(0x06, 0x09, 0x0D));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    QFont digit = font();
    digit.setPixelSize(11);
    digit.setBold(true);
    painter.setFont(digit);
    painter.setPen(platform::qt::ColourOf(styles::kSlotColours[slot]));
    painter.drawText(rect(), Qt::AlignCenter, QString::number(slot + 1));
}

}  // namespace corvane::shell
