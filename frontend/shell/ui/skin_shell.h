// The shell's part of the main window: the skin painter (every image drawn once at the
// screen's pixel ratio, the faces and thumbs given their Normal pictures, the face handles,
// the slider tracks and the visualiser's ripple geometry), the dark look of the standard
// widgets over the skin, the screen scale test, the faces' commands, and the small openers of
// the option, style and setting dialogs.
#pragma once

#include <QImage>
#include <memory>

#include "frontend/shell/skin_buttons.h"

class QPainter;

namespace corvane {
class FrmMain;
}

namespace corvane::shell {

class SkinShell {
  public:
    explicit SkinShell(FrmMain& main);
    ~SkinShell();

    void PaintSkin();
    void DrawBackground(QPainter& painter) const;
    // True when the window's screen is at the normal scale (96 dpi, one device pixel a pixel).
    bool ScreenAtNormalScale() const;
    qreal DevicePixelRatio() const;

    // The openers and the output name's link to the small Save button.
    void ShowMakeOptDialog();
    void ShowChordOptDialog();
    void ShowSectionsDialog();
    void CmdSaveSet_Click();
    void TxtOutName_Change();
    // The chord list button: the editor shows while it holds lines, else it hides.
    void ShowOrHideChordList();
    void ShowHelp();
    void ShowAbout();
    void Minimise();

    // The procedures and conditions the faces' commands use.
    FaceCommands& Commands() { return *commands_; }

  private:
    void PaintFaces(qreal dpr);
    void PaintThumbs(qreal dpr);

    FrmMain& main_;
    std::unique_ptr<FaceCommands> commands_;
};

}  // namespace corvane::shell
