// What the workflow needs of procedures that other components own, in their least form: each
// does what its neighbour's description says the workflow relies on, no more, and its owner
// completes or replaces it where it is named below. Nothing here pretends to have done work it
// cannot do yet.
#pragma once

#include <string>

namespace corvane {

class FrmMain;

namespace neighbours {

// Output playback (issue 16): the output test toggle. Ends a running test; refuses without an
// output; with an output, writes the play file, which the output player will open.
void CmdTestOut_Click(FrmMain& main);
// Input playback (issue 16): the input test toggle; ends a running input test.
void TestInput(FrmMain& main);
// True while the input test (not the output test) plays.
bool InputTestRunning(const FrmMain& main);
// "Close" to the output player MMControl1 (issue 16); no player exists before it.
void CloseOutputPlayer(FrmMain& main);

// Main window shell: play signs back to rest, blink timer off, slot LEDs grey.
void SwOfPlLed(FrmMain& main);

// Melody importer opener (issue 15): shows the importer dialog.
void OpenMelodyImporter(FrmMain& main);
// Song projects (issue 15): unpacks the project named in TxtInName. Until projects are read
// nothing is unpacked and the result is false.
bool LoadProject(FrmMain& main);

}  // namespace neighbours
}  // namespace corvane
