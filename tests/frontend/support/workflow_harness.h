// What the workflow's GUI tests share: the fixture song in the program folder, clicks on the
// step buttons, a scripted answer of the key list dialog, 3/4 styles in the five slots, and
// waiting for a caption of the status line.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "frontend/core/ui/workflow.h"
#include "tests/frontend/support/gui_harness.h"

namespace corvane::testing {

class WorkflowTest : public CorvaneTest {
  protected:
    // Starts the program, writes the waltz (24 measures unless told) as songs/waltz.mid and
    // names it in TxtInName.
    void StartWithSong(int measures = 24);
    Workflow& workflow() { return main().workflow(); }
    CoreGlobals& g() { return app().g; }

    // A click on a step button: nothing happens while it is disabled, as with the mouse.
    void Click(shell::SkinFace* face);
    bool WaitCaption(const QString& caption, int timeoutMs = 20000);
    QString Caption() { return main().LblInName->Caption(); }

    // Proceed with the key list dialog answered by Save (after `lines` were put into it when
    // given) or by Cancel.
    void ProceedSaving(const std::vector<std::string>& lines = {});
    void ProceedCancelling();

    // Slot k gets the library style `files[k]` (index and display name).
    void SetSlotStyles(const std::vector<std::string>& files);
    void SetWaltzStyles() {
        SetSlotStyles({"Jw3430.sty", "Wz3431.sty", "Sw3412.sty", "Jw3430.sty", "Wz3431.sty"});
    }

    // Load In and Proceed done through the real workers with the key of the song.
    void LoadAndProceed();

    std::string ReadText(const char* name) const;
    std::string songPath;
};

}  // namespace corvane::testing
