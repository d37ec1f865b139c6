// The main window's shell controls: the picture button faces, the title, the visualiser and
// its icon, the play signs, the beat and slot LEDs, the bar labels, the hidden position scroll
// bars and the timer of the play LEDs; beside them the colour tables the shell reads. FrmMain
// inherits them.
#pragma once

#include <QLabel>
#include <QTimer>
#include <array>

#include "frontend/core/name_tables.h"
#include "frontend/shell/ui/skin_face.h"
#include "frontend/shell/ui/window_shape.h"
#include "platform/qt/caption_label.h"
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

    QLabel* PicTitle = nullptr;
    QLabel* ImgTitle = nullptr;
    QLabel* PicStyNo = nullptr;
    QLabel* Picture1 = nullptr;  // the visualiser
    QLabel* PictIcon = nullptr;
    QLabel* ImgPlSign0 = nullptr;
    QLabel* ImgPlSign1 = nullptr;
    std::array<CaptionLabel*, 6> LblLed{};
    std::array<CaptionLabel*, 5> LblStyLeds{};
    CaptionLabel* LblHa = nullptr;
    CaptionLabel* LblPlayFrom = nullptr;
    CaptionLabel* LblHsNen = nullptr;
    std::array<ValueBar*, 2> CanGatOut{};  // 0 the current bar, 1 the play-from bar
    QTimer* TimerOnLine = nullptr;
    WindowShape* ShapeCtl1 = nullptr;  // the window outline

    // Colour tables and state of the panel.
    Colour DemoDefaultColour = 0;
    std::array<Colour, 6> DemoBackColours{};
    std::array<Colour, 15> ChordColours{};
    std::array<Colour, 7> BeatLedColours{};
    int LitBeatLed = 0;
    int DemoColourStep = 0;

    void CreateShellControls(QWidget* form);
    // Every face, for code that treats them alike.
    std::vector<SkinFace*> Faces() const;
};

// The visualiser's designed background, a dark navy (0x00BBGGRR).
constexpr Colour kVisualiserBackColour = 0x3A2410;

}  // namespace corvane::shell
