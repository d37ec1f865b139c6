#include "frontend/shell/ui/shell_controls.h"

#include "frontend/core/ui/make_control.h"
#include "frontend/shell/skinart/skin_layout.h"
#include "frontend/shell/ui/slot_badge.h"

namespace corvane::shell {
namespace {

using skin::SkinLayout;

// The members in the order of FaceId.
constexpr SkinFace* ShellControls::*kFaceMembers[kFaceCount] = {
    &ShellControls::PictBrow, &ShellControls::PictLoad,    &ShellControls::PictProc,
    &ShellControls::PictStyl, &ShellControls::PictShChord, &ShellControls::PictMake,
    &ShellControls::PictTest, &ShellControls::PictEndT,    &ShellControls::PictTeIn,
    &ShellControls::PictStIn, &ShellControls::PictSOut,    &ShellControls::PictSave,
    &ShellControls::PictMiVi, &ShellControls::PictOpt1,    &ShellControls::PictOpt2,
    &ShellControls::PictPlay, &ShellControls::PictPaus,    &ShellControls::PictStop,
    &ShellControls::PictSeBe, &ShellControls::PictSeEn,    &ShellControls::PictHelp,
    &ShellControls::PictAbou, &ShellControls::PictMini,    &ShellControls::PictExit,
};

SkinThumb* MakeThumb(QWidget* form, const QString& name, const QRectF& groove) {
    return MakeControl<SkinThumb>(
        form, name,
        QRect(static_cast<int>(groove.left()), static_cast<int>(groove.top()), skin::kThumbWidth,
              skin::kThumbHeight));
}

}  // namespace

void ShellControls::CreateShellControls(QWidget* form) {
    for (const SkinFaceSpec& spec : SkinFaces()) {
        SkinFace* face = MakeControl<SkinFace>(form, spec.name, SkinLayout::FacePlace(spec.id));
        face->Init(spec, FaceCapture);
        face->setVisible(spec.visibleAtStart);
        face->setEnabled(spec.enabledAtStart);
        this->*kFaceMembers[static_cast<int>(spec.id)] = face;
    }

    PicTitle = MakeControl<QLabel>(form, "PicTitle", SkinLayout::TitlePlace());
    ImgTitle = MakeControl<QLabel>(PicTitle, "ImgTitle", {QPoint(0, 0), PicTitle->size()});
    PicStyNo = MakeControl<SlotBadge>(form, "PicStyNo", {457, 126, 15, 15});
    Picture1 = MakeControl<VisualiserBox>(form, "Picture1", {90, 360, 149, 33});
    PictIcon = MakeControl<QLabel>(form, "PictIcon", {244, 360, 33, 33});
    PictIcon->setAutoFillBackground(true);
    ImgPlSign0 = MakeControl<QLabel>(form, "ImgPlSign0", {604, 340, 16, 16});
    ImgPlSign1 = MakeControl<QLabel>(form, "ImgPlSign1", {604, 340, 16, 16});
    ImgPlSign0->hide();
    // An LED is unlit grey from the start, as every stop and pause leaves it.
    for (int i = 0; i < 6; ++i) {
        LblLed[i] =
            MakeControl<CaptionLabel>(form, ElementName("LblLed", i), {436 + 20 * i, 342, 14, 8});
        LblLed[i]->SetBackColor(kLedOff);
    }
    for (int i = 0; i < 5; ++i) {
        LblStyLeds[i] = MakeControl<CaptionLabel>(form, ElementName("LblStyLeds", i),
                                                  {479 + 26 * i, 134, 10, 5});
        LblStyLeds[i]->SetBackColor(kLedOff);
    }
    LblHa = MakeControl<CaptionLabel>(form, "LblHa", {400, 378, 40, 16});
    LblHa->setText("0");
    LblPlayFrom = MakeControl<CaptionLabel>(form, "LblPlayFrom", {556, 378, 40, 16});
    LblPlayFrom->setText("1");
    LblHsNen = MakeControl<CaptionLabel>(form, "LblHsNen", {432, 358, 127, 12});
    for (int i = 0; i < 2; ++i) {
        const QRectF groove = SkinLayout::EchoGroove(i);
        LblEsNen[i] =
            MakeControl<CaptionLabel>(form, ElementName("LblEsNen", i), groove.toAlignedRect());
    }
    PictHScr = MakeThumb(form, "PictHScr_0", SkinLayout::PositionGroove());
    for (int i = 0; i < 6; ++i)
        PictVols[i] = MakeThumb(form, ElementName("PictVols", i), SkinLayout::VolumeGroove(i));
    for (int i = 0; i < 2; ++i)
        PictEchs[i] = MakeThumb(form, ElementName("PictEchs", i), SkinLayout::EchoGroove(i));
    for (int i = 0; i < 2; ++i)
        CanGatOut[i] = MakeObject<ValueBar>(form, ElementName("CanGatOut", i));
    TimerOnLine = MakeObject<platform::qt::TimerControl>(form, "TimerOnLine");
    TimerOnLine->SetInterval(500);
    ShapeCtl1 = new WindowShape(form);
    ShapeCtl1->setObjectName("ShapeCtl1");
}

std::vector<SkinFace*> ShellControls::Faces() const {
    std::vector<SkinFace*> faces;
    for (auto member : kFaceMembers) faces.push_back(this->*member);
    return faces;
}

SkinFace* ShellControls::Face(FaceId id) const {
    return this->*kFaceMembers[static_cast<int>(id)];
}

std::vector<SkinThumb*> ShellControls::Thumbs() const {
    std::vector<SkinThumb*> thumbs = {PictHScr};
    thumbs.insert(thumbs.end(), PictVols.begin(), PictVols.end());
    thumbs.insert(thumbs.end(), PictEchs.begin(), PictEchs.end());
    return thumbs;
}

}  // namespace corvane::shell
