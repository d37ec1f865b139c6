// The skin's colours: a dark, calm panel with light text and one accent per meaning (blue
// for hover and pressed, amber for what is running, green for play, red for leaving).
#pragma once

#include <QColor>

namespace corvane::shell::skin {

struct SkinPalette {
    // The window.
    static QColor BackTop() { return QColor(0x26, 0x30, 0x3D); }
    static QColor BackBottom() { return QColor(0x15, 0x1B, 0x23); }
    static QColor Outside() { return QColor(0x15, 0x1B, 0x23); }
    // Group panels and the recessed items in them.
    static QColor PanelFill() { return QColor(0x10, 0x15, 0x1C); }
    static QColor PanelBorder() { return QColor(0x3A, 0x46, 0x56); }
    static QColor SubPanelFill() { return QColor(0x16, 0x1D, 0x27); }
    static QColor Recess() { return QColor(0x06, 0x09, 0x0D); }
    static QColor Caption() { return QColor(0x8F, 0xA3, 0xBD); }
    static QColor CaptionShadow() { return QColor(0x03, 0x05, 0x08); }
    // Buttons.
    static QColor ButtonText() { return QColor(0xE8, 0xEE, 0xF6); }
    static QColor ButtonBorder() { return QColor(0x1A, 0x22, 0x30); }
    static QColor NormalTop() { return QColor(0x4A, 0x5D, 0x78); }
    static QColor NormalBottom() { return QColor(0x2F, 0x3D, 0x52); }
    static QColor HoverTop() { return QColor(0x64, 0x82, 0xA8); }
    static QColor HoverBottom() { return QColor(0x3F, 0x55, 0x72); }
    static QColor Glow() { return QColor(0x9C, 0xC4, 0xFF); }
    static QColor PressedTop() { return QColor(0x26, 0x32, 0x44); }
    static QColor PressedBottom() { return QColor(0x34, 0x45, 0x5E); }
    static QColor Amber() { return QColor(0xD0, 0x8A, 0x2A); }
    static QColor AmberDeep() { return QColor(0x8A, 0x55, 0x12); }
    static QColor AmberText() { return QColor(0x22, 0x16, 0x08); }
    static QColor Play() { return QColor(0x2E, 0x8B, 0x57); }
    static QColor Steel() { return QColor(0x6E, 0x7D, 0x90); }
    static QColor ExitRed() { return QColor(0xC8, 0x3A, 0x32); }
    // Slider thumbs.
    static QColor PositionThumb() { return QColor(0xF0, 0xA0, 0x30); }
    static QColor SilverThumb() { return QColor(0xC4, 0xCC, 0xD6); }
    static QColor ThumbPressed() { return QColor(0x4A, 0xA3, 0xFF); }
    // Signs and the title.
    static QColor SignLit() { return QColor(0x7C, 0xFC, 0x00); }
    static QColor SignDim() { return QColor(0x3A, 0x4A, 0x3A); }
    static QColor Wordmark() { return QColor(0xF2, 0xF6, 0xFB); }
    static QColor WordmarkLow() { return QColor(0x9F, 0xB4, 0xCE); }
};

}  // namespace corvane::shell::skin
