// The main window's shell controls: the picture button faces, the slider thumbs and the echo
// grooves, the title, the visualiser and its icon, the play signs, the beat and slot LEDs, the
// bar labels, the hidden position scroll bars and the timer of the play LEDs; beside them the
// skin's shared image holders, the emulated mouse capture, the painter's ripple geometry and
// the colour tables the shell reads. FrmMain inherits them.
#pragma once

#include <QImage>
#include <QLabel>
#include <array>

#include "frontend/core/name_tables.h"
#include "frontend/shell/skin_geometry.h"
#include "frontend/shell/ui/skin_face.h"
#include "frontend/shell/ui/skin_thumb.h"
#include "frontend/shell/ui/visualiser_box.h"
#include "frontend/shell/ui/window_shape.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/timer_control.h"
#include "platform/qt/value_bar.h"

namespace corvane::shell {

using platform::qt::CaptionLabel;
using platform::qt::ValueBar;

struct ShellControls {
    SkinFace* PictBrow = nullptr;
    SkinFace* PictLoad = nullptr;
    SkinFace* PictProc = nullptr;
    SkinFace* PictStyl = nullptr;
    SkinFace* PictShChord = nullptr;
    SkinFace* PictMake = nullptr;
    SkinFace* PictTest = nullptr;
    SkinFace* PictEndT = nullptr;
    SkinFace* PictTeIn = nullptr;
    SkinFace* PictStIn = nullptr;
    SkinFace* PictSOut = nullptr;
    SkinFace* PictSave = nullptr;
    SkinFace* PictHelp = nullptr;
    SkinFace* PictAbou = nullptr;
    SkinFace* PictMini = nullptr;
    SkinFace* PictExit = nullptr;
    SkinFace* PictPlay = nullptr;
    SkinFace* PictPaus = nullptr;
    SkinFace* PictStop = nullptr;
    SkinFace* PictSeBe = nullptr;
    SkinFace* PictSeEn = nullptr;
    SkinFace* PictMiVi = nullptr;
    SkinFace* PictOpt1 = nullptr;
    SkinFace* PictOpt2 = nullptr;

    // The slider thumbs: song position, the five part volumes and the master, the two echoes.
    SkinThumb* PictHScr = nullptr;
    std::array<SkinThumb*, 6> PictVols{};
    std::array<SkinThumb*, 2> PictEchs{};
    std::array<CaptionLabel*, 2> LblEsNen{};  // the echo grooves: 0 the lower row, 1 the upper

    QLabel* PicTitle = nullptr;
    QLabel* ImgTitle = nullptr;
    QLabel* PicStyNo = nullptr;
    VisualiserBox* Picture1 = nullptr;  // the visualiser
    QLabel* PictIcon = nullptr;
    QLabel* ImgPlSign0 = nullptr;
    QLabel* ImgPlSign1 = nullptr;
    std::array<CaptionLabel*, 6> LblLed{};
    std::array<CaptionLabel*, 5> LblStyLeds{};
    CaptionLabel* LblHa = nullptr;
    CaptionLabel* LblPlayFrom = nullptr;
    CaptionLabel* LblHsNen = nullptr;
    std::array<ValueBar*, 2> CanGatOut{};               // 0 the current bar, 1 the play-from bar
    platform::qt::TimerControl* TimerOnLine = nullptr;  // the play signs' blink
    WindowShape* ShapeCtl1 = nullptr;                   // the window outline

    // Image holders drawn once at start: the whole window, the one image set of the three small
    // round buttons (0 Normal, 1 Pressed, 2 Hover), the position thumb's (0 Normal, 1 Pressed,
    // 2 Hover) and the volume and echo thumbs' (1 Pressed, 2 Normal, 3 Hover).
    QImage ImgMain;
    std::array<QImage, 3> PictTron;
    std::array<QImage, 3> PictHScr0;
    std::array<QImage, 4> PictHScrImage;

    // One holder of the mouse capture for every face and thumb.
    MouseCapture FaceCapture;
    RippleGeometry Ripple;

    // Colour tables and state of the panel.
    Colour DemoDefaultColour = 0;
    std::array<Colour, 6> DemoBackColours{};
    std::array<Colour, 15> ChordColours{};
    std::array<Colour, 7> BeatLedColours{};
    int LitBeatLed = 0;
    int DemoColourStep = 0;

    void CreateShellControls(QWidget* form);
    // Every face, for code that treats them alike, in the order of FaceId.
    std::vector<SkinFace*> Faces() const;
    SkinFace* Face(FaceId id) const;
    // Every thumb: the position thumb, the volume thumbs, the echo thumbs.
    std::vector<SkinThumb*> Thumbs() const;
};

// The visualiser's designed background, a dark navy (0x00BBGGRR).
constexpr Colour kVisualiserBackColour = 0x3A2410;

}  // namespace corvane::shell
