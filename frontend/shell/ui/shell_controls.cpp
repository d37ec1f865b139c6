#include "frontend/shell/ui/shell_controls.h"

#include "frontend/core/ui/make_control.h"

namespace corvane::shell {
namespace {

struct FacePlace {
    SkinFace* ShellControls::*member;
    const char* name;
    const char* label;
    QRect place;
};

const FacePlace kFaces[] = {
    {&ShellControls::PictBrow, "PictBrow", "Browse", {10, 68, 67, 29}},
    {&ShellControls::PictLoad, "PictLoad", "1. Load", {10, 100, 67, 29}},
    {&ShellControls::PictProc, "PictProc", "2. Proceed", {10, 132, 67, 29}},
    {&ShellControls::PictStyl, "PictStyl", "Styles", {10, 164, 67, 29}},
    {&ShellControls::PictShChord, "PictShChord", "Chord List", {10, 196, 67, 29}},
    {&ShellControls::PictMake, "PictMake", "3. Make", {10, 228, 67, 29}},
    {&ShellControls::PictTest, "PictTest", "Test Out", {10, 260, 67, 29}},
    {&ShellControls::PictEndT, "PictEndT", "End Test", {10, 260, 67, 29}},
    {&ShellControls::PictTeIn, "PictTeIn", "Test Input", {196, 95, 70, 20}},
    {&ShellControls::PictStIn, "PictStIn", "Stop Input", {196, 95, 70, 20}},
    {&ShellControls::PictSOut, "PictSOut", "Save Output", {420, 95, 70, 20}},
    {&ShellControls::PictSave, "PictSave", "S", {584, 96, 17, 17}},
    {&ShellControls::PictHelp, "PictHelp", "Help", {92, 12, 75, 22}},
    {&ShellControls::PictAbou, "PictAbou", "About", {192, 12, 75, 22}},
    {&ShellControls::PictMini, "PictMini", "-", {572, 18, 16, 17}},
    {&ShellControls::PictExit, "PictExit", "x", {589, 18, 16, 17}},
    {&ShellControls::PictPlay, "PictPlay", "Play", {294, 344, 55, 55}},
    {&ShellControls::PictPaus, "PictPaus", "Pause", {294, 344, 55, 55}},
    {&ShellControls::PictStop, "PictStop", "Stop", {353, 355, 44, 44}},
    {&ShellControls::PictSeBe, "PictSeBe", "|<", {400, 357, 31, 15}},
    {&ShellControls::PictSeEn, "PictSeEn", ">|", {560, 357, 30, 15}},
    {&ShellControls::PictMiVi, "PictMiVi", "", {244, 139, 19, 19}},
    {&ShellControls::PictOpt1, "PictOpt1", "", {244, 159, 19, 19}},
    {&ShellControls::PictOpt2, "PictOpt2", "", {244, 179, 19, 19}},
};

}  // namespace

void ShellControls::CreateShellControls(QWidget* form) {
    for (const FacePlace& face : kFaces) {
        SkinFace* control = MakeControl<SkinFace>(form, face.name, face.place);
        control->SetLabel(face.label);
        this->*face.member = control;
    }
    // The alternates start hidden: End Test, Stop Input and Pause show while they mean something.
    PictEndT->hide();
    PictStIn->hide();
    PictPaus->hide();

    PicTitle = MakeControl<QLabel>(form, "PicTitle", {275, 40, 308, 46});
    ImgTitle = MakeControl<QLabel>(PicTitle, "ImgTitle", {0, 0, 308, 46});
    ImgTitle->setText("Orvella");
    ImgTitle->setAlignment(Qt::AlignCenter);
    PicStyNo = MakeControl<QLabel>(form, "PicStyNo", {450, 116, 16, 16});
    Picture1 = MakeControl<QLabel>(form, "Picture1", {90, 360, 149, 33});
    Picture1->setAutoFillBackground(true);
    PictIcon = MakeControl<QLabel>(form, "PictIcon", {244, 360, 33, 33});
    PictIcon->setAutoFillBackground(true);
    ImgPlSign0 = MakeControl<QLabel>(form, "ImgPlSign0", {604, 340, 16, 16});
    ImgPlSign1 = MakeControl<QLabel>(form, "ImgPlSign1", {604, 340, 16, 16});
    ImgPlSign0->hide();
    for (int i = 0; i < 6; ++i) {
        LblLed[i] =
            MakeControl<CaptionLabel>(form, ElementName("LblLed", i), {436 + 20 * i, 342, 14, 8});
    }
    for (int i = 0; i < 5; ++i) {
        LblStyLeds[i] = MakeControl<CaptionLabel>(form, ElementName("LblStyLeds", i),
                                                  {479 + 26 * i, 134, 10, 5});
    }
    LblHa = MakeControl<CaptionLabel>(form, "LblHa", {400, 378, 40, 16});
    LblHa->setText("0");
    LblPlayFrom = MakeControl<CaptionLabel>(form, "LblPlayFrom", {556, 378, 40, 16});
    LblPlayFrom->setText("1");
    LblHsNen = MakeControl<CaptionLabel>(form, "LblHsNen", {432, 358, 127, 12});
    for (int i = 0; i < 2; ++i)
        CanGatOut[i] = MakeObject<ValueBar>(form, ElementName("CanGatOut", i));
    TimerOnLine = MakeObject<QTimer>(form, "TimerOnLine");
    TimerOnLine->setInterval(500);
    ShapeCtl1 = new WindowShape(form);
    ShapeCtl1->setObjectName("ShapeCtl1");
}

std::vector<SkinFace*> ShellControls::Faces() const {
    std::vector<SkinFace*> faces;
    for (const FacePlace& face : kFaces) faces.push_back(this->*face.member);
    return faces;
}

}  // namespace corvane::shell
