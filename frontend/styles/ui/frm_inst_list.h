// The instrument list: a General MIDI program for a melodic part or a drum kit for the drum
// part, row 0 standing for the style's own instrument. The main window hands the request over
// in the globals InstListPart (part + 1), InstListChannel and ListIndexArg; Ok leaves the row in
// InstListSel and applies it to the part, Cancel leaves ListIndexArg there and clears the
// request. The list keeps what it last held, so it is refilled only when the kind changes.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <array>

#include "frontend/styles/ui/deactivating_dialog.h"

namespace corvane::styles {

class FrmInstList : public DeactivatingDialog {
    Q_OBJECT
  public:
    explicit FrmInstList(QWidget* parent = nullptr);

    QListWidget* LstInst = nullptr;
    std::array<QLabel*, 2> Image1{};  // hidden: an instrument (0) and drums (1)
    QLabel* Image2 = nullptr;         // the picture of the list in use
    QPushButton* CmdOk = nullptr;
    QPushButton* CmdCancel = nullptr;

    bool InstrumentsListed = false;
    bool DrumKitsListed = false;

    // Image2 shows Image1(index).
    void ShowPicture(int index);
    void CmdOk_Click();
    void CmdCancel_Click() { Deactivate(); }
    void LstInst_DblClick() { CmdOk_Click(); }
    void LstInst_KeyUp(int keyCode);

  protected:
    void Form_Activate() override;
    void Form_Deactivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillInstrumentList();
    void FillDrumKitList();
};

}  // namespace corvane::styles
