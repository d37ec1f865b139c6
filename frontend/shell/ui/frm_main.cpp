#include "frontend/shell/ui/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "frontend/core/ui/file_commands.h"
#include "frontend/core/ui/playback.h"
#include "frontend/core/ui/startup.h"
#include "frontend/core/ui/workflow.h"
#include "frontend/shell/ui/mixer.h"
#include "frontend/shell/ui/skin_shell.h"
#include "frontend/shell/ui/visualiser.h"
#include "frontend/styles/ui/style_panel.h"
#include "platform/qt/caption_label.h"
#include "platform/qt/mm_control.h"

namespace corvane {
namespace {

int ShiftBits(Qt::KeyboardModifiers modifiers) {
    int bits = 0;
    if (modifiers & Qt::ShiftModifier) bits |= shell::kShiftKey;
    if (modifiers & Qt::ControlModifier) bits |= shell::kCtrlKey;
    if (modifiers & Qt::AltModifier) bits |= shell::kAltKey;
    return bits;
}

float Twips(qreal pixels) {
    return static_cast<float>(pixels * shell::kTwipsPerPixel);
}

}  // namespace

FrmMain::FrmMain() {
    setObjectName("FrmMain");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(shell::kMainWidth, shell::kMainHeight);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    CreateWorkflowControls(this);
    CreatePlaybackControls(this);
    CreateStylePanelControls(this);
    CreateShellControls(this);
    InitMixerBars();
    startup_ = std::make_unique<Startup>(*this);
    workflow_ = std::make_unique<Workflow>(*this);
    fileCommands_ = std::make_unique<FileCommands>(*this);
    playback_ = std::make_unique<Playback>(*this);
    stylePanel_ = std::make_unique<styles::StylePanel>(*this);
    skinShell_ = std::make_unique<shell::SkinShell>(*this);
    visualiser_ = std::make_unique<shell::Visualiser>(*this);
    mixer_ = std::make_unique<shell::Mixer>(*this);
    mixer_->SetOutputPlayer(
        std::make_unique<shell::OutputPlayerOver<platform::qt::MMControl>>(*MMControl1));
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
    shell::RunFaceCommand(shell::FaceId::PictExit, skinShell_->Commands());
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
    // The visualiser keeps its back colour under its drawings, and a new one wipes them.
    if (control == Picture1) {
        Picture1->SetBackColor(colour);
        return;
    }
    if (auto* label = qobject_cast<platform::qt::CaptionLabel*>(control)) {
        label->SetBackColor(colour);
        return;
    }
    control->setStyleSheet("background-color: " + platform::qt::ColourOf(colour).name());
}

void FrmMain::SetBarListColour(Colour colour) {
    // A new style sheet restyles the whole list, so only a change of colour sets one.
    const QString sheet = "color: " + platform::qt::ColourOf(colour).name();
    if (LstHa->styleSheet() != sheet) LstHa->setStyleSheet(sheet);
}

void FrmMain::Form_MouseDown(int button, int shift, float X, float Y) {
    WindowDrag.Form_MouseDown(button, shift, X, Y, {Twips(x()), Twips(y())});
}

void FrmMain::Form_MouseMove(int button, float X, float Y) {
    const auto place = WindowDrag.Form_MouseMove(button, X, Y);
    if (!place) return;
    move(static_cast<int>(std::lround(place->left / shell::kTwipsPerPixel)),
         static_cast<int>(std::lround(place->top / shell::kTwipsPerPixel)));
}

void FrmMain::Form_MouseUp() {
    WindowDrag.Form_MouseUp();
}

void FrmMain::Form_QueryUnload() {
    // Closing the window by any other way than the Exit button ends the program at once,
    // without the Exit button's clean-up.
    QApplication::exit(0);
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

void FrmMain::mousePressEvent(QMouseEvent* event) {
    // Only a press on the window's own background; one that a label let through is not.
    if (childAt(event->position().toPoint()) != nullptr) return;
    Form_MouseDown(shell::ButtonBits(event->button()), ShiftBits(event->modifiers()),
                   Twips(event->position().x()), Twips(event->position().y()));
}

void FrmMain::mouseMoveEvent(QMouseEvent* event) {
    Form_MouseMove(shell::ButtonBits(event->buttons()), Twips(event->position().x()),
                   Twips(event->position().y()));
}

void FrmMain::mouseReleaseEvent(QMouseEvent*) {
    Form_MouseUp();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_QueryUnload();
}

}  // namespace corvane
