#include "frontend/shell/skinart/skin_art.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "frontend/shell/skinart/skin_layout.h"
#include "frontend/shell/skinart/skin_palette.h"

namespace corvane::shell::skin {
namespace {

using P = SkinPalette;

const char* const kFontFamily = "DejaVu Sans";

QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

QImage NewImage(QSize logical, qreal dpr) {
    QImage image(std::lround(logical.width() * dpr), std::lround(logical.height() * dpr),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    return image;
}

QFont SkinFont(qreal pixelSize, bool bold) {
    QFont font(kFontFamily);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// The largest size up to `preferred` at which `text` fits into `width`.
QFont FittedFont(const QString& text, qreal width, int preferred, bool bold) {
    for (int size = preferred; size > 7; --size) {
        const QFont font = SkinFont(size, bold);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width) return font;
    }
    return SkinFont(7, bold);
}

// Text with a one-pixel shadow, centred in `box`.
void DrawLabel(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
               QColor colour, QColor shadow) {
    p.setFont(font);
    p.setPen(shadow);
    p.drawText(box.translated(0, 1), Qt::AlignCenter, text);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

// ---- glyphs, drawn around a centre in logical pixels ----

QPainterPath NoteGlyph(QPointF centre, qreal height) {
    // An eighth note: a tilted head, a stem on its right and a flag.
    const qreal s = height / 16.0;
    QPainterPath path;
    QTransform head;
    head.translate(centre.x() - 2.2 * s, centre.y() + 4.6 * s);
    head.rotate(-24);
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(0, 0), 3.3 * s, 2.3 * s);
    path.addPath(head.map(ellipse));
    const qreal stemX = centre.x() + 0.6 * s;
    path.addRect(QRectF(stemX, centre.y() - 7.5 * s, 1.5 * s, 12 * s));
    QPainterPath flag;
    flag.moveTo(stemX + 1.5 * s, centre.y() - 7.5 * s);
    flag.cubicTo(stemX + 2.5 * s, centre.y() - 4 * s, stemX + 7 * s, centre.y() - 3.5 * s,
                 stemX + 5 * s, centre.y() + 1.5 * s);
    flag.cubicTo(stemX + 5.5 * s, centre.y() - 2.5 * s, stemX + 3 * s, centre.y() - 3 * s,
                 stemX + 1.5 * s, centre.y() - 3.8 * s);
    flag.closeSubpath();
    path.addPath(flag);
    path.setFillRule(Qt::WindingFill);
    return path;
}

QPainterPath Triangle(QPointF a, QPointF b, QPointF c) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

QPainterPath PlayGlyph(QPointF c, qreal size) {
    return Triangle({c.x() - size * 0.38, c.y() - size * 0.5},
                    {c.x() - size * 0.38, c.y() + size * 0.5}, {c.x() + size * 0.52, c.y()});
}

QPainterPath PauseGlyph(QPointF c, qreal size) {
    QPainterPath path;
    const qreal w = size * 0.3;
    path.addRoundedRect(QRectF(c.x() - size * 0.42, c.y() - size * 0.5, w, size), 1, 1);
    path.addRoundedRect(QRectF(c.x() + size * 0.12, c.y() - size * 0.5, w, size), 1, 1);
    return path;
}

QPainterPath StopGlyph(QPointF c, qreal size) {
    QPainterPath path;
    path.addRoundedRect(QRectF(c.x() - size / 2, c.y() - size / 2, size, size), 1.5, 1.5);
    return path;
}

// A bar and two triangles pointing away from the middle towards it (`toEnd` mirrors).
QPainterPath SeekGlyph(QPointF c, qreal h, bool toEnd) {
    const qreal dir = toEnd ? 1 : -1;
    const qreal half = h / 2;
    QPainterPath path;
    const qreal barX = c.x() + dir * (h * 0.95);
    path.addRect(QRectF(barX - (toEnd ? 0 : 1.4), c.y() - half, 1.4, h));
    for (int i = 0; i < 2; ++i) {
        const qreal tip = c.x() + dir * (h * 0.95 - 0.2) - dir * i * h * 0.85;
        const qreal base = tip - dir * h * 0.85;
        path.addPath(Triangle({base, c.y() - half}, {base, c.y() + half}, {tip, c.y()}));
    }
    path.setFillRule(Qt::WindingFill);
    return path;
}

QPainterPath DiskGlyph(const QRectF& box) {
    // A floppy disk: the body with a cut corner, the shutter and the label as holes.
    QPainterPath body;
    const qreal cut = box.width() * 0.25;
    body.moveTo(box.left(), box.top());
    body.lineTo(box.right() - cut, box.top());
    body.lineTo(box.right(), box.top() + cut);
    body.lineTo(box.right(), box.bottom());
    body.lineTo(box.left(), box.bottom());
    body.closeSubpath();
    QPainterPath holes;
    holes.addRect(QRectF(box.left() + box.width() * 0.22, box.top() + box.height() * 0.1,
                         box.width() * 0.46, box.height() * 0.28));
    holes.addRect(QRectF(box.left() + box.width() * 0.18, box.top() + box.height() * 0.55,
                         box.width() * 0.64, box.height() * 0.33));
    return body.subtracted(holes);
}

QPainterPath FolderGlyph(const QRectF& box) {
    QPainterPath path;
    const qreal tab = box.height() * 0.25;
    path.moveTo(box.left(), box.top() + tab);
    path.lineTo(box.left(), box.bottom());
    path.lineTo(box.right(), box.bottom());
    path.lineTo(box.right(), box.top() + tab);
    path.lineTo(box.left() + box.width() * 0.5, box.top() + tab);
    path.lineTo(box.left() + box.width() * 0.4, box.top());
    path.lineTo(box.left(), box.top());
    path.closeSubpath();
    return path;
}

// ---- the background ----

void DrawEngraved(QPainter& p, const EngravedCaption& caption) {
    p.setFont(SkinFont(8, true));
    p.setPen(P::CaptionShadow());
    p.drawText(caption.box.translated(1, 1), caption.align, caption.text);
    p.setPen(P::Caption());
    p.drawText(caption.box, caption.align, caption.text);
}

void DrawRecess(QPainter& p, const QRectF& rect, qreal radius) {
    // A dark hollow: darker inside, a light edge below where the light catches its rim.
    const QRectF outer = rect.adjusted(-1, -1, 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(Qt::white, 22));
    p.drawRoundedRect(outer.translated(0, 1), radius + 1, radius + 1);
    p.setBrush(P::Recess());
    p.drawRoundedRect(outer, radius + 1, radius + 1);
}

void DrawGroove(QPainter& p, const QRectF& groove) {
    const QRectF track(groove.left(), groove.top() + (groove.height() - 4) / 2, groove.width(), 4);
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(Qt::white, 26));
    p.drawRoundedRect(track.translated(0, 1), 2, 2);
    p.setBrush(P::Recess());
    p.drawRoundedRect(track, 2, 2);
}

QImage DrawBackground(qreal dpr) {
    QImage image = NewImage({kMainWidth, kMainHeight}, dpr);
    image.fill(P::Outside());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPainterPath outline = SkinLayout::OutlinePath();

    QLinearGradient back(0, 0, 0, kMainHeight);
    back.setColorAt(0, P::BackTop());
    back.setColorAt(1, P::BackBottom());
    p.fillRect(QRectF(0, 0, kMainWidth, kMainHeight), back);

    // Brushed metal: faint short streaks, light and dark, from a fixed seed.
    std::mt19937 random(0x0C0FFEE);
    p.setPen(Qt::NoPen);
    p.setRenderHint(QPainter::Antialiasing, false);  // whole-pixel streaks need none
    for (int i = 0; i < 900; ++i) {
        const qreal y = random() % kMainHeight;
        const qreal x = static_cast<qreal>(random() % (kMainWidth + 80)) - 40;
        const qreal length = 30 + random() % 160;
        const bool light = random() % 2 == 0;
        p.setBrush(light ? WithAlpha(Qt::white, 15) : WithAlpha(Qt::black, 15));
        p.drawRect(QRectF(x, y, length, 1));
    }
    p.setRenderHint(QPainter::Antialiasing);

    // The header with its separator under the title bar buttons.
    QLinearGradient header(0, 0, 0, 38);
    header.setColorAt(0, WithAlpha(Qt::white, 14));
    header.setColorAt(1, WithAlpha(Qt::white, 0));
    p.fillRect(QRectF(0, 0, kMainWidth, 38), header);
    p.fillRect(QRectF(16, 38, kMainWidth - 32, 1), WithAlpha(Qt::black, 110));
    p.fillRect(QRectF(16, 39, kMainWidth - 32, 1), WithAlpha(Qt::white, 18));

    // Group panels: inset, with a dark inner edge above and light catching the edge below.
    for (const QPainterPath& panel : SkinLayout::Panels()) {
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(Qt::white, 20));
        p.drawPath(panel.translated(0, 1));
        const qreal top = panel.boundingRect().top();
        QLinearGradient inset(0, top, 0, top + 5);
        inset.setColorAt(0, P::Recess());
        inset.setColorAt(1, P::PanelFill());
        p.setBrush(inset);
        p.setPen(QPen(P::PanelBorder(), 1));
        p.drawPath(panel);
    }
    for (const QRectF& box : SkinLayout::SubPanels()) {
        p.setPen(QPen(WithAlpha(P::PanelBorder(), 170), 1));
        p.setBrush(P::SubPanelFill());
        p.drawRoundedRect(box, 4, 4);
    }

