// The main window. One window with several owners: it inherits the control groups of the
// workflow, the style panel and the shell (each declared beside its owner's code) and holds
// one component per owner, which connects that owner's handlers to the controls. A new owner
// adds its controls struct and its component here and nothing else.
#pragma once

#include <QWidget>
#include <memory>

#include "frontend/app/app.h"
#include "frontend/core/ui/workflow_controls.h"
#include "frontend/shell/ui/shell_controls.h"
#include "frontend/styles/ui/style_panel_controls.h"

namespace corvane {

class Startup;
class Workflow;
namespace styles {
class StylePanel;
}
namespace shell {
class SkinShell;
}

class FrmMain : public QWidget,
                public WorkflowControls,
                public styles::StylePanelControls,
                public shell::ShellControls {
    Q_OBJECT
  public:
    FrmMain();
    ~FrmMain() override;

    // The start-up and activation (frontend/core/ui/startup.h).
    StartupOutcome Form_Initialize();
    void Form_Activate();
    void SaveUserSetting();
    void PictExit_MouseUp();

    // The shell (frontend/shell/ui/skin_shell.h).
    void PaintSkin();
    bool ScreenAtNormalScale() const;
    bool ClearOutName();
    void SetBackColour(QWidget* control, Colour colour);

    Startup& startup() { return *startup_; }
    Workflow& workflow() { return *workflow_; }
    styles::StylePanel& stylePanel() { return *stylePanel_; }
    shell::SkinShell& skinShell() { return *skinShell_; }

  protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::unique_ptr<Startup> startup_;
    std::unique_ptr<Workflow> workflow_;
    std::unique_ptr<styles::StylePanel> stylePanel_;
    std::unique_ptr<shell::SkinShell> skinShell_;
};

}  // namespace corvane
