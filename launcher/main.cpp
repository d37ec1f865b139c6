// Vessane, the launcher: the program the user starts. Everything happens in its start form's
// load handler; the form itself is never shown.
#include "launcher/frm_start.h"
#include "launcher/launcher_boxes.h"

int main(int argc, char** argv) {
    vessane::LauncherBoxes boxes(argc, argv);
    vessane::FrmStart frmStart(boxes);
    return frmStart.Form_Load();
}
