// The slot-number badge beside the slot options: the number of the style slot the panel shows,
// in that slot's colour. It reads the slot when it paints, so a repaint is all it needs.
#pragma once

#include <QLabel>

namespace corvane::shell {

class SlotBadge : public QLabel {
    Q_OBJECT
  public:
    explicit SlotBadge(QWidget* parent = nullptr) : QLabel(parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane::shell
