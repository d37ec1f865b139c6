// The style panel's behaviour on the main window: the slot labels' change handler. A change of
// a slot label's caption is how the rest of the program asks for a slot's style to be read.
#pragma once

namespace corvane {
class FrmMain;
}

namespace corvane::styles {

class StylePanel {
  public:
    explicit StylePanel(FrmMain& main);

    void LblStyle_Change(int index);

  private:
    FrmMain& main_;
};

}  // namespace corvane::styles
