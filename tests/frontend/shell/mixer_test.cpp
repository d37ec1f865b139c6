// The mixer on the started main window: the thumbs' press, drag and release with the value they
// set and the heading they show, the position thumb's release under a playing output, and the
// bars' change handling into the labels, the bar list, the volume tables and the visualiser.
#include "frontend/shell/ui/mixer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <string>
#include <vector>

#include "frontend/shell/ui/visualiser.h"
#include "tests/frontend/support/gui_harness.h"

namespace corvane::testing {
namespace {

using shell::SkinState;
using shell::SkinThumb;

// An output player that logs what it is told.
class FakePlayer final : public shell::OutputPlayerHook {
  public:
    explicit FakePlayer(int mode, std::vector<std::string>& log) : mode_(mode), log_(log) {}
    int Mode() override { return mode_; }
    void SetFrom(std::int64_t sixteenth) override {
        log_.push_back("From " + std::to_string(sixteenth));
    }
    void Play() override { log_.push_back("Play"); }

  private:
    int mode_;
    std::vector<std::string>& log_;
};

class MixerTest : public CorvaneTest {
  protected:
    void SetUp() override { ASSERT_EQ(StartCorvane(), StartupOutcome::kShown); }
    shell::Mixer& mixer() { return main().mixer(); }
    styles::SlotTables& tables() { return app().slotTables; }
    QString heading() { return main().LblGMCode[1]->Caption(); }

