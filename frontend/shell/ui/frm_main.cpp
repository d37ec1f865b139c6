#include "frontend/shell/ui/frm_main.h"

#include <QEvent>
#include <QPainter>

#include "frontend/core/ui/startup.h"
#include "frontend/core/ui/workflow.h"
#include "frontend/shell/ui/skin_shell.h"
#include "frontend/styles/ui/style_panel.h"
#include "platform/qt/caption_label.h"

namespace corvane {

FrmMain::FrmMain() {
    setObjectName("FrmMain");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(shell::kMainWidth, shell::kMainHeight);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    CreateWorkflowControls(this);
    CreateStylePanelControls(this);
    CreateShellControls(this);
    startup_ = std::make_unique<Startup>(*this);
    workflow_ = std::make_unique<Workflow>(*this);
    stylePanel_ = std::make_unique<styles::StylePanel>(*this);
    skinShell_ = std::make_unique<shell::SkinShell>(*this);
    connect(PictExit, &shell::SkinFace::MouseUp, this, &FrmMain::PictExit_MouseUp);
}

FrmMain::~FrmMain() = default;

StartupOutcome FrmMain::Form_Initialize() {
    return startup_->Form_Initialize();
}
void FrmMain::Form_Activate() {
    startup_->Form_Activate();
}
void FrmMain::SaveUserSetting() {
    startup_->SaveUserSetting();
}
void FrmMain::PictExit_MouseUp() {
    startup_->ExitRequested();
}

void FrmMain::PaintSkin() {
    skinShell_->PaintSkin();
}
bool FrmMain::ScreenAtNormalScale() const {
    return skinShell_->ScreenAtNormalScale();
}

bool FrmMain::ClearOutName() {
    TxtOutName->setText("");
    PictShChord->setVisible(true);
    return true;
}

void FrmMain::SetBackColour(QWidget* control, Colour colour) {
    control->setStyleSheet("background-color: " + platform::qt::ColourOf(colour).name());
}

void FrmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()) {
        Form_Activate();
    }
    QWidget::changeEvent(event);
}

void FrmMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    skinShell_->DrawBackground(painter);
}

}  // namespace corvane
