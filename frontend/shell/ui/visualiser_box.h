// The visualiser's picture box: a persistent image that circles are drawn into with a pen, a
// fill and one of sixteen raster drawing modes, and that shows its back colour under them.
// Setting the back colour, even to the colour it has, or clearing the box wipes every drawing.
// Coordinates are twips from the box's top-left corner, as the window keeps them.
#pragma once

#include <QImage>
#include <QWidget>

#include "frontend/shell/visualiser_rules.h"

namespace corvane::shell {

class VisualiserBox : public QWidget {
    Q_OBJECT
  public:
    explicit VisualiserBox(QWidget* parent = nullptr);

    VisColour BackColor() const { return back_; }
    void SetBackColor(VisColour colour);
    VisColour ForeColor = 0;
    VisColour FillColor = 0;
    int FillStyle = 1;  // 0 solid, 1 none, 2 horizontal lines, 4 upward, 5 downward diagonals
    int DrawMode = 13;  // 1..16; 13 draws the pen as it is
    int DrawStyle = 0;  // 0 solid lines
    int DrawWidth = 1;  // pixels

    // A circle at (x, y) with radius r in the fore colour, filled by the fill style and colour.
    void Circle(float x, float y, float r);
    void Cls();

    // The drawings as they stand, for the window and for tests.
    const QImage& Image() {
        Fit();
        return image_;
    }

  signals:
    void MouseUp(int button);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // The image follows the box's size; a new one shows only the back colour.
    void Fit();

    VisColour back_ = 0;
    QImage image_;
};

}  // namespace corvane::shell
