// Playing the composed output and the input song from the main window. The output test
// (CmdTestOut_Click) writes the play file, opens it in MMControl1, checks its bars against the
// chord list and arms the position bars; Play, Pause and Stop (through the shell's transport)
// drive it, and its status update moves the bar display, the chord list's row, the beat and
// style-slot LEDs and the status line along with the music, starting the song again from bar 1
// while the user wants it played. The input test (TestInput) plays the input song once in
// MMControl2. TestOn keeps the two tests apart: while one runs, the other's button is off.
#pragma once

#include <QObject>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

class FrmMain;

class Playback : public QObject {
    Q_OBJECT
  public:
    explicit Playback(FrmMain& main);

    // The output.
    void CmdTestOut_Click();
    void MMControl1_PlayClick(bool& cancel);
    void MMControl1_StatusUpdate();
    void MMControl1_StopClick(bool& cancel);
    void LblPaus_ClickPr();
    void LblStop_ClickPr();
    void GoSectionBegin();
    void GoSectionEnd();
    void TimerOnLine_Timer();

    // The input.
    void TestInput();
    void MMControl2_PlayClick(bool& cancel);
    void MMControl2_StatusUpdate();
    void MMControl2_StopClick(bool& cancel);
    // True while the input test (not the output test) plays.
    bool InputTestRunning() const;

    // Called after a player or the audition started: when it plays unheard (no audio device or
    // no sound font), the status line says so, the first time in the run only, and keeps the
    // words a few seconds before the playing section's caption comes back.
    void SaySilentOutput(bool audible);

  private:
    void RestoreIdleState();
    void EndInputTest();
    void HaltOutput();
    void EnableOutputTestButtons();
    void GreyBeatLeds();
    void ShowPlayingSection(int bar);
    std::vector<std::string> SectionLines() const;
    // The silent-output words still stand in the status line and their time is not over.
    bool SilenceShown() const;

    FrmMain& main_;
    bool SecondChordShown = false;
    std::int64_t silenceShownUntilMs_ = 0;  // 0 until the silence was said
};

}  // namespace corvane
