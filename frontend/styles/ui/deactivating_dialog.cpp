#include "frontend/styles/ui/deactivating_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <algorithm>
#include <vector>

#include "frontend/core/ui/make_control.h"

namespace corvane::styles {
namespace {

std::vector<DeactivatingDialog*>& Dialogs() {
    static std::vector<DeactivatingDialog*> dialogs;
    return dialogs;
}

// Sees a press or an activation of any window before the window itself does.
class ActivationWatcher : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::WindowActivate:
                if (auto* widget = qobject_cast<QWidget*>(watched)) {
                    DeactivatingDialog::DeactivateAllBut(widget->window());
                }
                break;
            case QEvent::ActivationChange:
                // Whichever of the two activation events a window gets first.
                if (auto* widget = qobject_cast<QWidget*>(watched);
                    widget && widget->isWindow() && widget->isActiveWindow()) {
                    DeactivatingDialog::DeactivateAllBut(widget);
                }
                break;
            default:
                break;
        }
        return false;
    }
};

void WatchActivations() {
    static ActivationWatcher* watcher = nullptr;
    if (watcher || !qApp) return;
    watcher = new ActivationWatcher;
    watcher->setParent(qApp);
    qApp->installEventFilter(watcher);
}

bool Owns(const QWidget* dialog, const QWidget* window) {
    // A message box belongs to whatever asked for it.
    if (qobject_cast<const QMessageBox*>(window) != nullptr) return true;
    for (const QWidget* w = window; w; w = w->parentWidget()) {
        if (w == dialog) return true;
    }
    return false;
}

}  // namespace

DeactivatingDialog::DeactivatingDialog(const char* formName, const QString& caption,
                                       QWidget* parent)
    : FormDialog(formName, caption, parent) {
    Dialogs().push_back(this);
    WatchActivations();
}

DeactivatingDialog::~DeactivatingDialog() {
    auto& dialogs = Dialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this), dialogs.end());
}

void DeactivatingDialog::Deactivate() {
    if (!isVisible()) return;
    Form_Deactivate();
    hide();
}

void DeactivatingDialog::DeactivateAllBut(const QWidget* window) {
    // A copy: a deactivation may open or close other forms.
    const std::vector<DeactivatingDialog*> dialogs = Dialogs();
    for (DeactivatingDialog* dialog : dialogs) {
        if (dialog->isVisible() && !Owns(dialog, window)) dialog->Deactivate();
    }
}

void DeactivatingDialog::showEvent(QShowEvent* event) {
    FormDialog::showEvent(event);
    if (!event->spontaneous()) Form_Activate();
}

void DeactivatingDialog::closeEvent(QCloseEvent* event) {
    // The form stays loaded for its next use.
    event->ignore();
    Deactivate();
}

void DeactivatingDialog::reject() {
    Deactivate();
}

void DeactivatingDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            Form_KeyPress(27);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Form_KeyPress(13);
            return;
        default:
            FormDialog::keyPressEvent(event);
    }
}

// The mode a Tag asks for; nothing when it is empty or not a number.
std::optional<int> TagMode(const QString& tag) {
    bool ok = false;
    const int mode = tag.trimmed().toInt(&ok);
    if (tag.isEmpty() || !ok) return std::nullopt;
    return mode;
}

// The dialogs' Ok and Cancel buttons and the note under the options.
void MakeOkCancel(FormDialog* form, QPushButton*& ok, QPushButton*& cancel, QLabel*& note,
                  const char* noteText, int top) {
    note = MakeControl<QLabel>(form, "Label1", {16, top, form->width() - 32, 48});
    note->setText(noteText);
    note->setWordWrap(true);
    ok = MakeControl<QPushButton>(form, "CmdOk", {form->width() - 204, top + 56, 88, 28});
    ok->setText("Ok");
    cancel = MakeControl<QPushButton>(form, "CmdCancel", {form->width() - 104, top + 56, 88, 28});
    cancel->setText("Cancel");
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
}

}  // namespace corvane::styles
