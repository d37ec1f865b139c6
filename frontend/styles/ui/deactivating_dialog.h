// A modeless dialog that closes like Cancel when another window of the program becomes active
// or is clicked. Its deactivation body (the Cancel) runs before the main window's activation
// and before the click that moved the activation: one application event filter sees the press
// or the activation of the other window before its receiver does, and deactivates every open
// dialog of this kind that does not own that window. A hidden dialog has nothing to deactivate,
// so a dialog that applied its Ok and hid stays applied. Escape and the window's close box
// close it like Cancel too; it is only ever hidden, never unloaded.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <optional>

#include "frontend/core/ui/form_dialog.h"

namespace corvane::styles {

class DeactivatingDialog : public FormDialog {
    Q_OBJECT
  public:
    DeactivatingDialog(const char* formName, const QString& caption, QWidget* parent = nullptr);
    ~DeactivatingDialog() override;

    // The deactivation: the form's Cancel body, then hidden. Nothing while hidden.
    void Deactivate();

    // Deactivates every open dialog of this kind except those owning `window`.
    static void DeactivateAllBut(const QWidget* window);

  protected:
    // What the form's deactivation changes (its Cancel), before it hides.
    virtual void Form_Deactivate() {}
    // Each showing of the form, once it is on screen.
    virtual void Form_Activate() {}
    // Escape (27) and Enter (13) typed anywhere on the form; Escape closes it like Cancel.
    virtual void Form_KeyPress(int keyAscii) {
        if (keyAscii == 27) Deactivate();
    }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The mode an option dialog's Tag asks for; nothing when it is empty or not a number.
std::optional<int> TagMode(const QString& tag);

// The option dialogs' note under the options (Label1) and their Ok and Cancel buttons below it.
void MakeOkCancel(FormDialog* form, QPushButton*& ok, QPushButton*& cancel, QLabel*& note,
                  const char* noteText, int top);

}  // namespace corvane::styles