    DrawGroove(p, SkinLayout::PositionGroove());
    for (int part = 0; part < 6; ++part) DrawGroove(p, SkinLayout::VolumeGroove(part));
    for (int index = 0; index < 2; ++index) DrawGroove(p, SkinLayout::EchoGroove(index));
    for (const QRectF& bezel : SkinLayout::Bezels())
        DrawRecess(p, bezel, bezel.height() > 10 ? 3 : 1);
    for (const EngravedCaption& caption : SkinLayout::Captions()) DrawEngraved(p, caption);

    // Outside the outline the window shows the plain dark, should the mask be off.
    QPainterPath outside;
    outside.addRect(QRectF(0, 0, kMainWidth, kMainHeight));
    p.fillPath(outside.subtracted(outline), P::Outside());

    // The bevel along the outline: light on the upper edges, dark on the lower ones.
    QLinearGradient bevel(0, 0, 0, kMainHeight);
    bevel.setColorAt(0, WithAlpha(Qt::white, 70));
    bevel.setColorAt(0.5, WithAlpha(Qt::white, 14));
    bevel.setColorAt(0.51, WithAlpha(Qt::black, 60));
    bevel.setColorAt(1, WithAlpha(Qt::black, 150));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(bevel), 1));
    QTransform inset;
    inset.translate(kMainWidth / 2.0, kMainHeight / 2.0);
    inset.scale((kMainWidth - 1.0) / kMainWidth, (kMainHeight - 1.0) / kMainHeight);
    inset.translate(-kMainWidth / 2.0, -kMainHeight / 2.0);
    p.drawPath(inset.map(outline));
    return image;
}

