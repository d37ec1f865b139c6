// The outline of the title-less main window (the skin's point list: a rounded rectangle of
// 625 x 407 with a notch on its left edge). Showing the shape masks the window to the
// outline; hiding it removes the mask (on a screen that is not at the normal scale the mask
// would cut the wrong pixels, and the art outside the outline still looks finished).
#pragma once

#include <QObject>
#include <QPolygon>

#include "frontend/shell/skinart/skin_layout.h"

class QWidget;

namespace corvane::shell {

using skin::kMainHeight;
using skin::kMainWidth;

QPolygon MainOutline();

class WindowShape : public QObject {
    Q_OBJECT
  public:
    explicit WindowShape(QWidget* window);
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }

  private:
    QWidget* window_;
    bool visible_ = false;
};

}  // namespace corvane::shell
