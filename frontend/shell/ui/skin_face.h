// A picture button of the skinned main window: the widget only adapts Qt's mouse events to the
// face's state machine (twips, button bits, the emulated capture) and shows the image the
// machine asks for. It carries the Enabled state the workflow switches: a disabled face draws
// its current image dimmed and takes no mouse event, not even for the window below it. A
// click (press and release inside the hit area) raises MouseUp; the main window runs the
// face's command from it.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "frontend/shell/skin_buttons.h"

namespace corvane::shell {

class SkinFace : public QWidget {
    Q_OBJECT
  public:
    explicit SkinFace(QWidget* parent = nullptr);
    ~SkinFace() override;

    void Init(const SkinFaceSpec& spec, MouseCapture& capture);
    SkinButton& Button() { return *button_; }
    const SkinButton& Button() const { return *button_; }
    FaceId Id() const { return button_->Spec().id; }

    // The three images of the face (the holders of its Pressed, Normal and Hover pictures).
    void SetImages(const QImage& normal, const QImage& hover, const QImage& pressed);
    const QImage& Image(SkinState state) const;

  signals:
    void MouseUp();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    std::unique_ptr<SkinButton> button_;
    QImage normal_;
    QImage hover_;
    QImage pressed_;
};

// Mouse buttons of a Qt event as the event bits of the faces (1 left, 2 right, 4 middle).
int ButtonBits(Qt::MouseButtons buttons);

}  // namespace corvane::shell
