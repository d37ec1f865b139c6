#include "frontend/editors/ui/frm_keys.h"

namespace corvane::editors {

FrmKeys::FrmKeys(QWidget* parent) : FormDialog("FrmKeys", "Key Manager", parent) {}

}  // namespace corvane::editors
