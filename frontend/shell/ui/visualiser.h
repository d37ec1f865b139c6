// The colour visualiser beside the transport: with the colour demo off it shows the colour of
// the playing chord's root; with the demo on every status update of the playing output grows a
// circle whose colour wanders, each bar changes the fill style and the drawing mode, and the
// chord colour becomes the circle colour. A click on the box switches the demo; a click on the
// icon cycles the back colours and the speed of the colour walk.
#pragma once

#include <QObject>

#include "frontend/core/name_tables.h"

namespace corvane {
class FrmMain;
}

namespace corvane::shell {

class Visualiser : public QObject {
    Q_OBJECT
  public:
    explicit Visualiser(FrmMain& main);

    void Picture1_MouseUp(int button);
    void PictIcon_MouseUp(int button);
    void CycleDemoColours(int button);

    // The root of the chord list's current row (`second` 0 its first chord, else its second)
    // as an index of ChordColours: 0 while the list is busy or empty, -1 for a cell that does
    // not start with a chord letter.
    int ChordRootIndex(int second) const;
    void ShowChordColour();
    void RandomFillStyle();
    void NextDrawMode();
    void ClearWave1();
    void DemoStep();
    // Wipes the box with rings of `colour` growing from the centre, then with rings of the back
    // colour. Queued events run after every ring; a second wipe meanwhile does nothing.
    void ClearWave2(Colour colour);
    // A section change under the playing output while the demo is on: a wipe in the back
    // colour's complement, then solid fills and lines.
    void FlashSection();

    // Where the demo stands (the icon's current back colour, the output in its last bars).
    int DemoColourIndex = 0;
    bool DemoAtEnd = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowFlatColour(Colour colour);
    void StartRipple(Colour colour);

    FrmMain& main_;
};

}  // namespace corvane::shell
