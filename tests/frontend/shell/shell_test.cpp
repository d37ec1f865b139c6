// The skinned main window after the start-up: what the painter leaves, the faces driven through
// the window system's mouse events, the dialog openers, the output name's link to the small
// Save button, the about box and closing the window.
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <set>

#include "frontend/core/ui/frm_select_file.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/shell/ui/frm_about.h"
#include "frontend/shell/ui/skin_shell.h"
#include "frontend/styles/ui/frm_opt1.h"
#include "frontend/styles/ui/frm_opt2.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/ini_settings.h"
#include "tests/frontend/support/gui_harness.h"

namespace corvane::testing {
namespace {

using shell::FaceId;
using shell::SkinFace;
using shell::SkinState;

// A point inside a face's hit area, in the face's pixels.
QPoint Inside(const SkinFace& face) {
    const shell::HitArea& hit = face.Button().Spec().hit;
    const float x = hit.shape == shell::HitArea::Shape::kRect ? (hit.x1 + hit.x2) / 2 : hit.cx;
    const float y = hit.shape == shell::HitArea::Shape::kRect ? (hit.y1 + hit.y2) / 2 : hit.cy;
    return {static_cast<int>(x / shell::kTwipsPerPixel),
            static_cast<int>(y / shell::kTwipsPerPixel)};
}

class ShellTest : public CorvaneTest {
  protected:
    void SetUp() override { ASSERT_EQ(StartCorvane(), StartupOutcome::kShown); }

