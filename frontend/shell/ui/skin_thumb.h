// A slider thumb of the skinned main window: a small picture over its groove that shows its
// Normal, Hover or Pressed image. The painter gives it its images and its track; dragging it
// and turning its place into its scroll bar's value belong to the sliders.
#pragma once

#include <QImage>
#include <QWidget>

#include "frontend/shell/skin_buttons.h"
#include "frontend/shell/skin_geometry.h"

namespace corvane::shell {

class SkinThumb : public QWidget {
    Q_OBJECT
  public:
    explicit SkinThumb(QWidget* parent = nullptr) : QWidget(parent) {}

    void SetImages(const QImage& normal, const QImage& hover, const QImage& pressed);
    void Show(SkinState state);
    SkinState State() const { return state_; }

    // The thumb's Left on the window in twips; placing it rounds to whole pixels.
    float Left() const { return left_; }
    void SetLeft(float left);

    ThumbTrack Track;
    int Handle = 0;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage normal_;
    QImage hover_;
    QImage pressed_;
    SkinState state_ = SkinState::kNormal;
    float left_ = 0;
};

}  // namespace corvane::shell