// The window and the crops of the buttons and the title all come from one drawing per pixel
// ratio.
std::map<qreal, QImage>& BackgroundCache() {
    static std::map<qreal, QImage> cache;
    return cache;
}

const QImage& Background(qreal dpr) {
    std::map<qreal, QImage>& cache = BackgroundCache();
    auto found = cache.find(dpr);
    if (found == cache.end()) found = cache.emplace(dpr, DrawBackground(dpr)).first;
    return found->second;
}

QImage CropOf(const QRect& place, qreal dpr) {
    const QImage& background = Background(dpr);
    QImage crop =
        background.copy(std::lround(place.x() * dpr), std::lround(place.y() * dpr),
                        std::lround(place.width() * dpr), std::lround(place.height() * dpr));
    crop.setDevicePixelRatio(dpr);
    return crop;
}

// ---- button bodies ----

enum class Tone { kBlue, kAmber };

struct BodyColours {
    QColor top, bottom, text, shadow;
};

BodyColours ColoursOf(Tone tone, SkinState state) {
    if (tone == Tone::kAmber) {
        const QColor base = P::Amber();
        switch (state) {
            case SkinState::kNormal:
                return {base.lighter(118), base.darker(150), P::AmberText(),
                        WithAlpha(Qt::white, 60)};
            case SkinState::kHover:
                return {base.lighter(140), base.darker(118), P::AmberText(),
                        WithAlpha(Qt::white, 80)};
            case SkinState::kPressed:
                return {P::AmberDeep().darker(130), P::AmberDeep(), P::AmberText(),
                        WithAlpha(Qt::white, 30)};
        }
    }
    switch (state) {
        case SkinState::kNormal:
            return {P::NormalTop(), P::NormalBottom(), P::ButtonText(), WithAlpha(Qt::black, 150)};
        case SkinState::kHover:
            return {P::HoverTop(), P::HoverBottom(), Qt::white, WithAlpha(Qt::black, 150)};
        case SkinState::kPressed:
            return {P::PressedTop(), P::PressedBottom(), P::ButtonText().darker(112),
                    WithAlpha(Qt::black, 150)};
    }
    return {};
}

