#include "frontend/styles/ui/style_panel.h"

#include "frontend/app/app.h"
#include "frontend/shell/ui/frm_main.h"

namespace corvane::styles {

StylePanel::StylePanel(FrmMain& main) : main_(main) {
    for (int i = 0; i < kSlotCount; ++i) {
        QObject::connect(main_.LblStyle[i], &CaptionLabel::Change, &main_,
                         [this, i] { LblStyle_Change(i); });
    }
}

void StylePanel::LblStyle_Change(int index) {
    // An empty caption is the first half of a forced reload; the name that follows does the work.
    if (main_.LblStyle.at(index)->Caption().isEmpty()) return;
    SlotTables& tables = App::Get().slotTables;
    if (tables.SkipStyleLoad) {
        tables.SkipStyleLoad = false;
        return;
    }
    // Reading the style's track records into the slot tables is the track record reader's
    // work; until it is connected here the slot keeps its defaults.
}

}  // namespace corvane::styles
