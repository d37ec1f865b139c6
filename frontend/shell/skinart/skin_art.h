// Every image of the skinned main window, drawn by our own code with QPainter primitives and
// gradients at any device pixel ratio; the only texture (the brushed lines of the background)
// comes from a fixed seed, so the same call always gives the same pixels.
//
// A button image is the crop of the background at the face's place with the button's body
// drawn exactly over its hit area: the device pixels a mouse event can hit are the ones that
// look clickable, and the Normal, Hover and Pressed images differ only there.
#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

#include "frontend/shell/skin_buttons.h"

namespace corvane::shell::skin {

enum class SkinImageKind {
    kBackground,     // the whole window
    kTitle,          // the title strip, cropped from the background at its box
    kFace,           // a button face of its own; index = FaceId
    kSmallRound,     // the one image set of the melody and option buttons
    kPositionThumb,  // the song position slider's thumb
    kSliderThumb,    // the volume and echo sliders' thumb
    kPlaySign,       // index 0 lit, 1 dim
    kButtonIcon,     // index = ButtonIcon
    kAppIcon,        // index = the size in pixels: 16, 32 or 64
    kAboutPicture,   // the title art at twice its size on its own ground
};

// Icons of the graphical command buttons of the style panel.
enum class ButtonIcon { kResetVolumes, kResetInstruments, kResetModes, kSaveSetting, kLoadSetting };

struct SkinImageId {
    SkinImageKind kind = SkinImageKind::kBackground;
    int index = 0;
    SkinState state = SkinState::kNormal;
};

struct SkinArt {
    static QImage render(SkinImageId id, qreal devicePixelRatio);
    // The image's size in pixels of a screen at the normal scale.
    static QSize LogicalSize(SkinImageId id);
    // A file name stem: "PictLoad-hover", "background", "icon-32".
    static QString Name(SkinImageId id);
    // Every image, each state of each button included.
    static std::vector<SkinImageId> AllImages();
    // Whether the device pixel (x, y) of a face's image lies in the face's hit area: the
    // mouse event of that pixel carries its top-left corner in twips.
    static bool InHitArea(const SkinFaceSpec& face, int x, int y, qreal devicePixelRatio);
    // The background is drawn once per pixel ratio and kept for the crops; this drops it, so
    // the next call draws it anew.
    static void ForgetDrawings();
    // The application and window icon at 16, 32 and 64 pixels.
    static QIcon ApplicationIcon();
};

}  // namespace corvane::shell::skin
