// A slider thumb of the skinned main window: a small picture over its groove that shows its
// Normal, Hover or Pressed image. The painter gives it its images and its track; the mixer
// handles its mouse events, which it passes on in twips with the button bits.
#pragma once

#include <QImage>
#include <QWidget>

#include "frontend/shell/skin_buttons.h"
#include "frontend/shell/skin_geometry.h"

namespace corvane::shell {

class SkinThumb : public QWidget {
    Q_OBJECT
  public:
    explicit SkinThumb(QWidget* parent = nullptr);

    void SetImages(const QImage& normal, const QImage& hover, const QImage& pressed);
    void Show(SkinState state);
    SkinState State() const { return state_; }

    // The thumb's Left on the window in twips; placing it rounds to whole pixels.
    float Left() const { return left_; }
    void SetLeft(float left);

    ThumbTrack Track;
    int Handle = 0;

  signals:
    // X and Y from the thumb's top-left corner; a move passes the buttons held, a release the
    // button released and the buttons still held.
    void MouseDown(int button, float X, float Y);
    void MouseMove(int buttons, float X, float Y);
    void MouseUp(int button, float X, float Y, int stillHeld);
    void PointerLeft();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QImage normal_;
    QImage hover_;
    QImage pressed_;
    SkinState state_ = SkinState::kNormal;
    float left_ = 0;
};

}  // namespace corvane::shell
