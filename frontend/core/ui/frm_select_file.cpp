#include "frontend/core/ui/frm_select_file.h"

#include "frontend/core/ui/make_control.h"

namespace corvane {

FrmSelectFile::FrmSelectFile(QWidget* parent)
    : FormDialog("FrmSelectFile", "Orvella Browser", parent) {
    resize(480, 340);
    LblFileType = MakeControl<QLabel>(this, "LblFileType", {8, 8, 140, 18});
    LblFileType->setText("Selected file type:");
    OptQXs = MakeControl<QRadioButton>(this, "OptQXs", {8, 28, 160, 20});
    OptQXs->setText("Orvella song's data");
    OptMid = MakeControl<QRadioButton>(this, "OptMid", {8, 50, 160, 20});
    OptMid->setText("Midi files");
}

}  // namespace corvane
