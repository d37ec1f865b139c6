// What the chord list editor needs of procedures that other components own, in their least
// form; each owner completes or replaces it where it is named below.
#pragma once

namespace corvane {

class FrmMain;

namespace editors::neighbours {

// Output playback (issue 16): true while the output player MMControl1 plays (mode 526) or seeks
// (528). Until the player exists nothing plays, so this is false.
bool OutputPlayerPlayingOrSeeking(const FrmMain& main);

}  // namespace editors::neighbours
}  // namespace corvane
