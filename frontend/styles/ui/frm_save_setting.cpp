#include "frontend/styles/ui/frm_save_setting.h"

namespace corvane::styles {

FrmSaveSetting::FrmSaveSetting(QWidget* parent)
    : FormDialog("FrmSaveSetting", "Save as User Style (*.set)", parent) {}

}  // namespace corvane::styles
