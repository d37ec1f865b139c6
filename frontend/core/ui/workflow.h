// The workflow of the main window: Load In, Proceed and Make Output, each running one worker
// (Ambrel, Tressil, Compose) and waiting for it without blocking. A command starts its worker
// with a fresh completion handle and arms the time-out; the completion arrives as a key-up of
// the hidden button CmdMessage (its code the worker's completion code, Alt for a failure) and
// moves the workflow on, or the time-out ends the worker and reports the command as aborted.
// One worker runs at a time (CmdRunning). Every box goes through MsgBox; after every refusal,
// failure and time-out the buttons of the next step the user can take are usable again.
#pragma once

#include <QtGlobal>
#include <array>
#include <string>

#include "frontend/core/song_header.h"
#include "frontend/core/worker_control.h"

namespace corvane {

class FrmMain;

class Workflow {
  public:
    explicit Workflow(FrmMain& main);

    // Load In.
    void CmdGetNote_Click();
    bool ShowMusicType();
    void FinishLoadIn(bool failed);

    // Proceed.
    void Proceed();
    void FinishProceed(bool failed);

    // Make Output.
    void CmdCompose_Click();
    bool FinishMake(bool failed);
    void ReadCPara();

    // Completion and time-out.
    void CmdMessage_KeyUp(int keyCode, int shift);
    void TimerMess_Timer();
    // 1 when it showed a box, 2 when it held a "!" message of the song loader back.
    int ShowWorkerError(const char* fileName, WorkerErrorMode mode);

    std::string SongTimeSig;
    int SongTempo = kDefaultSongTempo;
    std::array<std::string, 6> SlotNames;  // the names of the section list, slot 1 first
    bool FixedsysNoticeShown = false;

  private:
    // A fresh completion handle for the next worker, 0 when none could be bound.
    std::uint32_t FreshHandle();
    // Clears CmdTimedOut and starts the worker; only its completion is heard. False when it
    // could not be started.
    bool StartWorker(const std::string& commandLine);
    void StartTimeOut(int command);
    void EnableSteps(bool load, bool proceed, bool make);
    void EnableOutputButtons();
    void Caption(const char* text);

    FrmMain& main_;
    qint64 workerProcess_ = 0;  // the running command's worker, 0 when none runs
};

}  // namespace corvane
