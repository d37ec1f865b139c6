#include "frontend/editors/ui/frm_drfill.h"

namespace corvane::editors {

FrmDrFill::FrmDrFill(QWidget* parent) : FormDialog("FrmDrFill", "Drum Fill", parent) {}

}  // namespace corvane::editors
