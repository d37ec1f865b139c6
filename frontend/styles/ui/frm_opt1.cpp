#include "frontend/styles/ui/frm_opt1.h"

namespace corvane::styles {

FrmOpt1::FrmOpt1(QWidget* parent) : FormDialog("FrmOpt1", "Select an option 1", parent) {}

}  // namespace corvane::styles
