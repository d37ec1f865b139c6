#include "frontend/editors/ui/frm_taoac.h"

namespace corvane::editors {

FrmTaoAc::FrmTaoAc(QWidget* parent) : FormDialog("FrmTaoAc", "Chord Wizard", parent) {}

}  // namespace corvane::editors
