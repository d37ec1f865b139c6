// The melody importer dialog: imports one track or channel of a MIDI file ("InpMel.bin", put
// there by the main window's opener) as the song's melody, or generates a random one, through
// the melody worker Quenby; on success the main window's Load In takes the song the worker
// wrote. It can also run the key detector on the current song input to propose the key. The
// dialog runs one worker at a time and remembers which: a melody run hides the dialog and holds
// the main window's Load In and importer buttons until its completion or time-out; a key
// detection holds the dialog's two run buttons.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "frontend/editors/melody_import.h"
#include "frontend/editors/ui/dialog_worker.h"
#include "frontend/styles/ui/deactivating_dialog.h"
#include "platform/qt/caption_label.h"

namespace corvane::editors {

class FrmQuenby : public styles::DeactivatingDialog, public DialogWorker {
    Q_OBJECT
  public:
    explicit FrmQuenby(QWidget* parent = nullptr);

    std::array<QRadioButton*, kTrackCount> OptTrk{};  // "Tr/Ch 01" .. "Tr/Ch 16"
    QComboBox* CmbKey = nullptr;                      // "Overall Key:"
    platform::qt::CaptionLabel* LblKey = nullptr;     // the key signature of CmbKey
    QComboBox* CmbTime = nullptr;
    QLineEdit* TxtTempo = nullptr;
    QLineEdit* TxtIntro = nullptr;
    QLineEdit* TxtEnding = nullptr;
    QLineEdit* TxtScaleVol = nullptr;
    QCheckBox* ChkNhan2 = nullptr;  // "x2 Melody :"
    QPushButton* CmdKeyDetect = nullptr;
    platform::qt::CaptionLabel* LblKeyFindInfo = nullptr;
    QPushButton* CmdLoadIn = nullptr;     // "Load-in Melody"
    QPushButton* CmdAutoMusic = nullptr;  // "Generate Music"
    QPushButton* CmdCancel = nullptr;
    QPlainTextEdit* TxtHelp = nullptr;

    int TrackIdx = 0;  // the track option of the last run, selected again at every showing

    void Form_Activate() override;
    void CmbKey_Click();
    void OptTrk_Click(int index);
    // Leaving a number field puts its value within the field's limits.
    void TxtTempo_LostFocus();
    void TxtIntro_LostFocus();
    void TxtEnding_LostFocus();
    void TxtScaleVol_LostFocus();
    void CmdLoadIn_Click();
    void CmdAutoMusic_Click();
    void CmdCancel_Click();
    void StartMelodyWorker();
    void ShowMelodyError();
    void CmdKeyDetect_Click();
    void CmdMess_KeyUp(int keyCode, int shift);
    void TimerMlMess_Timer();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void EnableMainButtons();
    void FinishKeyDetection(bool failed);
    void FinishMelodyRun(bool failed);

    // Holds "Load-in Melody" and "Generate Music"; disabled while a key detection runs, so
    // each keeps the enabled state the opener gave it.
    QWidget* runButtons_ = nullptr;
};

}  // namespace corvane::editors
