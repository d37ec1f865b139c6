// The front-end core's shared state: the globals that the start-up sets and that the workflow,
// the editors, the style panel and the shell read. Components keep their own state beside
// their code (frontend/styles/slot_tables.h for the style slots); what several of them share
// lives here. Flags are bools; the system's "True" is true.
#pragma once

#include <cstdint>
#include <string>

#include "frontend/core/name_tables.h"
#include "frontend/core/style_library.h"

namespace corvane {

// Flags tested together: while any is set, Play, Pause, Stop and the workflow commands do
// nothing (a click may arrive while the visualiser's ripple lets queued events run).
struct BusyFlagSet {
    bool RippleBusy = false;      // the visualiser's ripple clearing runs
    bool OutputLoadBusy = false;  // the composer's output is being read
    bool Any() const { return RippleBusy || OutputLoadBusy; }
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
    bool OutputReady = false;     // a composed output is in memory
    bool TestOn = false;          // a test playback (input or output) is on
    BusyFlagSet BusyFlags;
    // The row a list dialog's opener wants highlighted; the dialog reads it when activated.
    int ListIndexArg = 0;

    std::string SongTitle;
    int ChordOptMode = kDefaultChordOptMode;
    int MakeOptMode = kDefaultMakeOptMode;
    int SectLenIdx = 0;

    // A program chosen in the instrument list that the main window's next activation applies:
    // part number + 1 (0 when none) and the chosen program.
    int InstListPart = 0;
    std::string InstListSel;
};

}  // namespace corvane
