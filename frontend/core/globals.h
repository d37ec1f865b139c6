// The front-end core's shared state: the globals that the start-up sets and that the workflow,
// the editors, the style panel and the shell read. Components keep their own state beside
// their code (frontend/styles/slot_tables.h for the style slots); what several of them share
// lives here. Flags are bools; the system's "True" is true.
#pragma once

#include <cstdint>
#include <string>

#include "frontend/core/name_tables.h"
#include "frontend/core/output_store.h"
#include "frontend/core/style_library.h"

namespace corvane {

// Flags tested together: while any is set, Play, Pause, Stop and the workflow commands do
// nothing (a click may arrive while the visualiser's ripple lets queued events run).
struct BusyFlagSet {
    bool RippleBusy = false;              // the visualiser's ripple clearing runs
    const OutputStore* output = nullptr;  // busy while the composer's output is being read
    bool Any() const { return RippleBusy || (output != nullptr && output->Loading()); }
};

struct CoreGlobals {
    std::string AppFolder;       // the program folder, no trailing "/"
    std::string PlayFilePath;    // "Play.sti" in the program folder
    std::string ComposeOutPath;  // "ComposeOut.bin" in the program folder
    std::int32_t HelpCookie = 0;
    std::string RegAppName;  // the settings store's application name

    StyleLibrary Styles;  // StyleNames, StyleFiles, StyleCount()
    int StyleListIdx = -1;

    bool FixedsysPresent = false;
    bool MainActivated = false;
    bool LoadDone = false;
    bool ProceedDone = false;
    bool ColorDemoOff = false;
    bool HideChordEditorPending = false;
    bool InputFromLoadIn = false;
    bool ProgramClosing = false;  // set by the exit button before the shutdown

    std::string SongTitle;
    int ChordOptMode = kDefaultChordOptMode;
    int MakeOptMode = kDefaultMakeOptMode;
    int SectLenIdx = 0;

    // The workflow's state (frontend/core/ui/workflow.h): the command that waits for its worker
    // (CommandRunning), the chord data key, the output in memory and the steps done.
    int CmdRunning = 0;
    bool CmdTimedOut = false;
    bool OutputReady = false;  // a composed output is in memory
    std::int16_t OutputRunCode = 0;
    int MyVmCode = 0;
    OutputStore Output;  // OutputBuf, OutputLen, OutputHeadLen; busy while it loads
    // The busy flags that keep every workflow command, test and play out.
    BusyFlagSet BusyFlags{false, &Output};
    bool AnyBusy() const { return BusyFlags.Any(); }
    bool MelodyWorkerBusy = false;  // InPut.bin comes from a run of the melody importer
    bool UseMelodyTitle = false;
    std::string MelodyTitle;
    bool SongFromProject = false;
    bool ProjectStylesRestored = false;
    bool OpenedAfterLoadFailure = false;
    bool KeysChanged = false;  // the key list dialog saved "KeysData.Aco"
    bool ChordsNewerThanOutput = false;
    bool ChordFromMaker = false;
    bool ChordListBusy = false;
    // The chord list's current row shows a drum section the visualiser flashes on (Variation,
    // Stop, Ending); the visualiser clears it.
    bool SectionFlash = false;
    bool SectionStylesCommitted = false;
    int ChordMsCount = 0;  // measures in the chord list
    int MakerMsCount = 0;  // measures of the last chord data from the chord maker
    bool TestOn = false;   // the input or the output test plays
    bool Playing = false;  // the output plays under the user's control
    // Playback units of the song's time signature, set by Make Output; the beat LEDs stay dark
    // until then.
    int MsUnits = 0;
    int HalfMsUnits = 0;
    int TicksPerBeatLed = 0;
    int BeatLedCount = 0;
    // Playback (frontend/core/ui/playback.h): the bars of the opened output, the bar shown last
    // (-1 none yet) and the style slot (1..6) of the section under the play position.
    int OutMsCount = 0;
    int LastShownMeasure = -1;
    int PlayingStyleSlot = 1;

    // A program chosen in the instrument list that the main window's next activation applies:
    // part number + 1 (0 when none) and the chosen program.
    int InstListPart = 0;
    std::string InstListSel;
    // The instrument list's request: the part's channel (9 lists drum kits) and the row a list
    // dialog is to preselect (the style manager uses it too).
    int InstListChannel = 0;
    int ListIndexArg = 0;
};

}  // namespace corvane
