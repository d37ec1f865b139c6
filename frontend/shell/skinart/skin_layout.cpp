#include "frontend/shell/skinart/skin_layout.h"

#include <cmath>

namespace corvane::shell::skin {
namespace {

QPainterPath RoundedRect(const QRectF& rect, qreal radius = 6) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

}  // namespace

const QPolygonF& SkinLayout::Outline() {
    static const QPolygonF outline = [] {
        constexpr qreal kRadius = 16;
        constexpr qreal kNotchDepth = 24;
        constexpr qreal kNotchTop = 300;
        constexpr qreal kNotchBottom = 330;
        QPainterPath body;
        body.addRoundedRect(QRectF(0, 0, kMainWidth, kMainHeight), kRadius, kRadius);
        QPainterPath notch;
        notch.addRect(QRectF(0, kNotchTop, kNotchDepth, kNotchBottom - kNotchTop));
        return body.subtracted(notch).toFillPolygon();
    }();
    return outline;
}

QPainterPath SkinLayout::OutlinePath() {
    QPainterPath path;
    path.addPolygon(Outline());
    path.closeSubpath();
    return path;
}

QRect SkinLayout::FacePlace(FaceId face) {
    const SkinFaceSpec& spec = SpecOf(face);
    return {static_cast<int>(std::lround(spec.left / kTwipsPerPixel)),
            static_cast<int>(std::lround(spec.top / kTwipsPerPixel)), spec.bitmapWidth,
            spec.bitmapHeight};
}

std::vector<QPainterPath> SkinLayout::Panels() {
    std::vector<QPainterPath> panels;
    // The workflow column.
    panels.push_back(RoundedRect({6.5, 62.5, 75, 232}));
    // The song and output row: the input name above, key, input test, output name and the
    // two save buttons below.
    panels.push_back(RoundedRect({81.5, 64.5, 191, 54}).united(RoundedRect({81.5, 91.5, 527, 27})));
    // The bar list with its count.
    panels.push_back(RoundedRect({81.5, 120.5, 156, 172}));
    // The melody and option buttons beside the style mixer (part rows, slot choice, echo and
    // the master row), one panel: the option names run on towards the volume grooves.
    panels.push_back(
        RoundedRect({239.5, 120.5, 369, 108}).united(RoundedRect({270.5, 200.5, 338, 80})));
    // The status lines, clear of the outline's notch.
    panels.push_back(RoundedRect({27.5, 295.5, 260, 41}));
    // The transport bar.
    panels.push_back(RoundedRect({83.5, 335.5, 516, 65}));
    return panels;
}

std::vector<QRectF> SkinLayout::SubPanels() {
    // The echo box.
    return {{467.5, 143.5, 139, 44}};
}

QRectF SkinLayout::VolumeGroove(int part) {
    if (part == 5) return {276, 236, 133, kThumbHeight};
    return {308, 138.0 + 20 * part, 78, kThumbHeight};
}

QRectF SkinLayout::EchoGroove(int index) {
    return {532, index == 0 ? 168.0 : 148.0, 58, kThumbHeight};
}

std::vector<QRectF> SkinLayout::Bezels() {
    std::vector<QRectF> bezels;
    for (int i = 0; i < 6; ++i) bezels.emplace_back(436 + 20 * i, 342, 14, 8);  // beat LEDs
    for (int i = 0; i < 5; ++i) bezels.emplace_back(479 + 26 * i, 134, 10, 5);  // slot LEDs
    bezels.emplace_back(90, 360, 149, 33);                                      // visualiser
    bezels.emplace_back(244, 360, 33, 33);                                      // its icon
    return bezels;
}

std::vector<EngravedCaption> SkinLayout::Captions() {
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    return {
        {"Bars", {107, 121, 24, 15}, left},   {"Options", {244, 123, 58, 12}, left},
        {"Melody", {264, 141, 36, 15}, left}, {"STYLE MIXER", {444, 258, 110, 12}, Qt::AlignCenter},
        {"ECHO", {472, 189, 60, 11}, left},   {"TRANSPORT", {92, 341, 140, 12}, left},
    };
}

}  // namespace corvane::shell::skin
