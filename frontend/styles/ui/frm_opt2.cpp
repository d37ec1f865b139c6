#include "frontend/styles/ui/frm_opt2.h"

namespace corvane::styles {

FrmOpt2::FrmOpt2(QWidget* parent) : FormDialog("FrmOpt2", "Select an option 2", parent) {}

}  // namespace corvane::styles
