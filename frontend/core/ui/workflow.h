// The workflow of the main window: Load In, Proceed and Make Output, each running one worker
// (Ambrel, Tressil, Compose) and waiting for it without blocking. A command starts its worker
// with a fresh completion handle and arms the time-out; the completion arrives as a key-up of
// the hidden button CmdMessage (its code the worker's completion code, Alt for a failure) and
// moves the workflow on, or the time-out ends the worker and reports the command as aborted.
// One worker runs at a time (CmdRunning). Every box goes through MsgBox; after every refusal,
// failure and time-out the buttons of the next step the user can take are usable again.
//
// A song project replaces the loaded song only when all of it is good: its song goes through
// the song loader in a scratch folder of its own first (a Load In's wait, with its time-out),
// its chord data through the chord list's reader, and only then does the Load In proper unpack
// it into the program folder. A refused project leaves the loaded song, its files and the
// window as they were.
#pragma once

#include <QtGlobal>
#include <array>
#include <memory>
#include <string>

#include "frontend/core/song_header.h"
#include "frontend/core/song_project.h"
#include "frontend/core/worker_control.h"

namespace corvane {

class FrmMain;

class Workflow {
  public:
    explicit Workflow(FrmMain& main);
    ~Workflow();

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
    // Shows the worker's error file at `path`: 1 when it showed a box, 2 when it held a "!"
    // message of the song loader back.
    int ShowWorkerError(const std::string& path, WorkerErrorMode mode);

    std::string SongTimeSig;
    int SongTempo = kDefaultSongTempo;
    std::array<std::string, 6> SlotNames;  // the names of the section list, slot 1 first
    bool FixedsysNoticeShown = false;

  private:
    struct ProjectTrial;

    // Load In from its reset of the steps on: the song (or `project`, unpacked) into the program
    // folder and the song loader started there.
    void StartLoadIn(const std::string& path, const SongProject* project);
    // The song loader started on the project's song in a scratch folder; nothing else changes.
    void StartProjectTrial(SongProject project, const std::string& path);
    // The trial's song loader has answered: Load In of the project when all of it is good, else
    // its refusal's boxes and nothing else.
    void FinishProjectTrial(bool failed);
    bool ProjectPasses(const ProjectTrial& trial, bool failed);
    // After the song loader's "!" message: the melody importer, which can convert the song.
    void OfferMelodyImporter();

    // A fresh completion handle for the next worker, 0 when none could be bound.
    std::uint32_t FreshHandle();
    // Clears CmdTimedOut and starts the worker (in the program folder unless `workingFolder` is
    // given); only its completion is heard. False when it could not be started.
    bool StartWorker(const std::string& commandLine, const std::string& workingFolder = {});
    void StartTimeOut(int command);
    void EnableSteps(bool load, bool proceed, bool make);
    void EnableOutputButtons();
    void Caption(const char* text);

    FrmMain& main_;
    qint64 workerProcess_ = 0;             // the running command's worker, 0 when none runs
    std::unique_ptr<ProjectTrial> trial_;  // the project whose song the song loader is trying
};

}  // namespace corvane
