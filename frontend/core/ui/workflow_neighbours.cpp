#include "frontend/core/ui/workflow_neighbours.h"

#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/msg_box.h"

namespace corvane::neighbours {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

}  // namespace

void OpenMelodyImporter(FrmMain&) {
    if (App::Get().g.AnyBusy()) return;
    App::Get().frmQuenby().show();
}

bool LoadProject(FrmMain&) {
    return false;
}

}  // namespace corvane::neighbours