// A rounded rectangular body over `b`; returns the box its content goes into (moved by one
// pixel while pressed).
QRectF DrawRectBody(QPainter& p, const QRectF& b, SkinState state, Tone tone) {
    const BodyColours colours = ColoursOf(tone, state);
    const qreal radius = std::min<qreal>(4, b.height() / 3);
    const QRectF inner = b.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(b.topLeft(), b.bottomLeft());
    fill.setColorAt(0, colours.top);
    fill.setColorAt(1, colours.bottom);
    p.setPen(QPen(P::ButtonBorder(), 1));
    p.setBrush(fill);
    p.drawRoundedRect(inner, radius, radius);
    p.setBrush(Qt::NoBrush);
    switch (state) {
        case SkinState::kNormal:
            p.setPen(QPen(WithAlpha(Qt::white, 40), 1));
            p.drawLine(QPointF(b.left() + radius, b.top() + 1.5),
                       QPointF(b.right() - radius, b.top() + 1.5));
            break;
        case SkinState::kHover:
            p.setPen(QPen(
                WithAlpha(tone == Tone::kAmber ? QColor(0xFF, 0xE0, 0xA8) : P::Glow(), 210), 1));
            p.drawRoundedRect(b.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
            break;
        case SkinState::kPressed: {
            QLinearGradient shade(b.topLeft(), QPointF(b.left(), b.top() + 4));
            shade.setColorAt(0, WithAlpha(Qt::black, 130));
            shade.setColorAt(1, WithAlpha(Qt::black, 0));
            QPainterPath body;
            body.addRoundedRect(b.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
            p.fillPath(body, shade);
            break;
        }
    }
    return state == SkinState::kPressed ? b.translated(1, 1) : b;
}

void DrawRectButton(QPainter& p, const QRectF& b, SkinState state, Tone tone, const QString& text,
                    int preferredSize) {
    const QRectF content = DrawRectBody(p, b, state, tone);
    const BodyColours colours = ColoursOf(tone, state);
    const QFont font = FittedFont(text, b.width() - 4, preferredSize, true);
    DrawLabel(p, content, text, font, colours.text, colours.shadow);
}

void DrawGlyphButton(QPainter& p, const QRectF& b, SkinState state, Tone tone,
                     const QPainterPath& glyph) {
    const QRectF content = DrawRectBody(p, b, state, tone);
    const BodyColours colours = ColoursOf(tone, state);
    const QPointF shift = content.topLeft() - b.topLeft();
    p.setPen(Qt::NoPen);
    p.setBrush(colours.shadow);
    p.drawPath(glyph.translated(shift + QPointF(0, 1)));
    p.setBrush(colours.text);
    p.drawPath(glyph.translated(shift));
}

// A glass disc: dark rim, a body shaded like a dome, a highlight arc and the sign.
void DrawDisc(QPainter& p, QPointF c, qreal r, QColor base, SkinState state,
              const QPainterPath& sign) {
    if (state == SkinState::kHover) base = base.lighter(128);
    if (state == SkinState::kPressed) base = base.darker(135);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x08, 0x0B, 0x10));
    p.drawEllipse(c, r, r);
    const qreal body = r - 1.6;
    QRadialGradient dome(c + QPointF(-body * 0.25, -body * 0.35), body * 1.35);
    dome.setColorAt(0, base.lighter(150));
    dome.setColorAt(0.55, base);
    dome.setColorAt(1, base.darker(210));
    p.setBrush(dome);
    p.drawEllipse(c, body, body);
    if (state == SkinState::kHover) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(WithAlpha(P::Glow(), 200), 1));
        p.drawEllipse(c, body - 0.5, body - 0.5);
        p.setPen(Qt::NoPen);
    }
    if (state != SkinState::kPressed) {
        QLinearGradient shine(QPointF(c.x(), c.y() - body), QPointF(c.x(), c.y()));
        shine.setColorAt(0, WithAlpha(Qt::white, 120));
        shine.setColorAt(1, WithAlpha(Qt::white, 0));
        p.setBrush(shine);
        p.drawEllipse(QRectF(c.x() - body * 0.72, c.y() - body * 0.92, body * 1.44, body * 0.95));
    } else {
        QRadialGradient shade(c, body);
        shade.setColorAt(0.7, WithAlpha(Qt::black, 0));
        shade.setColorAt(1, WithAlpha(Qt::black, 110));
        p.setBrush(shade);
        p.drawEllipse(c, body, body);
    }
    const QPointF shift = state == SkinState::kPressed ? QPointF(1, 1) : QPointF(0, 0);
    p.setBrush(WithAlpha(Qt::black, 120));
    p.drawPath(sign.translated(shift + QPointF(0, 1)));
    p.setBrush(QColor(0xF4, 0xF8, 0xFC));
    p.drawPath(sign.translated(shift));
}

// The small round buttons: a dark dome, amber under the pointer, deep amber pressed.
void DrawDome(QPainter& p, QPointF c, qreal r, SkinState state) {
    QColor base = QColor(0x3A, 0x46, 0x58);
    if (state == SkinState::kHover) base = P::Amber();
    if (state == SkinState::kPressed) base = P::AmberDeep();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x05, 0x07, 0x0A));
    p.drawEllipse(c, r, r);
    QRadialGradient dome(c + QPointF(-r * 0.3, -r * 0.4), r * 1.4);
    dome.setColorAt(0, base.lighter(state == SkinState::kPressed ? 115 : 165));
    dome.setColorAt(0.6, base);
    dome.setColorAt(1, base.darker(220));
    p.setBrush(dome);
    p.drawEllipse(c, r - 1, r - 1);
    p.setBrush(WithAlpha(Qt::white, state == SkinState::kPressed ? 40 : 110));
    p.drawEllipse(QPointF(c.x() - r * 0.25, c.y() - r * 0.35), r * 0.32, r * 0.22);
}

