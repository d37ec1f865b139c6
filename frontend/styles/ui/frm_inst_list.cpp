#include "frontend/styles/ui/frm_inst_list.h"

namespace corvane::styles {

FrmInstList::FrmInstList(QWidget* parent) : FormDialog("FrmInstList", "Instrument List", parent) {}

}  // namespace corvane::styles
