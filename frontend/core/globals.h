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

    // A program chosen in the instrument list that the main window's next activation applies:
    // part number + 1 (0 when none) and the chosen program.
    int InstListPart = 0;
    std::string InstListSel;
    // The instrument list's request: the part's channel (9 lists drum kits) and the row a list
    // dialog is to preselect (the style manager uses it too).
    int InstListChannel = 0;
    int ListIndexArg = 0;

    // The chord list's measure count and its being rebuilt (the chord list editor sets both).
    int ChordMsCount = 0;
    bool ChordListBusy = false;
};

}  // namespace corvane