// The minimise and exit buttons: small dark squares, the exit turning red under the pointer.
void DrawWindowButton(QPainter& p, const QRectF& b, SkinState state, bool exit) {
    QColor top(0x34, 0x40, 0x52), bottom(0x1D, 0x25, 0x31);
    if (state == SkinState::kHover) {
        top = exit ? P::ExitRed().lighter(120) : P::HoverTop();
        bottom = exit ? P::ExitRed().darker(130) : P::HoverBottom();
    } else if (state == SkinState::kPressed) {
        top = exit ? P::ExitRed().darker(170) : P::PressedTop();
        bottom = exit ? P::ExitRed().darker(130) : P::PressedBottom();
    }
    QLinearGradient fill(b.topLeft(), b.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(QColor(0x0C, 0x10, 0x16), 1));
    p.setBrush(fill);
    p.drawRoundedRect(b.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    const QPointF c =
        b.center() + (state == SkinState::kPressed ? QPointF(0.5, 0.5) : QPointF(0, 0));
    const qreal arm = std::min(b.width(), b.height()) * 0.22;
    p.setPen(QPen(state == SkinState::kNormal ? QColor(0xC9, 0xD3, 0xDF) : QColor(Qt::white), 1.6,
                  Qt::SolidLine, Qt::RoundCap));
    if (exit) {
        p.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
        p.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));
    } else {
        p.drawLine(c + QPointF(-arm, arm * 0.6), c + QPointF(arm, arm * 0.6));
    }
}

// The device pixels of a face's image that its hit area covers, and their bounding box in
// logical pixels.
struct HitMask {
    std::vector<bool> inside;
    int width = 0;
    QRectF bounds;
};

HitMask MaskOf(const SkinFaceSpec& face, qreal dpr) {
    HitMask mask;
    mask.width = static_cast<int>(std::lround(face.bitmapWidth * dpr));
    const int height = static_cast<int>(std::lround(face.bitmapHeight * dpr));
    mask.inside.assign(static_cast<std::size_t>(mask.width * height), false);
    int left = mask.width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (!SkinArt::InHitArea(face, x, y, dpr)) continue;
            mask.inside[static_cast<std::size_t>(y * mask.width + x)] = true;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right >= 0)
        mask.bounds =
            QRectF(left / dpr, top / dpr, (right - left + 1) / dpr, (bottom - top + 1) / dpr);
    return mask;
}

QString FaceLabel(FaceId face) {
    switch (face) {
        case FaceId::PictBrow:
            return "Browse";
        case FaceId::PictLoad:
            return "1. Load";
        case FaceId::PictProc:
            return "2. Proceed";
        case FaceId::PictStyl:
            return "Styles";
        case FaceId::PictShChord:
            return "Chord List";
        case FaceId::PictMake:
            return "3. Make";
        case FaceId::PictTest:
            return "Test Out";
        case FaceId::PictEndT:
            return "End Test";
        case FaceId::PictTeIn:
            return "Test Input";
        case FaceId::PictStIn:
            return "Stop Input";
        case FaceId::PictSOut:
            return "Save Output";
        case FaceId::PictHelp:
            return "Help";
        case FaceId::PictAbou:
            return "About";
        default:
            return {};
    }
}

void DrawFaceBody(QPainter& p, const SkinFaceSpec& face, const HitMask& mask, SkinState state,
                  qreal dpr) {
    const QRectF b = mask.bounds;
    const FaceId id = face.id;
    const bool running = id == FaceId::PictEndT || id == FaceId::PictStIn;
    const Tone tone = running ? Tone::kAmber : Tone::kBlue;
    switch (id) {
        case FaceId::PictPlay:
        case FaceId::PictPaus:
        case FaceId::PictStop: {
            // The disc sits half a device pixel down and right, where the pixels whose
            // top-left corners are inside the circle have their centres.
            const QPointF c(face.hit.cx / kTwipsPerPixel + 0.5 / dpr,
                            face.hit.cy / kTwipsPerPixel + 0.5 / dpr);
            const qreal r = face.hit.r / kTwipsPerPixel;
            if (id == FaceId::PictStop) {
                DrawDisc(p, c, r, P::Steel(), state, StopGlyph(c, r * 0.62));
            } else if (id == FaceId::PictPlay) {
                DrawDisc(p, c, r, P::Play(), state, PlayGlyph(c + QPointF(1, 0), r * 0.78));
            } else {
                DrawDisc(p, c, r, P::Amber(), state, PauseGlyph(c, r * 0.7));
            }
            return;
        }
        case FaceId::PictMini:
        case FaceId::PictExit:
            DrawWindowButton(p, b, state, id == FaceId::PictExit);
            return;
        case FaceId::PictSave: {
            const QRectF disk = QRectF(b.center() - QPointF(3.5, 3.5), QSizeF(7, 7));
            DrawGlyphButton(p, b, state, tone, DiskGlyph(disk));
            return;
        }
        case FaceId::PictSeBe:
        case FaceId::PictSeEn:
            DrawGlyphButton(
                p, b, state, tone,
                SeekGlyph(b.center(), std::min<qreal>(6, b.height() - 2), id == FaceId::PictSeEn));
            return;
        default:
            break;
    }
    const int preferred = b.height() >= 16 ? 11 : (b.height() >= 13 ? 10 : 9);
    DrawRectButton(p, b, state, tone, FaceLabel(id), preferred);
}

