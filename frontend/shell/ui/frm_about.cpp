#include "frontend/shell/ui/frm_about.h"

#include <QEvent>

#include "frontend/core/ui/make_control.h"

namespace corvane::shell {

FrmAbout::FrmAbout(QWidget* parent) : FormDialog("FrmAbout", "About Box", parent) {
    setFixedSize(320, 120);
    LblCredits = MakeControl<QLabel>(this, "LblCredits", {12, 12, 296, 96});
    LblCredits->setText("Orvella\nautomatic accompaniment\nversion 2426");
    LblCredits->setAlignment(Qt::AlignCenter);
}

void FrmAbout::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) {
        Form_Deactivate();
    }
    FormDialog::changeEvent(event);
}

}  // namespace corvane::shell
