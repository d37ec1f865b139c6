// What the chord list editor needs of procedures that other components own, in their least
// form; each owner completes or replaces it where it is named below.
#pragma once

namespace corvane {

class FrmMain;

namespace editors::neighbours {

// Output playback (issue 16): true while the output player MMControl1 plays (mode 526) or seeks
// (528). Until the player exists nothing plays, so this is false.
bool OutputPlayerPlayingOrSeeking(const FrmMain& main);

// File dialog (issue 15): the user chord file browse. Prepares FrmSelectFile with the caption
// "Select an user Chord File *.chd", TagOpt "input" and the two type options and their label
// hidden, and shows it modeless; the dialog's owner adds the "*.chd" pattern and the emptied
// file name box here, and its Ok puts the chosen path into FrmChord.TxtUsrList.
void ShowChordFileDialog();

}  // namespace editors::neighbours
}  // namespace corvane