// Draws `body` over `base` only where the hit mask is set.
void Compose(QImage& base, QImage& body, const HitMask& mask) {
    for (int y = 0; y < body.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(body.scanLine(y));
        for (int x = 0; x < body.width(); ++x) {
            if (!mask.inside[static_cast<std::size_t>(y * mask.width + x)]) line[x] = 0;
        }
    }
    const qreal dpr = base.devicePixelRatio();
    base.setDevicePixelRatio(1);
    body.setDevicePixelRatio(1);
    QPainter p(&base);
    p.drawImage(0, 0, body);
    p.end();
    base.setDevicePixelRatio(dpr);
}

QImage RenderFace(const SkinFaceSpec& face, SkinState state, qreal dpr) {
    QImage image = CropOf(SkinLayout::FacePlace(face.id), dpr);
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const HitMask mask = MaskOf(face, dpr);
    QImage body = NewImage({face.bitmapWidth, face.bitmapHeight}, dpr);
    {
        QPainter p(&body);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        if (face.sharedSmallRound) {
            const QPointF c = mask.bounds.center();
            DrawDome(p, c, std::min(mask.bounds.width(), mask.bounds.height()) / 2, state);
        } else {
            DrawFaceBody(p, face, mask, state, dpr);
        }
    }
    Compose(image, body, mask);
    return image;
}

// ---- the other images ----

QImage RenderThumb(QColor base, SkinState state, qreal dpr) {
    QImage image = NewImage({kThumbWidth, kThumbHeight}, dpr);
    if (state == SkinState::kHover) base = base.lighter(125);
    if (state == SkinState::kPressed) base = P::ThumbPressed();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pill(0.5, 0.5, kThumbWidth - 1, kThumbHeight - 1);
    QLinearGradient fill(pill.topLeft(), pill.topRight());
    fill.setColorAt(0, base.lighter(135));
    fill.setColorAt(0.45, base);
    fill.setColorAt(1, base.darker(170));
    p.setPen(QPen(base.darker(260), 1));
    p.setBrush(fill);
    p.drawRoundedRect(pill, 3.5, 3.5);
    p.setPen(QPen(WithAlpha(Qt::black, 120), 1));
    for (qreal y : {5.5, 7.5, 9.5}) p.drawLine(QPointF(2, y), QPointF(kThumbWidth - 2, y));
    return image;
}

QImage RenderPlaySign(int phase, qreal dpr) {
    QImage image = NewImage({16, 16}, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath note = NoteGlyph({8, 8}, 14);
    p.setPen(Qt::NoPen);
    if (phase == 0) {
        p.setBrush(WithAlpha(P::SignLit(), 70));
        p.drawEllipse(QPointF(7, 10), 6.5, 5.5);
        p.setBrush(P::SignLit());
    } else {
        p.setBrush(P::SignDim());
    }
    p.drawPath(note);
    return image;
}

QImage RenderButtonIcon(ButtonIcon icon, qreal dpr) {
    const bool big = icon == ButtonIcon::kSaveSetting || icon == ButtonIcon::kLoadSetting;
    const int size = big ? 14 : 12;
    QImage image = NewImage({size, size}, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0xDD, 0xE6, 0xF1);
    if (big) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        const QRectF box(1.5, 2, size - 3, size - 4);
        p.drawPath(icon == ButtonIcon::kSaveSetting ? DiskGlyph(box) : FolderGlyph(box));
        return image;
    }
    // A turning arrow around the letter of what it resets.
    const QRectF ring(1, 1, size - 2, size - 2);
    p.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 100 * 16, 290 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(
        Triangle({size / 2.0 - 0.5, -0.4}, {size / 2.0 - 0.5, 3.6}, {size / 2.0 + 2.6, 1.6}));
    const char* letter = icon == ButtonIcon::kResetVolumes       ? "V"
                         : icon == ButtonIcon::kResetInstruments ? "I"
                                                                 : "M";
    p.setFont(SkinFont(6, true));
    p.setPen(ink);
    p.drawText(QRectF(0, 0.5, size, size), Qt::AlignCenter, letter);
    return image;
}

