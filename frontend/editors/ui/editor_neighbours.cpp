#include "frontend/editors/ui/editor_neighbours.h"

#include "frontend/app/app.h"
#include "frontend/core/ui/frm_select_file.h"
#include "frontend/editors/chord_data.h"

namespace corvane::editors::neighbours {

bool OutputPlayerPlayingOrSeeking(const FrmMain&) {
    return false;
}

void ShowChordFileDialog() {
    FrmSelectFile& dialog = App::Get().frmSelectFile();
    dialog.setWindowTitle(QString("Select an user Chord File *") + kChordFileExtension);
    dialog.TagOpt = "input";
    dialog.OptMid->hide();
    dialog.OptQXs->hide();
    dialog.LblFileType->hide();
    dialog.show();
}

}  // namespace corvane::editors::neighbours
