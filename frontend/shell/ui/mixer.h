// The mixer: the nine skin sliders (the song position, five part volumes and the master volume,
// two echo levels) dragged by their thumbs, and the change handling of the hidden bars that hold
// their values. A thumb drag sets its bar's value step by step while the thumb follows the
// pointer; each value change carries the value into the labels, the bar list and the volume
// tables, and puts the thumb on the value's place unless a thumb of its kind is held.
#pragma once

#include <QObject>
#include <memory>

#include "frontend/shell/skin_sliders.h"

namespace corvane {
class FrmMain;
}

namespace corvane::shell {

class SkinThumb;

class Mixer : public QObject {
    Q_OBJECT
  public:
    explicit Mixer(FrmMain& main);
    ~Mixer() override;

    // The thumbs' mouse events: the button bits (1 left, 2 right, 4 middle; for a move the
    // buttons held), X and Y in twips from the thumb's top-left corner.
    void PictHScr_MouseDown(int index, int button, float X, float Y);
    void PictHScr_MouseMove(int index, int button, float X, float Y);
    void PictHScr_MouseUp(int index, int button, float X, float Y);
    void PictVols_MouseDown(int index, int button, float X, float Y);
    void PictVols_MouseMove(int index, int button, float X, float Y);
    void PictVols_MouseUp(int index, int button, float X, float Y);
    void PictEchs_MouseDown(int index, int button, float X, float Y);
    void PictEchs_MouseMove(int index, int button, float X, float Y);
    void PictEchs_MouseUp(int index, int button, float X, float Y);

    // A thumb's place to its bar's value and back.
    void Thumb2OutVal();
    void Thumb2VolVal(int index, float x);
    void Thumb2EchoVal(int index);
    void OutVal2Thumb();
    void VolVal2Thumb(int index);
    void EchoVal2Thumb(int index);

    void CanGatEcho_Change(int index);
    void CanGatEcho_Scroll(int index);
    void CanGatOut_Change(int index);
    void CanGatOut_Scroll(int index);
    void CanGatVol_Change(int index);
    void CanGatVol_Scroll(int) {}

    // The output player the position thumb's release restarts; none: the release only moves
    // the thumb and the bar labels.
    void SetOutputPlayer(std::unique_ptr<OutputPlayerHook> player);

  private:
    enum class Kind { kPosition, kVolume, kEcho };
    SkinThumb& ThumbOf(Kind kind, int index) const;
    bool& PressedOf(Kind kind);
    float& DragLeftOf(Kind kind);
    void Press(Kind kind, int index);
    // True when the thumb moved under a held button 1 or 2.
    bool Move(Kind kind, int index, int button, float X, float Y);
    bool Release(Kind kind, int index);
    bool PlayerPlays();
    void ShowVolumeHeading(int index);

    FrmMain& main_;
    std::unique_ptr<OutputPlayerHook> player_;
};

// An output player hook over any player with Mode(), SetFrom(sixteenth) and Command("Play").
template <class Player>
class OutputPlayerOver final : public OutputPlayerHook {
  public:
    explicit OutputPlayerOver(Player& player) : player_(player) {}
    int Mode() override { return player_.Mode(); }
    void SetFrom(std::int64_t sixteenth) override { player_.SetFrom(sixteenth); }
    void Play() override { player_.Command("Play"); }

  private:
    Player& player_;
};

}  // namespace corvane::shell