QImage RenderAppIcon(int size, qreal dpr) {
    QImage image = NewImage({size, size}, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(0.5, 0.5, size - 1, size - 1);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, QColor(0x33, 0x46, 0x63));
    fill.setColorAt(1, QColor(0x10, 0x16, 0x20));
    p.setPen(QPen(QColor(0x07, 0x0A, 0x0F), 1));
    p.setBrush(fill);
    p.drawRoundedRect(tile, size * 0.22, size * 0.22);
    p.setPen(Qt::NoPen);
    QLinearGradient glow(0, size * 0.15, 0, size * 0.9);
    glow.setColorAt(0, P::Amber().lighter(130));
    glow.setColorAt(1, P::Amber().darker(115));
    p.setBrush(glow);
    p.drawPath(NoteGlyph({size * 0.5, size * 0.5}, size * 0.78));
    return image;
}

void DrawTitleArt(QPainter& p, const QRectF& box) {
    QLinearGradient glass(box.topLeft(), box.bottomLeft());
    glass.setColorAt(0, QColor(0x14, 0x1B, 0x25));
    glass.setColorAt(1, QColor(0x0A, 0x0E, 0x13));
    p.setPen(QPen(P::PanelBorder(), 1));
    p.setBrush(glass);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    p.setPen(QPen(WithAlpha(Qt::white, 26), 1));
    p.drawLine(QPointF(box.left() + 7, box.top() + 1.5), QPointF(box.right() - 7, box.top() + 1.5));

    const QFont wordmark = SkinFont(26, true);
    const QFont subtitle = SkinFont(9, false);
    const QString name = "Orvella";
    const QString tagline = "automatic accompaniment";
    const qreal nameWidth = QFontMetricsF(wordmark).horizontalAdvance(name);
    const qreal noteWidth = 22;
    const qreal groupWidth = noteWidth + 8 + nameWidth;
    const qreal left = box.left() + (box.width() - groupWidth) / 2;
    const qreal baseline = box.top() + 29;

    p.setPen(Qt::NoPen);
    QLinearGradient amber(0, box.top() + 6, 0, box.top() + 34);
    amber.setColorAt(0, P::Amber().lighter(135));
    amber.setColorAt(1, P::Amber().darker(120));
    p.setBrush(amber);
    p.drawPath(NoteGlyph({left + noteWidth / 2, box.top() + 19}, 26));

    // Glyphs through the glyph cache: a light gradient as the pen, a dark copy below.
    const QPointF at(left + noteWidth + 8, baseline);
    p.setFont(wordmark);
    p.setPen(WithAlpha(Qt::black, 160));
    p.drawText(at + QPointF(0, 1.5), name);
    QLinearGradient light(0, baseline - 20, 0, baseline);
    light.setColorAt(0, P::Wordmark());
    light.setColorAt(1, P::WordmarkLow());
    p.setPen(QPen(QBrush(light), 1));
    p.drawText(at, name);

    p.setFont(subtitle);
    p.setPen(P::Caption());
    p.drawText(QRectF(box.left(), baseline + 3, box.width(), 12), Qt::AlignHCenter | Qt::AlignTop,
               tagline);
}

QImage RenderTitle(qreal dpr) {
    QImage image =
        CropOf(SkinLayout::TitlePlace(), dpr).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawTitleArt(p, QRectF(QPointF(0, 0), SkinLayout::TitlePlace().size()));
    return image;
}

QImage RenderAboutPicture(qreal dpr) {
    const QSize title = SkinLayout::TitlePlace().size();
    QImage image = NewImage(title * 2, dpr);
    image.fill(P::BackBottom());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(2, 2);
    DrawTitleArt(p, QRectF(QPointF(0, 0), title));
    return image;
}

const char* StateName(SkinState state) {
    switch (state) {
        case SkinState::kNormal:
            return "normal";
        case SkinState::kHover:
            return "hover";
        case SkinState::kPressed:
            return "pressed";
    }
    return "";
}

constexpr SkinState kStates[] = {SkinState::kNormal, SkinState::kHover, SkinState::kPressed};

}  // namespace

bool SkinArt::InHitArea(const SkinFaceSpec& face, int x, int y, qreal devicePixelRatio) {
    const float X = static_cast<float>(x * kTwipsPerPixel / devicePixelRatio);
    const float Y = static_cast<float>(y * kTwipsPerPixel / devicePixelRatio);
    return face.hit.Contains(X, Y);
}

