#include "frontend/shell/ui/skin_shell.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "frontend/app/app.h"
#include "frontend/core/ui/startup.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/shell/skinart/skin_art.h"
#include "frontend/shell/ui/frm_about.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/frm_opt1.h"
#include "frontend/styles/ui/frm_opt2.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/help_viewer.h"

namespace corvane::shell {
namespace {

using skin::ButtonIcon;
using skin::SkinArt;
using skin::SkinImageId;
using skin::SkinImageKind;

// One dark look for the standard widgets that sit on the skin.
const char* const kStyleSheet = R"(
QLabel { color: #D8E2EE; background: transparent; }
QLineEdit {
  background: #0E1318; color: #D8E2EE; border: 1px solid #3A4656; border-radius: 3px;
  padding: 0px 3px; selection-background-color: #3F5572;
}
QLineEdit:focus { border-color: #6482A8; }
QListWidget {
  background: #0E1318; color: #D8E2EE; border: 1px solid #3A4656; border-radius: 3px;
  outline: 0px;
}
QListWidget::item:selected { background: #3F5572; color: #FFFFFF; }
QRadioButton, QCheckBox { color: #D8E2EE; spacing: 3px; }
QRadioButton::indicator {
  width: 9px; height: 9px; border-radius: 5px; border: 1px solid #4A5A6E; background: #0A0E13;
}
QRadioButton::indicator:hover { border-color: #9CC4FF; }
QRadioButton::indicator:checked {
  background: qradialgradient(cx:0.5, cy:0.5, radius:0.6, fx:0.35, fy:0.35,
                              stop:0 #FFE0A8, stop:0.5 #D08A2A, stop:1 #7A4A10);
  border-color: #D08A2A;
}
QCheckBox::indicator {
  width: 9px; height: 9px; border-radius: 2px; border: 1px solid #4A5A6E; background: #0A0E13;
}
QCheckBox::indicator:checked { background: #D08A2A; border-color: #D08A2A; }
QPushButton {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4A5D78, stop:1 #2F3D52);
  border: 1px solid #1A2230; border-radius: 3px; color: #E8EEF6; padding: 0px;
}
QPushButton:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #6482A8, stop:1 #3F5572);
  border-color: #9CC4FF;
}
QPushButton:pressed {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #263244, stop:1 #34455E);
}
QScrollBar:vertical { background: #0A0E13; width: 9px; margin: 0px; border: none; }
QScrollBar::handle:vertical { background: #3A4656; border-radius: 4px; min-height: 18px; }
QScrollBar::handle:vertical:hover { background: #4A5D78; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }
#LblMode, #LblMix { font-size: 9px; }
#LblGMCode_0, #LblGMCode_1, #LblGMCode_2 { font-size: 10px; }
#LblMusicType { font-size: 8px; }
QToolTip { color: #E8EEF6; background: #1A2230; border: 1px solid #3A4656; padding: 2px; }
)";

QImage Render(SkinImageKind kind, qreal dpr, int index = 0, SkinState state = SkinState::kNormal) {
    return SkinArt::render(SkinImageId{kind, index, state}, dpr);
}

QPixmap PixmapOf(const QImage& image) {
    return QPixmap::fromImage(image);
}

float Twips(int pixels) {
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

// The procedures and conditions of the faces' commands, over the main window.
class MainFaceCommands final : public FaceCommands {
  public:
    explicit MainFaceCommands(FrmMain& main) : main_(main) {}

    bool FaceEnabled(FaceId face) const override { return main_.Face(face)->isEnabled(); }
    bool CmdTestOutEnabled() const override { return main_.CmdTestOut->isEnabled(); }
    bool AnyBusy() const override { return App::Get().g.BusyFlags.Any(); }
    std::string TxtOutNameText() const override { return main_.TxtOutName->text().toStdString(); }

    void BrowseInput() override { main_.BrowseInput(); }
    void CmdGetNote_Click() override { main_.CmdGetNote_Click(); }
    void Proceed() override { main_.Proceed(); }
    void ShowSectionsDialog() override { main_.skinShell().ShowSectionsDialog(); }
    void ShowOrHideChordList() override { main_.skinShell().ShowOrHideChordList(); }
    void CmdCompose_Click() override { main_.CmdCompose_Click(); }
    void CmdTestOut_Click() override { main_.CmdTestOut_Click(); }
    void TestInput() override { main_.TestInput(); }
    void SaveOutput(bool direct) override { main_.SaveOutput(direct); }
    void OpenMelodyImporter() override { main_.OpenMelodyImporter(); }
    void ShowChordOptDialog() override { main_.skinShell().ShowChordOptDialog(); }
    void ShowMakeOptDialog() override { main_.skinShell().ShowMakeOptDialog(); }
    void TryToPlay() override { main_.TryToPlay(); }
    void TryToPause() override { main_.TryToPause(); }
    void TryToStop() override { main_.TryToStop(); }
    void GoSectionBegin() override { main_.GoSectionBegin(); }
    void GoSectionEnd() override { main_.GoSectionEnd(); }
    void ShowHelp() override { main_.skinShell().ShowHelp(); }
    void ShowAbout() override { main_.skinShell().ShowAbout(); }
    void Minimise() override { main_.skinShell().Minimise(); }
    void SetExitRequested() override { App::Get().g.ProgramClosing = true; }
    void SaveUserSetting() override { main_.SaveUserSetting(); }
    void CmdExitClick() override { main_.startup().CmdExitClick(); }

  private:
    FrmMain& main_;
};

}  // namespace

SkinShell::SkinShell(FrmMain& main)
    : main_(main), commands_(std::make_unique<MainFaceCommands>(main)) {
    for (SkinFace* face : main_.Faces()) {
        const FaceId id = face->Id();
        QObject::connect(face, &SkinFace::MouseUp, &main_,
                         [this, id] { RunFaceCommand(id, *commands_); });
    }
    QObject::connect(main_.TxtOutName, &QLineEdit::textChanged, &main_,
                     [this] { TxtOutName_Change(); });
    QObject::connect(main_.CmdSaveSet, &QPushButton::clicked, &main_,
                     [this] { CmdSaveSet_Click(); });
}

SkinShell::~SkinShell() = default;

qreal SkinShell::DevicePixelRatio() const {
    const QScreen* screen = main_.screen();
    return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

void SkinShell::PaintSkin() {
    const qreal dpr = DevicePixelRatio();
    // The whole window, then the title strip into its box.
    main_.ImgMain = Render(SkinImageKind::kBackground, dpr);
    main_.update();
    main_.ImgTitle->setPixmap(PixmapOf(Render(SkinImageKind::kTitle, dpr)));

    // Every face and thumb with its Normal picture; the master volume bar takes slot 1's
    // master volume before the volume thumbs are placed by their values.
    PaintThumbs(dpr);
    main_.CanGatVol[5]->SetValue(App::Get().slotTables.SectVol[0]);
    PaintFaces(dpr);

    // The handles the hover capture names the faces by; Play shows, Pause waits for playback.
    int handle = 0;
    for (SkinFace* face : main_.Faces()) face->Button().SetHandle(++handle);
    main_.PictPaus->hide();
    main_.PictPlay->show();

    main_.Ripple = RippleOf(Twips(main_.Picture1->width()), Twips(main_.Picture1->height()));

    auto measure = [&](SkinThumb* thumb, const QWidget* groove) {
        thumb->Track = TrackOf(Twips(groove->x()), Twips(groove->width()), Twips(thumb->width()));
        // Its designed place until a value moves it.
        thumb->SetLeft(Twips(thumb->x()));
        thumb->Handle = ++handle;
    };
    measure(main_.PictHScr, main_.LblHsNen);
    for (int i = 0; i < 6; ++i) {
        measure(main_.PictVols[i], main_.LblVsNen[i]);
        main_.CanGatVol_Change(i);
    }
    for (int i = 0; i < 2; ++i) {
        measure(main_.PictEchs[i], main_.LblEsNen[i]);
        main_.CanGatEcho_Change(i);
    }

    // What the skin gives the standard widgets and the small pictures around them.
    main_.setStyleSheet(kStyleSheet);
    main_.ImgPlSign0->setPixmap(PixmapOf(Render(SkinImageKind::kPlaySign, dpr, 0)));
    main_.ImgPlSign1->setPixmap(PixmapOf(Render(SkinImageKind::kPlaySign, dpr, 1)));
    const std::pair<QPushButton*, ButtonIcon> icons[] = {
        {main_.CmdResetV, ButtonIcon::kResetVolumes},
        {main_.CmdResetI, ButtonIcon::kResetInstruments},
        {main_.CmdResetM, ButtonIcon::kResetModes},
        {main_.CmdSaveSet, ButtonIcon::kSaveSetting},
        {main_.CmdLoadSet, ButtonIcon::kLoadSetting},
    };
    for (const auto& [button, icon] : icons) {
        const QImage image = Render(SkinImageKind::kButtonIcon, dpr, static_cast<int>(icon));
        button->setIcon(QIcon(PixmapOf(image)));
        button->setIconSize(image.deviceIndependentSize().toSize());
    }
    const QIcon appIcon = SkinArt::ApplicationIcon();
    QApplication::setWindowIcon(appIcon);
    main_.setWindowIcon(appIcon);
}

void SkinShell::PaintThumbs(qreal dpr) {
    main_.PictHScr0 = {Render(SkinImageKind::kPositionThumb, dpr, 0, SkinState::kNormal),
                       Render(SkinImageKind::kPositionThumb, dpr, 0, SkinState::kPressed),
                       Render(SkinImageKind::kPositionThumb, dpr, 0, SkinState::kHover)};
    main_.PictHScrImage = {QImage(),
                           Render(SkinImageKind::kSliderThumb, dpr, 0, SkinState::kPressed),
                           Render(SkinImageKind::kSliderThumb, dpr, 0, SkinState::kNormal),
                           Render(SkinImageKind::kSliderThumb, dpr, 0, SkinState::kHover)};
    main_.PictHScr->SetImages(main_.PictHScr0[0], main_.PictHScr0[2], main_.PictHScr0[1]);
    for (SkinThumb* thumb : main_.Thumbs()) {
        if (thumb == main_.PictHScr) continue;
        thumb->SetImages(main_.PictHScrImage[2], main_.PictHScrImage[3], main_.PictHScrImage[1]);
    }
    for (SkinThumb* thumb : main_.Thumbs()) thumb->Show(SkinState::kNormal);
}

void SkinShell::PaintFaces(qreal dpr) {
    main_.PictTron = {Render(SkinImageKind::kSmallRound, dpr, 0, SkinState::kNormal),
                      Render(SkinImageKind::kSmallRound, dpr, 0, SkinState::kPressed),
                      Render(SkinImageKind::kSmallRound, dpr, 0, SkinState::kHover)};
    for (SkinFace* face : main_.Faces()) {
        if (face->Button().Spec().sharedSmallRound) {
            face->SetImages(main_.PictTron[0], main_.PictTron[2], main_.PictTron[1]);
        } else {
            const int index = static_cast<int>(face->Id());
            face->SetImages(Render(SkinImageKind::kFace, dpr, index, SkinState::kNormal),
                            Render(SkinImageKind::kFace, dpr, index, SkinState::kHover),
                            Render(SkinImageKind::kFace, dpr, index, SkinState::kPressed));
        }
        face->Button().ShowNormal();
    }
}

void SkinShell::DrawBackground(QPainter& painter) const {
    if (!main_.ImgMain.isNull()) {
        painter.drawImage(QRect(0, 0, kMainWidth, kMainHeight), main_.ImgMain);
    }
}

bool SkinShell::ScreenAtNormalScale() const {
    const QScreen* screen = main_.screen();
    if (screen == nullptr) return true;
    return screen->devicePixelRatio() == 1.0 && std::lround(screen->logicalDotsPerInch()) == 96;
}

void SkinShell::ShowMakeOptDialog() {
    styles::FrmOpt2& dialog = App::Get().frmOpt2();
    dialog.Tag = QString::number(App::Get().g.MakeOptMode);
    dialog.show();
}

void SkinShell::ShowChordOptDialog() {
    styles::FrmOpt1& dialog = App::Get().frmOpt1();
    dialog.Tag = QString::number(App::Get().g.ChordOptMode);
    dialog.show();
}

void SkinShell::ShowSectionsDialog() {
    App& app = App::Get();
    app.g.ListIndexArg = static_cast<std::int16_t>(app.g.StyleListIdx);
    app.frmSections().show();
}

void SkinShell::CmdSaveSet_Click() {
    App::Get().frmSaveSetting().show();
}

void SkinShell::TxtOutName_Change() {
    // A new name may be saved to once an output exists; a name never takes the button away.
    if (App::Get().g.OutputReady) main_.PictSave->setEnabled(true);
}

void SkinShell::ShowOrHideChordList() {
    editors::FrmChord& editor = App::Get().frmChord();
    if (editor.LstTemp->count() > 0) {
        editor.show();
    } else {
        editor.hide();
    }
}

void SkinShell::ShowHelp() {
    platform::qt::HelpDisplayTopic(App::Get().g.AppFolder + "/Vessane.chm", "Html/VessaneEg.htm");
}

void SkinShell::ShowAbout() {
    shell::FrmAbout& about = App::Get().frmAbout();
    about.show();
    // Over the main window and active, so that the next click elsewhere closes it.
    about.raise();
    about.activateWindow();
}

void SkinShell::Minimise() {
    main_.repaint();
    main_.setWindowState(main_.windowState() | Qt::WindowMinimized);
}

}  // namespace corvane::shell
