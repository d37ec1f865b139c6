#include "frontend/styles/ui/frm_sections.h"

#include "frontend/app/app.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/core/vb_text.h"
#include "frontend/styles/slot_tables.h"

namespace corvane::styles {

FrmSections::FrmSections(QWidget* parent) : FormDialog("FrmSections", "Style Manager", parent) {
    resize(520, 360);
    LstStyIdx = MakeControl<platform::qt::SortedListBox>(this, "LstStyIdx");
    LstStyIdx->hide();
    LstStyles = MakeControl<QListWidget>(this, "LstStyles", {8, 8, 300, 300});
    LstSectStyles = MakeControl<QListWidget>(this, "LstSectStyles", {316, 8, 196, 100});
    LstSectIdx = MakeControl<QListWidget>(this, "LstSectIdx");
    LstSectIdx->hide();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        LstSectStyles->addItem(QString());
        LstSectIdx->addItem(QString());
    }
    ChkGhQ8 = MakeControl<QCheckBox>(this, "ChkGhQ8", {316, 116, 196, 20});
    ChkGhQ8->setText("Auto-Octave");
    CmdOk = MakeControl<QPushButton>(this, "CmdOk", {316, 316, 90, 28});
    CmdOk->setText("OK");
}

void FrmSections::MakeStyList() {
    const int count = App::Get().g.Styles.StyleCount();
    for (int row = 0; row < count && row < LstStyIdx->ListCount(); ++row) {
        LstStyles->addItem(LstStyIdx->List(row));
    }
}

void FrmSections::SetSlotStyles(int listRow, const QString& entry) {
    const QString row = QString::fromStdString(ZeroPad(listRow, 4));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        LstSectIdx->item(slot)->setText(row);
        LstSectStyles->item(slot)->setText(entry);
    }
}

}  // namespace corvane::styles