QSize SkinArt::LogicalSize(SkinImageId id) {
    switch (id.kind) {
        case SkinImageKind::kBackground:
            return {kMainWidth, kMainHeight};
        case SkinImageKind::kTitle:
            return SkinLayout::TitlePlace().size();
        case SkinImageKind::kFace: {
            const SkinFaceSpec& face = SpecOf(static_cast<FaceId>(id.index));
            return {face.bitmapWidth, face.bitmapHeight};
        }
        case SkinImageKind::kSmallRound: {
            const SkinFaceSpec& face = SpecOf(FaceId::PictMiVi);
            return {face.bitmapWidth, face.bitmapHeight};
        }
        case SkinImageKind::kPositionThumb:
        case SkinImageKind::kSliderThumb:
            return {kThumbWidth, kThumbHeight};
        case SkinImageKind::kPlaySign:
            return {16, 16};
        case SkinImageKind::kButtonIcon: {
            const auto icon = static_cast<ButtonIcon>(id.index);
            const bool big = icon == ButtonIcon::kSaveSetting || icon == ButtonIcon::kLoadSetting;
            return big ? QSize(14, 14) : QSize(12, 12);
        }
        case SkinImageKind::kAppIcon:
            return {id.index, id.index};
        case SkinImageKind::kAboutPicture:
            return SkinLayout::TitlePlace().size() * 2;
    }
    return {};
}

QImage SkinArt::render(SkinImageId id, qreal devicePixelRatio) {
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1;
    switch (id.kind) {
        case SkinImageKind::kBackground:
            return Background(dpr);
        case SkinImageKind::kTitle:
            return RenderTitle(dpr);
        case SkinImageKind::kFace:
            return RenderFace(SpecOf(static_cast<FaceId>(id.index)), id.state, dpr);
        case SkinImageKind::kSmallRound:
            return RenderFace(SpecOf(FaceId::PictMiVi), id.state, dpr);
        case SkinImageKind::kPositionThumb:
            return RenderThumb(P::PositionThumb(), id.state, dpr);
        case SkinImageKind::kSliderThumb:
            return RenderThumb(P::SilverThumb(), id.state, dpr);
        case SkinImageKind::kPlaySign:
            return RenderPlaySign(id.index, dpr);
        case SkinImageKind::kButtonIcon:
            return RenderButtonIcon(static_cast<ButtonIcon>(id.index), dpr);
        case SkinImageKind::kAppIcon:
            return RenderAppIcon(id.index, dpr);
        case SkinImageKind::kAboutPicture:
            return RenderAboutPicture(dpr);
    }
    return {};
}

QString SkinArt::Name(SkinImageId id) {
    switch (id.kind) {
        case SkinImageKind::kBackground:
            return "background";
        case SkinImageKind::kTitle:
            return "title";
        case SkinImageKind::kFace:
            return QString("%1-%2").arg(SpecOf(static_cast<FaceId>(id.index)).name,
                                        StateName(id.state));
        case SkinImageKind::kSmallRound:
            return QString("small-round-%1").arg(StateName(id.state));
        case SkinImageKind::kPositionThumb:
            return QString("position-thumb-%1").arg(StateName(id.state));
        case SkinImageKind::kSliderThumb:
            return QString("slider-thumb-%1").arg(StateName(id.state));
        case SkinImageKind::kPlaySign:
            return id.index == 0 ? "play-sign-lit" : "play-sign-dim";
        case SkinImageKind::kButtonIcon: {
            static const char* const names[] = {"icon-reset-volumes", "icon-reset-instruments",
                                                "icon-reset-modes", "icon-save-setting",
                                                "icon-load-setting"};
            return names[id.index];
        }
        case SkinImageKind::kAppIcon:
            return QString("app-icon-%1").arg(id.index);
        case SkinImageKind::kAboutPicture:
            return "about";
    }
    return {};
}

std::vector<SkinImageId> SkinArt::AllImages() {
    std::vector<SkinImageId> all = {{SkinImageKind::kBackground}, {SkinImageKind::kTitle}};
    for (const SkinFaceSpec& face : SkinFaces()) {
        if (face.sharedSmallRound) continue;
        for (SkinState state : kStates)
            all.push_back({SkinImageKind::kFace, static_cast<int>(face.id), state});
    }
    for (SkinImageKind kind :
         {SkinImageKind::kSmallRound, SkinImageKind::kPositionThumb, SkinImageKind::kSliderThumb}) {
        for (SkinState state : kStates) all.push_back({kind, 0, state});
    }
    all.push_back({SkinImageKind::kPlaySign, 0});
    all.push_back({SkinImageKind::kPlaySign, 1});
    for (int icon = 0; icon <= static_cast<int>(ButtonIcon::kLoadSetting); ++icon)
        all.push_back({SkinImageKind::kButtonIcon, icon});
    for (int size : {16, 32, 64}) all.push_back({SkinImageKind::kAppIcon, size});
    all.push_back({SkinImageKind::kAboutPicture});
    return all;
}

void SkinArt::ForgetDrawings() {
    BackgroundCache().clear();
}

QIcon SkinArt::ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 64}) {
        icon.addPixmap(QPixmap::fromImage(render({SkinImageKind::kAppIcon, size}, 1)));
    }
    return icon;
}

}  // namespace corvane::shell::skin
