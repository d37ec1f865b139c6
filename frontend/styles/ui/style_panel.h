// The style panel's behaviour on the main window. It shows one style slot at a time: the slot
// options select the slot, the slot label's caption change reads the slot's style (its track
// records) and resets the slot's part settings, and one row per part shows the program, the
// volume and the play mode of the shown slot. A left click on a program opens the instrument
// list, a right press auditions it, a click on a mode opens the play-mode dialog (the drum part
// toggles). Beside them: the echo voices and levels, the reset buttons, the sustain marks, the
// current-bar label and a few small label events.
#pragma once

#include <QObject>

#include "frontend/styles/audition.h"

namespace corvane {
class FrmMain;
}

namespace corvane::styles {

struct SlotTables;

// Mouse buttons as the handlers receive them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

class StylePanel : public QObject {
    Q_OBJECT
  public:
    explicit StylePanel(FrmMain& main);

    // Slot selection: slot N - 1 (N = 1..5) shown, nothing read, no table changed.
    void OptSty_Click(int n);
    // The shown slot's part values, sustain marks and master volume in the panel.
    void ShowSlotValues(int slot);
    void OptSty_MouseUp(int n);
    void LblStyle_Change(int index);

    void LblEcho_Click(int index);
    void LblVoice_Click(int index) { LblEcho_Click(index); }
    void LstEcho_KeyPress(int keyAscii);
    void LstEcho_DblClick() { LstEcho_KeyPress(13); }
    void LblEcho_Change(int index);
    void LblBackLevel_Change(int index);

    void LblHa_Change();
    void LstHa_Click();
    void LblInName_Change();
    void LblHsNen_MouseDown();
    void LblMusicType_Change();
    void LblMusicType_Click();

    // Program labels: a right press auditions, a right release stops, another release opens
    // the instrument list.
    void LblProgNum_MouseDown(int index, int button);
    void LblProgNum_MouseUp(int index, int button);
    void LblProgNum_Change(int index);
    void TimerMidi_Timer();
    void LblInstM_MouseUp(int index, int button);

    void CmdResetI_Click();
    void CmdResetM_Click();
    void CmdResetV_Click();
    void ResetPartPrograms(int slot);
    void ResetPartVols(int slot);
    void ResetPartModes(int slot);
    // The sustain mark of each part of the panel shows the slot's sustain.
    void DisplaySusSetting(int slot);

    // The volume bars' table write: the shown slot's part volume (bar 5 also its master volume).
    // The sliders' own handling (moving the thumb) belongs to the mixer.
    void CanGatVol_Change(int index);
    // The echo bars' level labels: the level is 9 - value. The slider's thumb belongs to the
    // mixer.
    void CanGatEcho_Change(int index);

    // Silences the audition's channels through its handle (also at shutdown).
    void AllNotesOff();
    const AuditionState& audition() const { return audition_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Connect();
    void FocusIcon();
    void ReadSlotStyleFile(int slot);
    int ChordRootIndex(int second) const;

    FrmMain& main_;
    AuditionState audition_;
};

}  // namespace corvane::styles