    // An output of `bars` bars is open.
    void OpenOutput(int bars) {
        for (int i = 0; i < 2; ++i) {
            main().CanGatOut[i]->SetMax(bars);
            main().CanGatOut[i]->SetEnabled(true);
        }
        main().LstHa->clear();
        for (int b = 1; b <= bars; ++b) main().LstHa->addItem(QString::number(b));
    }
};

TEST_F(MixerTest, EchoThumbRoundsItsPlaceAndTheLevelShowsNineLessTheValue) {
    SkinThumb& thumb = *main().PictEchs[0];
    const float left = thumb.Track.TrackLeft;
    struct Case {
        float offset;
        int value;
        const char* level;
    } const cases[] = {{41, 0, "9"}, {42, 1, "8"}, {750, 9, "0"}, {150, 2, "7"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        thumb.SetLeft(left + c.offset);
        mixer().Thumb2EchoVal(0);
        EXPECT_EQ(main().CanGatEcho[0]->Value(), c.value);
        EXPECT_EQ(main().LblBackLevel[0]->Caption(), c.level);
    }
    // The value's own place, one twip short of the end for the last value.
    EXPECT_EQ(thumb.Left(), shell::ThumbLeftForValue(thumb.Track, 2, 0, 9));
    main().CanGatEcho[0]->SetValue(9);
    EXPECT_EQ(thumb.Left(), thumb.Track.TrackRight - 1);
}

TEST_F(MixerTest, VolumeDragPastTheEndsSetsMaxOrMinAndTheReleaseSnapsTheThumb) {
    SkinThumb& thumb = *main().PictVols[1];
    const shell::ThumbTrack track = thumb.Track;
    ASSERT_EQ(main().CanGatVol[1]->Value(), 0);
    mixer().PictVols_MouseDown(1, shell::kLeftButton, 60, 100);
    EXPECT_EQ(thumb.State(), SkinState::kPressed);
    EXPECT_EQ(heading(), "Default");

    // One twip of a 1170-twip track is 0.11 of a step: the value follows by rounding.
    mixer().PictVols_MouseMove(1, shell::kLeftButton, 60 + 9, 100);
    EXPECT_EQ(thumb.Left(), track.TrackLeft + 9);
    EXPECT_EQ(main().CanGatVol[1]->Value(), 1);
    EXPECT_EQ(heading(), "1");
    EXPECT_EQ(tables().PartVol(0, 1), 1);  // the table follows while the thumb is dragged

    mixer().PictVols_MouseMove(1, shell::kLeftButton, 5000, 100);
    EXPECT_EQ(thumb.Left(), track.TrackRight);
    EXPECT_EQ(main().CanGatVol[1]->Value(), 127);
    EXPECT_EQ(heading(), "127");
    mixer().PictVols_MouseUp(1, shell::kLeftButton, 5000, 100);
    EXPECT_EQ(thumb.Left(), track.TrackRight - 1);
    EXPECT_EQ(thumb.State(), SkinState::kNormal);
    EXPECT_EQ(heading(), "Volume");
    EXPECT_FALSE(main().VolThumbPressed);
    EXPECT_EQ(tables().PartVol(0, 1), 127);

    // A right-button drag moves it too, down past the left end.
    mixer().PictVols_MouseDown(1, shell::kRightButton, 60, 100);
    mixer().PictVols_MouseMove(1, shell::kRightButton, -3000, 100);
    EXPECT_EQ(thumb.Left(), track.TrackLeft);
    EXPECT_EQ(main().CanGatVol[1]->Value(), 0);
    EXPECT_EQ(heading(), "Default");
    mixer().PictVols_MouseUp(1, shell::kRightButton, -3000, 100);
    EXPECT_EQ(heading(), "Volume");
}

TEST_F(MixerTest, MiddleButtonPressesButDoesNotDragAndTheMasterNeverSaysDefault) {
    SkinThumb& master = *main().PictVols[5];
    const float start = master.Left();
    mixer().PictVols_MouseDown(5, shell::kMiddleButton, 60, 100);
    EXPECT_EQ(master.State(), SkinState::kPressed);
    EXPECT_EQ(heading(), "80");
    mixer().PictVols_MouseMove(5, shell::kMiddleButton, 900, 100);
    mixer().PictVols_MouseMove(5, shell::kLeftButton | shell::kRightButton, 900, 100);
    EXPECT_EQ(master.Left(), start);
    master.SetLeft(master.Track.TrackLeft + 200);  // moved meanwhile: the release snaps it back
    mixer().PictVols_MouseUp(5, shell::kMiddleButton, 900, 100);
    EXPECT_EQ(master.Left(), start);

    mixer().PictVols_MouseDown(5, shell::kLeftButton, 60, 100);
    mixer().PictVols_MouseMove(5, shell::kLeftButton, -3000, 100);
    EXPECT_EQ(main().CanGatVol[5]->Value(), 20);
    EXPECT_EQ(heading(), "20");
    mixer().PictVols_MouseUp(5, shell::kLeftButton, 0, 0);
    // A release without a press of its kind does nothing.
    main().LblGMCode[1]->SetCaption("x");
    mixer().PictVols_MouseUp(5, shell::kLeftButton, 0, 0);
    EXPECT_EQ(heading(), "x");
}

TEST_F(MixerTest, VolumeBarsWriteTheShownSlotsTablesAndTheMasterAlsoItsSectionVolume) {
    main().OptSty3->click();
    ASSERT_EQ(tables().CurSlot, 2);
    const int sectBefore = tables().SectVol[2];
    main().CanGatVol[3]->SetValue(64);
    EXPECT_EQ(tables().PartVol(2, 3), 64);
    EXPECT_EQ(tables().SectVol[2], sectBefore);
    EXPECT_EQ(tables().PartVol(0, 3), 0);
    main().CanGatVol[5]->SetValue(44);
    EXPECT_EQ(tables().PartVol(2, 5), 44);
    EXPECT_EQ(tables().SectVol[2], 44);
    EXPECT_EQ(tables().SectVol[0], 80);
    EXPECT_EQ(main().PictVols[5]->Left(),
              shell::ThumbLeftForValue(main().PictVols[5]->Track, 44, 20, 100));
}

TEST_F(MixerTest, PositionReleaseWhilePlayingRestartsAtTheChosenBar) {
    OpenOutput(20);
    app().g.MsUnits = 12;
    std::vector<std::string> log;
    mixer().SetOutputPlayer(std::make_unique<FakePlayer>(shell::kPlayerPlaying, log));
    SkinThumb& thumb = *main().PictHScr;
    const shell::ThumbTrack track = thumb.Track;
    main().LblHa->SetCaption("3");
    main().CanGatOut[0]->SetValue(2);

    mixer().PictHScr_MouseDown(0, shell::kLeftButton, 60, 100);
    EXPECT_TRUE(main().PosThumbPressed);
    // To the place of bar 8 (value 7): the labels follow, the thumb stays under the pointer.
    const float place = (track.TrackRight - track.TrackLeft) / 20 * 7 + track.TrackLeft;
    mixer().PictHScr_MouseMove(0, shell::kLeftButton, 60 + place - thumb.Left() + 3, 100);
    EXPECT_EQ(main().CanGatOut[0]->Value(), 7);
    EXPECT_EQ(main().CanGatOut[1]->Value(), 7);
    EXPECT_EQ(main().LblHa->Caption(), "8");
    EXPECT_EQ(main().LblPlayFrom->Caption(), "8");
    EXPECT_EQ(main().LstHa->currentRow(), 7);
    EXPECT_NEAR(thumb.Left(), place + 3, 0.01);
    EXPECT_TRUE(log.empty());

    mixer().PictHScr_MouseUp(0, shell::kLeftButton, 0, 0);
    EXPECT_FALSE(main().PosThumbPressed);
    EXPECT_NEAR(thumb.Left(), place, 0.01);
    EXPECT_EQ(log, (std::vector<std::string>{"From 84", "Play"}));

    // Stopped: the release only moves the thumb and the labels.
    log.clear();
    mixer().SetOutputPlayer(std::make_unique<FakePlayer>(525, log));
    mixer().PictHScr_MouseDown(0, shell::kLeftButton, 60, 100);
    mixer().PictHScr_MouseMove(0, shell::kLeftButton, 5000, 100);
    EXPECT_EQ(main().LblHa->Caption(), "End");
    mixer().PictHScr_MouseUp(0, shell::kLeftButton, 0, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(thumb.Left(), track.TrackRight - 1);
}

TEST_F(MixerTest, PositionThumbOnADisabledBarIsDroppedWhereItIs) {
    OpenOutput(10);
    main().CanGatOut[0]->SetEnabled(false);
    SkinThumb& thumb = *main().PictHScr;
    mixer().PictHScr_MouseDown(0, shell::kLeftButton, 60, 100);
    mixer().PictHScr_MouseMove(0, shell::kLeftButton, 60 + 400, 100);
    mixer().PictHScr_MouseUp(0, shell::kLeftButton, 0, 0);
    EXPECT_EQ(thumb.Left(), thumb.Track.TrackLeft + 400);
    EXPECT_EQ(main().CanGatOut[0]->Value(), 0);
    // Opening the output puts it back on its value's place.
    main().CanGatOut[0]->SetEnabled(true);
    main().CanGatOut[0]->SetMax(12);
    mixer().CanGatOut_Change(0);
    EXPECT_EQ(thumb.Left(), thumb.Track.TrackLeft);
}

TEST_F(MixerTest, BarLabelsShowEndAtMaxAndThePlayFromBarNeedsItsRow) {
    OpenOutput(12);
    main().CanGatOut[0]->SetValue(11);
    EXPECT_EQ(main().LblHa->Caption(), "12");
    main().CanGatOut[0]->SetValue(12);
    EXPECT_EQ(main().LblHa->Caption(), "End");
    main().CanGatOut[0]->SetValue(40);  // clamped to Max: nothing changes
    EXPECT_EQ(main().CanGatOut[0]->Value(), 12);

    main().CanGatOut[1]->SetValue(4);
    EXPECT_EQ(main().LblPlayFrom->Caption(), "5");
    EXPECT_EQ(main().LstHa->currentRow(), 4);
    // A bar beyond the list's rows but below Max leaves both alone.
    while (main().LstHa->count() > 6) delete main().LstHa->takeItem(6);
    main().CanGatOut[1]->SetValue(9);
    EXPECT_EQ(main().LblPlayFrom->Caption(), "5");
    EXPECT_EQ(main().LstHa->currentRow(), 4);
    main().CanGatOut[1]->SetValue(12);
    EXPECT_EQ(main().LblPlayFrom->Caption(), "End");

    // Lowering Max below the value clamps it and raises the change once.
    main().CanGatOut[0]->SetValue(10);
    main().CanGatOut[0]->SetMax(6);
    EXPECT_EQ(main().LblHa->Caption(), "End");
}

TEST_F(MixerTest, ScrollingThePositionWhilePlayingChangesNoLabel) {
    OpenOutput(12);
    std::vector<std::string> log;
    mixer().SetOutputPlayer(std::make_unique<FakePlayer>(shell::kPlayerPlaying, log));
    main().CanGatOut[0]->SetValue(3);
    main().LblHa->SetCaption("x");
    mixer().CanGatOut_Scroll(0);
    EXPECT_EQ(main().LblHa->Caption(), "x");
    mixer().SetOutputPlayer(nullptr);
    mixer().CanGatOut_Scroll(0);
    EXPECT_EQ(main().LblHa->Caption(), "4");
    EXPECT_EQ(main().LstHa->currentRow(), 3);
}

TEST_F(MixerTest, BackToBarZeroClearsTheVisualiserUnlessTheThumbIsHeld) {
    OpenOutput(12);
    app().g.ColorDemoOff = false;
    shell::VisualiserBox& box = *main().Picture1;
    const auto drawn = [&box] {
        return box.Image().pixel(box.width() / 2, box.height() / 2) !=
               platform::qt::ColourOf(box.BackColor()).rgb();
    };
    const auto draw = [&box, this] {
        box.ForeColor = box.FillColor = 0xFFFFFF;
        box.FillStyle = 0;
        box.DrawMode = 13;
        box.Circle(main().Ripple.RippleCentreX, main().Ripple.RippleCentreY, 300);
    };
    main().CanGatOut[0]->SetValue(5);
    draw();
    ASSERT_TRUE(drawn());
    main().PosThumbPressed = true;
    main().CanGatOut[0]->SetValue(0);
    EXPECT_TRUE(drawn());
    main().PosThumbPressed = false;
    main().CanGatOut[0]->SetValue(5);
    main().CanGatOut[0]->SetValue(0);
    EXPECT_FALSE(drawn());
}

TEST_F(MixerTest, ThumbsFollowTheMouseAndHover) {
    SkinThumb& thumb = *main().PictEchs[1];
    const QPoint middle(thumb.width() / 2, thumb.height() / 2);
    QTest::mouseMove(&thumb, middle);
    EXPECT_EQ(thumb.State(), SkinState::kHover);
    EXPECT_EQ(main().FaceCapture.Get(), thumb.Handle);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&thumb, &leave);
    EXPECT_EQ(thumb.State(), SkinState::kNormal);
    EXPECT_EQ(main().FaceCapture.Get(), 0);

    // Pressed in the middle and moved 20 pixels right: 300 twips of the 750 of the track.
    main().CanGatEcho[1]->SetValue(0);
    QTest::mousePress(&thumb, Qt::LeftButton, Qt::NoModifier, middle);
    QMouseEvent move(QEvent::MouseMove, QPointF(middle + QPoint(20, 0)),
                     thumb.mapToGlobal(QPointF(middle + QPoint(20, 0))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&thumb, &move);
    EXPECT_EQ(main().CanGatEcho[1]->Value(), 4);  // 9 x 300 / 750 = 3.6
    QTest::mouseRelease(&thumb, Qt::LeftButton, Qt::NoModifier, middle + QPoint(20, 0));
    EXPECT_FALSE(main().EchoThumbPressed);
    EXPECT_EQ(main().LblBackLevel[1]->Caption(), "5");
}

}  // namespace
}  // namespace corvane::testing
