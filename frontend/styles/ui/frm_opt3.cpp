#include "frontend/styles/ui/frm_opt3.h"

namespace corvane::styles {

FrmOpt3::FrmOpt3(QWidget* parent)
    : FormDialog("FrmOpt3", "Select play mode for instrument", parent) {}

}  // namespace corvane::styles