    void Click(SkinFace* face, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::mouseMove(face, Inside(*face));
        QTest::mouseClick(face, Qt::LeftButton, keys, Inside(*face));
    }
};

TEST_F(ShellTest, ThePainterLeavesEveryFaceNormalAndTheTracksMeasured) {
    std::set<int> handles;
    for (SkinFace* face : main().Faces()) {
        SCOPED_TRACE(face->objectName().toStdString());
        EXPECT_EQ(face->Button().State(), SkinState::kNormal);
        EXPECT_EQ(face->Image(SkinState::kNormal).deviceIndependentSize().toSize(), face->size());
        EXPECT_FALSE(face->Image(SkinState::kPressed).isNull());
        handles.insert(face->Button().Handle());
    }
    EXPECT_EQ(handles.size(), 24u);
    EXPECT_FALSE(handles.count(0));
    EXPECT_TRUE(main().PictPlay->isVisible());
    EXPECT_FALSE(main().PictPaus->isVisible());
    EXPECT_FALSE(main().PictEndT->isVisible());
    EXPECT_FALSE(main().PictStIn->isVisible());
    EXPECT_FALSE(main().PictSave->isEnabled());
    EXPECT_FALSE(main().PictSOut->isEnabled());
    EXPECT_EQ(main().PictBrow->toolTip(), " Browse Input Midi Files ");
    EXPECT_EQ(main().PictStIn->toolTip(), "Stop Testing Input");

    EXPECT_EQ(main().PictHScr->Track.TrackLeft, 6480);
    EXPECT_EQ(main().PictHScr->Track.TrackRight, 8265);
    EXPECT_EQ(main().PictVols[2]->Track.TrackRight, 5670);
    EXPECT_EQ(main().PictVols[5]->Track.TrackLeft, 4140);
    EXPECT_EQ(main().PictVols[5]->Track.TrackRight, 6015);
    EXPECT_EQ(main().PictEchs[1]->Track.TrackRight, 8730);
    EXPECT_EQ(main().PictHScr->Track.GrabOffset, 60);

    // Master volume 80 on 20..100: three quarters along its track; part volumes 0 at the left.
    EXPECT_EQ(main().CanGatVol[5]->Value(), 80);
    EXPECT_EQ(main().PictVols[5]->Left(), 4140 + 1875 * 0.75f);
    EXPECT_EQ(main().PictVols[5]->x(), 370);
    EXPECT_EQ(main().PictVols[0]->x(), 308);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(main().LblBackLevel[i]->Caption(),
                  QString::number(9 - main().CanGatEcho[i]->Value()));
    }
    EXPECT_EQ(main().Ripple.RippleCentreX, 1116);
    EXPECT_EQ(main().Ripple.RippleCentreY, 330);
    EXPECT_EQ(main().Ripple.RippleMaxRadius, 1115);
}

TEST_F(ShellTest, AFaceLightsUpPressesAndRunsItsCommandOnlyWhenReleasedInside) {
    SkinFace* styles = main().PictStyl;
    QTest::mouseMove(styles, Inside(*styles));
    EXPECT_EQ(styles->Button().State(), SkinState::kHover);
    QTest::mousePress(styles, Qt::LeftButton, {}, Inside(*styles));
    EXPECT_EQ(styles->Button().State(), SkinState::kPressed);
    QTest::mouseMove(styles, {-20, 5});  // dragged off the face
    EXPECT_EQ(styles->Button().State(), SkinState::kNormal);
    QTest::mouseRelease(styles, Qt::LeftButton, {}, {-20, 5});
    EXPECT_FALSE(app().frmSections().isVisible());

    app().g.StyleListIdx = 3;
    app().g.ListIndexArg = 0;
    Click(styles);
    EXPECT_EQ(styles->Button().State(), SkinState::kNormal);
    EXPECT_TRUE(app().frmSections().isVisible());
    EXPECT_EQ(app().g.ListIndexArg, 3);
}

TEST_F(ShellTest, PlayDoesNothingWhileBusyAndAsksForTheOutputOtherwise) {
    app().g.BusyFlags.RippleBusy = true;
    Click(main().PictPlay);
    EXPECT_TRUE(recorder.lines().isEmpty());
    EXPECT_EQ(main().PictPlay->Button().State(), SkinState::kNormal);
    app().g.BusyFlags.RippleBusy = false;
    Click(main().PictPlay);
    EXPECT_EQ(recorder.lines().join("/").toStdString(),
              "information|Orvella|The Output MIDI Device is not opened.\\n"
              "Click <Test Out>, then try again.");
}

TEST_F(ShellTest, EveryLedIsUnlitGreyFromTheStart) {
    // The beat LEDs and the slot LEDs look alike before the first play and after it.
    std::vector<QWidget*> leds(main().LblLed.begin(), main().LblLed.end());
    leds.insert(leds.end(), main().LblStyLeds.begin(), main().LblStyLeds.end());
    for (QWidget* led : leds) {
        SCOPED_TRACE(led->objectName().toStdString());
        EXPECT_EQ(led->styleSheet(), QString("background-color: #808080"));
        EXPECT_EQ(led->grab().toImage().pixelColor(led->width() / 2, led->height() / 2),
                  QColor(0x80, 0x80, 0x80));
    }
}

TEST_F(ShellTest, ADisabledFaceTakesNoClickAndStartsNoDrag) {
    app().g.OutputReady = true;
    SkinFace* save = main().PictSave;
    ASSERT_FALSE(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton, Qt::ControlModifier, Inside(*save));
    EXPECT_FALSE(main().WindowDrag.WinDragOn);
    EXPECT_FALSE(app().frmSelectFile().isVisible());
    EXPECT_TRUE(recorder.lines().isEmpty());

    // The window's own background does start one; a label on it does not.
    QTest::mousePress(&main(), Qt::LeftButton, Qt::ControlModifier, {3, 200});
    EXPECT_TRUE(main().WindowDrag.WinDragOn);
    QTest::mouseRelease(&main(), Qt::LeftButton, Qt::ControlModifier, {3, 200});
    EXPECT_FALSE(main().WindowDrag.WinDragOn);
    QTest::mousePress(main().LblSwPoints, Qt::LeftButton, Qt::ControlModifier, {5, 5});
    EXPECT_FALSE(main().WindowDrag.WinDragOn);
    QTest::mouseRelease(main().LblSwPoints, Qt::LeftButton, Qt::ControlModifier, {5, 5});
}

TEST_F(ShellTest, OpenersHandTheirDialogsTheStartingValue) {
    app().g.MakeOptMode = 4;
    app().g.ChordOptMode = 0;
    Click(main().PictOpt2);
    EXPECT_EQ(app().frmOpt2().Tag, "4");
    EXPECT_TRUE(app().frmOpt2().isVisible());
    Click(main().PictOpt1);
    EXPECT_EQ(app().frmOpt1().Tag, "0");
    EXPECT_TRUE(app().frmOpt1().isVisible());
    QTest::mouseClick(main().CmdSaveSet, Qt::LeftButton);
    EXPECT_TRUE(app().frmSaveSetting().isVisible());
}

TEST_F(ShellTest, TheOutputNameEnablesTheSmallSaveOnlyOnceAnOutputExists) {
    QTest::keyClicks(main().TxtOutName, "song");
    EXPECT_FALSE(main().PictSave->isEnabled());
    app().g.OutputReady = true;
    QTest::keyClicks(main().TxtOutName, "2");
    EXPECT_TRUE(main().PictSave->isEnabled());
    main().TxtOutName->clear();  // a change never takes the button away
    EXPECT_TRUE(main().PictSave->isEnabled());
}

TEST_F(ShellTest, TheChordListButtonShowsTheEditorOnlyWhileItHoldsLines) {
    editors::FrmChord& editor = app().frmChord();
    editor.show();
    Click(main().PictShChord);
    EXPECT_FALSE(editor.isVisible());
    editor.LstTemp->addItem("001 C.... G....");
    Click(main().PictShChord);
    EXPECT_TRUE(editor.isVisible());
}

TEST_F(ShellTest, TheAboutBoxShowsItsArtAndHidesWhenTheMainWindowIsActivated) {
    Click(main().PictAbou);
    shell::FrmAbout& about = app().frmAbout();
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.windowTitle(), "About Box");
    EXPECT_EQ(about.ImgAbout->size(), QSize(616, 92));
    EXPECT_TRUE(about.LblLicences->text().contains("FluidSynth"));
    about.activateWindow();
    WaitUntil([&] { return about.isActiveWindow(); }, 2000);
    main().activateWindow();
    EXPECT_TRUE(WaitUntil([&] { return !about.isVisible(); }, 2000));
}

TEST_F(ShellTest, ClosingTheWindowOtherwiseThanByExitEndsWithoutTheExitsWork) {
    QTimer::singleShot(0, &main(), [this] { main().close(); });
    QTimer::singleShot(5000, [] { QApplication::exit(7); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(app().g.ProgramClosing);
    EXPECT_FALSE(QFile::exists(platform::qt::IniSettingsStore::FilePath("Orvella 2426")));
}

}  // namespace
}  // namespace corvane::testing
