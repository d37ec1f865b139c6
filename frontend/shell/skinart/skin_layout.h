// Where everything of the skinned main window sits, in pixels of a screen at the normal
// scale: the outline, the group panels, the grooves of the sliders, the bezels of the LEDs and
// of the visualiser, the engraved captions, the title box and the faces' places (from their
// twips). The art draws from it and the window places its controls by it.
#pragma once

#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <QString>
#include <vector>

#include "frontend/shell/skin_buttons.h"

namespace corvane::shell::skin {

constexpr int kMainWidth = 625;
constexpr int kMainHeight = 407;

// A slider thumb's bitmap.
constexpr int kThumbWidth = 8;
constexpr int kThumbHeight = 15;

struct EngravedCaption {
    QString text;
    QRectF box;
    Qt::Alignment align;
};

struct SkinLayout {
    // The window's outline as a point list: a rounded rectangle with a notch on the left edge.
    static const QPolygonF& Outline();
    static QPainterPath OutlinePath();

    // A face's rectangle on the window: its twips divided by 15 and rounded.
    static QRect FacePlace(FaceId face);
    static QRect TitlePlace() { return {275, 40, 308, 46}; }

    // Group panels (each may be the union of rectangles) and the boxes set into them.
    static std::vector<QPainterPath> Panels();
    static std::vector<QRectF> SubPanels();
    // Grooves by their Left, Top, Width; the thumb's top is the groove's top.
    static QRectF PositionGroove() { return {432, 358, 127, kThumbHeight}; }
    static QRectF VolumeGroove(int part);  // 0..4 the parts, 5 the master volume
    static QRectF EchoGroove(int index);   // 0 the lower row, 1 the upper
    // Recessed frames drawn under controls that others colour.
    static std::vector<QRectF> Bezels();
    static std::vector<EngravedCaption> Captions();
};

}  // namespace corvane::shell::skin
