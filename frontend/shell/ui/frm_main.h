// The main window. One window with several owners: it inherits the control groups of the
// workflow, the style panel and the shell (each declared beside its owner's code) and holds
// one component per owner, which connects that owner's handlers to the controls. A new owner
// adds its controls struct and its component here and nothing else.
#pragma once

#include <QWidget>
#include <memory>

#include "frontend/app/app.h"
#include "frontend/core/ui/playback_controls.h"
#include "frontend/core/ui/workflow_controls.h"
#include "frontend/shell/skin_sliders.h"
#include "frontend/shell/ui/shell_controls.h"
#include "frontend/shell/window_drag.h"
#include "frontend/styles/ui/style_panel_controls.h"

namespace corvane {

class Startup;
class Workflow;
class FileCommands;
class Playback;
namespace styles {
class StylePanel;
}
namespace shell {
class SkinShell;
class Mixer;
class Visualiser;
}  // namespace shell

class FrmMain : public QWidget,
                public WorkflowControls,
                public PlaybackControls,
                public styles::StylePanelControls,
                public shell::ShellControls,
                public shell::SkinSliderState {
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
    // The text colour of the bar list, LstHa.
    void SetBarListColour(Colour colour);

    // The procedures of the workflow, saving and playback that the faces call (saving's in
    // frontend/core/ui/file_commands.cpp, playback's and the transport's in
    // frontend/shell/ui/transport.cpp, the workflow's in
    // frontend/shell/ui/neighbour_procedures.cpp).
    void BrowseInput();
    void CmdGetNote_Click();
    void Proceed();
    void CmdCompose_Click();
    void CmdTestOut_Click();
    void TestInput();
    void SaveOutput(bool direct);
    void OpenMelodyImporter();
    void SetInputName(const QString& path);
    void TryToPlay();
    void TryToPause();
    void TryToStop();
    void GoSectionBegin();
    void GoSectionEnd();

    // The transport and its LEDs (frontend/shell/ui/transport.cpp).
    void PlayMCI1(std::int64_t startPos);
    void ShowBeatLed(std::int64_t position);
    void SwOfPlLed();
    void SwOnPlLed();

    // What playback asks of the visualiser (frontend/shell/ui/visualiser_hooks.cpp).
    void ShowChordColour();
    void DemoStep();
    void SectionFlashWipe();
    void WipeVisualiser();
    void ResetRipple();

    // The mixer bars' change handling, which the painter also runs
    // (frontend/shell/ui/mixer_bars.cpp).
    void CanGatVol_Change(int index);
    void CanGatEcho_Change(int index);
    void CanGatOut_Change(int index);

    // Moving the title-less window with Ctrl and the mouse, and closing it.
    void Form_MouseDown(int button, int shift, float X, float Y);
    void Form_MouseMove(int button, float X, float Y);
    void Form_MouseUp();
    void Form_QueryUnload();
    shell::WindowDrag WindowDrag;

    Startup& startup() { return *startup_; }
    Workflow& workflow() { return *workflow_; }
    FileCommands& fileCommands() { return *fileCommands_; }
    Playback& playback() { return *playback_; }
    styles::StylePanel& stylePanel() { return *stylePanel_; }
    shell::SkinShell& skinShell() { return *skinShell_; }
    shell::Mixer& mixer() { return *mixer_; }
    shell::Visualiser& visualiser() { return *visualiser_; }

  protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void InitMixerBars();

    std::unique_ptr<Startup> startup_;
    std::unique_ptr<Workflow> workflow_;
    std::unique_ptr<FileCommands> fileCommands_;
    std::unique_ptr<Playback> playback_;
    std::unique_ptr<styles::StylePanel> stylePanel_;
    std::unique_ptr<shell::SkinShell> skinShell_;
    std::unique_ptr<shell::Mixer> mixer_;
    std::unique_ptr<shell::Visualiser> visualiser_;
};

}  // namespace corvane
