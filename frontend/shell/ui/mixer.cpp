#include "frontend/shell/ui/mixer.h"

#include "frontend/app/app.h"
#include "frontend/core/user_settings.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/shell/ui/visualiser.h"

namespace corvane::shell {
namespace {

using platform::qt::ValueBar;

// The whole thumb, both ends inside, is where the pointer hovers it.
constexpr float kThumbWidthTwips = 120;
constexpr float kThumbHeightTwips = 225;
// The heading over the volume sliders while none is held.
const char* const kVolumeHeading = "Volume";

bool HasRange(const ValueBar& bar) {
    return bar.Max() - bar.Min() >= 1;
}

}  // namespace

Mixer::Mixer(FrmMain& main) : main_(main) {
    struct Wiring {
        Kind kind;
        int index;
    };
    std::vector<Wiring> wirings = {{Kind::kPosition, 0}};
    for (int i = 0; i < 6; ++i) wirings.push_back({Kind::kVolume, i});
    for (int i = 0; i < 2; ++i) wirings.push_back({Kind::kEcho, i});
    for (const Wiring w : wirings) {
        SkinThumb* thumb = &ThumbOf(w.kind, w.index);
        auto down = w.kind == Kind::kPosition ? &Mixer::PictHScr_MouseDown
                    : w.kind == Kind::kVolume ? &Mixer::PictVols_MouseDown
                                              : &Mixer::PictEchs_MouseDown;
        auto move = w.kind == Kind::kPosition ? &Mixer::PictHScr_MouseMove
                    : w.kind == Kind::kVolume ? &Mixer::PictVols_MouseMove
                                              : &Mixer::PictEchs_MouseMove;
        auto up = w.kind == Kind::kPosition ? &Mixer::PictHScr_MouseUp
                  : w.kind == Kind::kVolume ? &Mixer::PictVols_MouseUp
                                            : &Mixer::PictEchs_MouseUp;
        const int i = w.index;
        connect(thumb, &SkinThumb::MouseDown, this,
                [this, down, i](int button, float X, float Y) { (this->*down)(i, button, X, Y); });
        connect(thumb, &SkinThumb::MouseMove, this,
                [this, move, i](int button, float X, float Y) { (this->*move)(i, button, X, Y); });
        connect(thumb, &SkinThumb::MouseUp, this,
                [this, up, i](int button, float X, float Y, int stillHeld) {
                    (this->*up)(i, button, X, Y);
                    // The last button's release ends any capture, as the window system's would.
                    if (stillHeld == 0) main_.FaceCapture.Release();
                });
        // A thumb that holds the hover capture would still see the pointer leave it.
        connect(thumb, &SkinThumb::PointerLeft, this, [this, thumb, move, i] {
            if (main_.FaceCapture.Get() == thumb->Handle && thumb->Handle != 0)
                (this->*move)(i, 0, -1, -1);
        });
    }
}

Mixer::~Mixer() = default;

void Mixer::SetOutputPlayer(std::unique_ptr<OutputPlayerHook> player) {
    player_ = std::move(player);
}

SkinThumb& Mixer::ThumbOf(Kind kind, int index) const {
    switch (kind) {
        case Kind::kPosition:
            return *main_.PictHScr;
        case Kind::kVolume:
            return *main_.PictVols.at(index);
        case Kind::kEcho:
            break;
    }
    return *main_.PictEchs.at(index);
}

bool& Mixer::PressedOf(Kind kind) {
    switch (kind) {
        case Kind::kPosition:
            return main_.PosThumbPressed;
        case Kind::kVolume:
            return main_.VolThumbPressed;
        case Kind::kEcho:
            break;
    }
    return main_.EchoThumbPressed;
}

float& Mixer::DragLeftOf(Kind kind) {
    switch (kind) {
        case Kind::kPosition:
            return main_.PosDragLeft;
        case Kind::kVolume:
            return main_.VolDragLeft;
        case Kind::kEcho:
            break;
    }
    return main_.EchoDragLeft;
}

void Mixer::Press(Kind kind, int index) {
    SkinThumb& thumb = ThumbOf(kind, index);
    thumb.Show(SkinState::kPressed);
    PressedOf(kind) = true;
    DragLeftOf(kind) = thumb.Left();
}

bool Mixer::Move(Kind kind, int index, int button, float X, float Y) {
    SkinThumb& thumb = ThumbOf(kind, index);
    if (button == 0) {
        if (PointInRect(0, kThumbWidthTwips, 0, kThumbHeightTwips, X, Y)) {
            main_.FaceCapture.Set(thumb.Handle);
            thumb.Show(SkinState::kHover);
        } else {
            main_.FaceCapture.Release();
            thumb.Show(SkinState::kNormal);
        }
        return false;
    }
    if ((button != kLeftButton && button != kRightButton) || !PressedOf(kind)) return false;
    float& dragLeft = DragLeftOf(kind);
    const DragStep step = DragThumb(thumb.Track, thumb.Left(), dragLeft, X);
    thumb.SetLeft(step.left);
    dragLeft = step.dragLeft;
    return true;
}

bool Mixer::Release(Kind kind, int index) {
    bool& pressed = PressedOf(kind);
    if (!pressed) return false;
    ThumbOf(kind, index).Show(SkinState::kNormal);
    pressed = false;
    return true;
}

bool Mixer::PlayerPlays() {
    return player_ != nullptr && player_->Mode() == kPlayerPlaying;
}

void Mixer::ShowVolumeHeading(int index) {
    const int value = main_.CanGatVol.at(index)->Value();
    main_.LblGMCode[1]->SetCaption(value > 0 ? QString::number(value) : QString("Default"));
}

void Mixer::PictHScr_MouseDown(int index, int, float, float) {
    Press(Kind::kPosition, index);
}

void Mixer::PictHScr_MouseMove(int index, int button, float X, float Y) {
    const ValueBar& bar = *main_.CanGatOut[0];
    if (Move(Kind::kPosition, index, button, X, Y) && bar.Enabled() && HasRange(bar))
        Thumb2OutVal();
}

void Mixer::PictHScr_MouseUp(int index, int, float, float) {
    if (!Release(Kind::kPosition, index)) return;
    // A disabled bar (no output open) takes nothing: the thumb stays where it was dropped.
    if (main_.CanGatOut[0]->Enabled()) CanGatOut_Change(0);
    if (PlayerPlays()) {
        player_->SetFrom(static_cast<std::int64_t>(main_.CanGatOut[1]->Value()) *
                         App::Get().g.MsUnits);
        player_->Play();
    }
}

void Mixer::PictVols_MouseDown(int index, int, float, float) {
    Press(Kind::kVolume, index);
    ShowVolumeHeading(index);
}

void Mixer::PictVols_MouseMove(int index, int button, float X, float Y) {
    const ValueBar& bar = *main_.CanGatVol.at(index);
    if (Move(Kind::kVolume, index, button, X, Y) && bar.Enabled() && HasRange(bar)) {
        Thumb2VolVal(index, main_.PictVols[index]->Left());
        ShowVolumeHeading(index);
    }
}

void Mixer::PictVols_MouseUp(int index, int, float, float) {
    if (!Release(Kind::kVolume, index)) return;
    main_.LblGMCode[1]->SetCaption(kVolumeHeading);
    CanGatVol_Change(index);
}

void Mixer::PictEchs_MouseDown(int index, int, float, float) {
    Press(Kind::kEcho, index);
}

void Mixer::PictEchs_MouseMove(int index, int button, float X, float Y) {
    const ValueBar& bar = *main_.CanGatEcho.at(index);
    if (Move(Kind::kEcho, index, button, X, Y) && bar.Enabled() && HasRange(bar))
        Thumb2EchoVal(index);
}

void Mixer::PictEchs_MouseUp(int index, int, float, float) {
    if (Release(Kind::kEcho, index)) CanGatEcho_Change(index);
}

void Mixer::Thumb2OutVal() {
    ValueBar& bar = *main_.CanGatOut[0];
    const int value =
        ThumbValue(main_.PictHScr->Track, main_.PictHScr->Left(), bar.Min(), bar.Max());
    bar.SetValue(value);
    main_.CanGatOut[1]->SetValue(value);
}

void Mixer::Thumb2VolVal(int index, float x) {
    ValueBar& bar = *main_.CanGatVol.at(index);
    bar.SetValue(ThumbValue(main_.PictVols[index]->Track, x, bar.Min(), bar.Max()));
}

void Mixer::Thumb2EchoVal(int index) {
    ValueBar& bar = *main_.CanGatEcho.at(index);
    const SkinThumb& thumb = *main_.PictEchs[index];
    bar.SetValue(ThumbValue(thumb.Track, thumb.Left(), bar.Min(), bar.Max()));
}

void Mixer::OutVal2Thumb() {
    const ValueBar& bar = *main_.CanGatOut[0];
    SkinThumb& thumb = *main_.PictHScr;
    thumb.SetLeft(ThumbLeftForValue(thumb.Track, bar.Value(), bar.Min(), bar.Max()));
}

void Mixer::VolVal2Thumb(int index) {
    const ValueBar& bar = *main_.CanGatVol.at(index);
    SkinThumb& thumb = *main_.PictVols[index];
    thumb.SetLeft(ThumbLeftForValue(thumb.Track, bar.Value(), bar.Min(), bar.Max()));
}

void Mixer::EchoVal2Thumb(int index) {
    const ValueBar& bar = *main_.CanGatEcho.at(index);
    SkinThumb& thumb = *main_.PictEchs[index];
    thumb.SetLeft(ThumbLeftForValue(thumb.Track, bar.Value(), bar.Min(), bar.Max()));
}

void Mixer::CanGatEcho_Change(int index) {
    if (!main_.EchoThumbPressed) EchoVal2Thumb(index);
    CanGatEcho_Scroll(index);
}

void Mixer::CanGatEcho_Scroll(int index) {
    main_.LblBackLevel.at(index)->SetCaption(
        QString::number(EchoLevelOfSlider(main_.CanGatEcho[index]->Value())));
}

void Mixer::CanGatOut_Change(int index) {
    if (index == 0) {
        const ValueBar& bar = *main_.CanGatOut[0];
        if (!main_.PosThumbPressed) OutVal2Thumb();
        const int v = bar.Value();
        if (v == 0 && !main_.PosThumbPressed) {
            main_.visualiser().ClearWave1();
            main_.Picture1->SetBackColor(main_.Picture1->BackColor());
        }
        main_.LblHa->SetCaption(v < bar.Max() ? QString::number(v + 1) : QString("End"));
    } else if (index == 1) {
        const ValueBar& bar = *main_.CanGatOut[1];
        const int v = bar.Value();
        if (v >= bar.Max()) {
            main_.LblPlayFrom->SetCaption("End");
        } else if (v < main_.LstHa->count()) {
            main_.LstHa->setCurrentRow(v);
            main_.LblPlayFrom->SetCaption(QString::number(v + 1));
        }
    }
}

void Mixer::CanGatOut_Scroll(int index) {
    if (index != 0 || PlayerPlays()) return;
    const ValueBar& bar = *main_.CanGatOut[0];
    const int v = bar.Value();
    if (v >= bar.Max()) {
        main_.LblHa->SetCaption("End");
        return;
    }
    main_.LblHa->SetCaption(QString::number(v + 1));
    if (v < main_.LstHa->count()) main_.LstHa->setCurrentRow(v);
}

void Mixer::CanGatVol_Change(int index) {
    if (!main_.VolThumbPressed) VolVal2Thumb(index);
    styles::SlotTables& tables = App::Get().slotTables;
    const int value = main_.CanGatVol.at(index)->Value();
    tables.PartVol(tables.CurSlot, index) = static_cast<std::int16_t>(value);
    if (index == 5) tables.SectVol.at(tables.CurSlot) = value;
}

}  // namespace corvane::shell
