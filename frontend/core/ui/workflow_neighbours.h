// What the workflow needs of procedures that other components own, in their least form: each
// does what its neighbour's description says the workflow relies on, no more, and its owner
// completes or replaces it where it is named below. Nothing here pretends to have done work it
// cannot do yet.
#pragma once

#include <string>

namespace corvane {

class FrmMain;

namespace neighbours {

// Melody importer opener (issue 15): shows the importer dialog.
void OpenMelodyImporter(FrmMain& main);
// Song projects (issue 15): unpacks the project named in TxtInName. Until projects are read
// nothing is unpacked and the result is false.
bool LoadProject(FrmMain& main);

}  // namespace neighbours
}  // namespace corvane
