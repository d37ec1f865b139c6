// The outline of the title-less main window: a rounded rectangle of 625 x 407 with a notch on
// its left edge. Showing the shape masks the window to the outline; hiding it removes the mask
// (on a screen that is not at the normal scale the mask would cut the wrong pixels).
#pragma once

#include <QObject>
#include <QPolygon>

class QWidget;

namespace corvane::shell {

constexpr int kMainWidth = 625;
constexpr int kMainHeight = 407;

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
