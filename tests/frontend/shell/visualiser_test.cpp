// The visualiser on the started main window: the sixteen drawing modes on a known background,
// the demo switch, the icon's colour cycle, the ripple steps near the song's end, the wipe that
// lets events run (a Play click or an exit meanwhile), and the chord roots read from the chord
// list.
#include "frontend/shell/ui/visualiser.h"

#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>

#include "frontend/editors/ui/frm_chord.h"
#include "platform/qt/random_source.h"
#include "tests/frontend/support/gui_harness.h"

namespace corvane::testing {
namespace {

using shell::VisualiserBox;

// The pixel a drawing mode gives for pen p over d, one colour channel at a time.
std::uint32_t Raster(int mode, std::uint32_t p, std::uint32_t d) {
    const std::function<std::uint32_t(std::uint32_t, std::uint32_t)> ops[16] = {
        [](auto, auto) { return 0u; },         [](auto p, auto d) { return ~(p | d); },
        [](auto p, auto d) { return ~p & d; }, [](auto p, auto) { return ~p; },
        [](auto p, auto d) { return p & ~d; }, [](auto, auto d) { return ~d; },
        [](auto p, auto d) { return p ^ d; },  [](auto p, auto d) { return ~(p & d); },
        [](auto p, auto d) { return p & d; },  [](auto p, auto d) { return ~(p ^ d); },
        [](auto, auto d) { return d; },        [](auto p, auto d) { return ~p | d; },
        [](auto p, auto) { return p; },        [](auto p, auto d) { return p | ~d; },
        [](auto p, auto d) { return p | d; },  [](auto, auto) { return 0xFFFFFFu; },
    };
    return ops[mode - 1](p, d) & 0xFFFFFF;
}

class VisualiserTest : public CorvaneTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
        platform::qt::SetRandomSource([this] { return NextRandom(); });
    }
    void TearDown() override { platform::qt::SetRandomSource({}); }

    float NextRandom() {
        randomValue = randomValue + 0.37f;
        if (randomValue >= 1) randomValue -= 1;
        return randomValue;
    }

    shell::Visualiser& visualiser() { return main().visualiser(); }
    VisualiserBox& box() { return *main().Picture1; }
    // The colour of a pixel of the drawings, as 0x00BBGGRR.
    std::uint32_t PixelAt(int x, int y) {
        const QRgb rgb = box().Image().pixel(x, y);
        return static_cast<std::uint32_t>(qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16);
    }
    std::uint32_t Centre() { return PixelAt(74, 22); }
    bool Plain() {
        const QImage& image = box().Image();
        const QRgb back = platform::qt::ColourOf(box().BackColor()).rgb();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != back) return false;
            }
        }
        return true;
    }
    void OpenOutput(int bars) {
        main().CanGatOut[0]->SetMax(bars);
        main().CanGatOut[0]->SetEnabled(true);
    }

    float randomValue = 0;
};

TEST_F(VisualiserTest, EachDrawingModeGivesItsRasterFormulasPixel) {
    const std::uint32_t pen = 0x3C9A5F;
    const std::uint32_t back = 0xC5336A;
    const shell::RippleGeometry& ripple = main().Ripple;
    for (int mode = 1; mode <= 16; ++mode) {
        SCOPED_TRACE(mode);
        box().SetBackColor(back);
        box().ForeColor = pen;
        box().FillColor = pen;
        box().FillStyle = 0;
        box().DrawMode = mode;
        box().Circle(ripple.RippleCentreX, ripple.RippleCentreY, 200);
        EXPECT_EQ(Centre(), Raster(mode, pen, back));
        EXPECT_EQ(PixelAt(2, 2), back);  // outside the circle
    }
}

TEST_F(VisualiserTest, ClickingTheBoxSwitchesTheDemoAndSwitchingItOffWipesTheDrawings) {
    EXPECT_TRUE(app().g.ColorDemoOff);
    EXPECT_EQ(box().toolTip(), "Click to Start the Color Demo");
    QTest::mouseClick(&box(), Qt::RightButton);
    EXPECT_FALSE(app().g.ColorDemoOff);
    EXPECT_EQ(box().toolTip(), "Click to Stop the Color Demo");
    OpenOutput(20);
    main().CanGatOut[0]->SetValue(3);
    for (int i = 0; i < 3; ++i) visualiser().DemoStep();
    EXPECT_FALSE(Plain());
    QTest::mouseClick(&box(), Qt::LeftButton);
    EXPECT_TRUE(app().g.ColorDemoOff);
    EXPECT_EQ(box().toolTip(), "Click to Start the Color Demo");
    EXPECT_TRUE(Plain());
}

TEST_F(VisualiserTest, StopWipesTheDrawingsAndLeavesTheDemoOn) {
    app().g.ColorDemoOff = false;
    OpenOutput(20);
    main().CanGatOut[0]->SetValue(0);
    box().FillStyle = 0;
    for (int i = 0; i < 3; ++i) visualiser().DemoStep();
    ASSERT_FALSE(Plain());
    const Colour back = box().BackColor();
    shell::SkinFace& stop = *main().PictStop;
    QTest::mouseMove(&stop, stop.rect().center());
    QTest::mouseClick(&stop, Qt::LeftButton, Qt::NoModifier, stop.rect().center());
    EXPECT_EQ(main().LblInName->Caption(), "Stoped");
    EXPECT_TRUE(Plain());
    EXPECT_EQ(box().BackColor(), back);
    EXPECT_FALSE(app().g.ColorDemoOff);
}

TEST_F(VisualiserTest, APlayWithoutTheDeviceRestartsTheRippleInTheDesignColour) {
    app().g.ColorDemoOff = false;
    box().ForeColor = 0x123456;
    main().Ripple.RippleRadius = 300;
    ASSERT_EQ(main().MMControl1->DeviceID(), 0);
    main().PlayMCI1(0);
    EXPECT_EQ(box().ForeColor, main().DemoDefaultColour);
    EXPECT_EQ(main().Ripple.RippleRadius, 20);
    EXPECT_EQ(recorder.lines(), QStringList{"critical|Orvella|The MIDI device is not opened.\\n"
                                            "Please click <3.Make Output> to try again."});
    EXPECT_FALSE(app().g.Playing);
}

TEST_F(VisualiserTest, IconClicksCycleTheBackColoursAndTheWalksSpeed) {
    const Colour design = main().DemoDefaultColour;
    main().DemoColourStep = 20;
    const int steps[] = {25, 30, 25, 30, 35};
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                       Qt::LeftButton, Qt::LeftButton};
    for (int click = 0; click < 5; ++click) {
        SCOPED_TRACE(click);
        // The demo is off: the colours change at once, without rings.
        QTest::mouseClick(main().PictIcon, buttons[click]);
        EXPECT_EQ(main().DemoColourStep, steps[click]);
        const int index = (click + 1) % 5;
        EXPECT_EQ(visualiser().DemoColourIndex, index);
        EXPECT_EQ(box().BackColor(), main().DemoBackColours[index]);
        EXPECT_TRUE(Plain());
    }
    // The fifth click is back at the design colour on both boxes.
    EXPECT_EQ(box().BackColor(), design);
    EXPECT_EQ(main().PictIcon->styleSheet(),
              "background-color: " + platform::qt::ColourOf(design).name());
}

TEST_F(VisualiserTest, TheDemoDrawsUpToTheLastTwoBarsAndThenKeepsThePicture) {
    app().g.ColorDemoOff = false;
    OpenOutput(20);
    main().DemoColourStep = 40;
    main().CanGatOut[0]->SetValue(18);  // the bar label's change steps the drawing mode
    box().DrawMode = 13;
    box().FillStyle = 0;
    const float radius = main().Ripple.RippleRadius;
    visualiser().DemoStep();
    EXPECT_FALSE(visualiser().DemoAtEnd);
    EXPECT_FALSE(Plain());
    EXPECT_GT(main().Ripple.RippleRadius, radius);
    EXPECT_EQ(box().ForeColor, box().FillColor);
    EXPECT_EQ(Centre(), box().ForeColor);

    const QImage picture = box().Image();
    for (int bar : {19, 20}) {
        main().CanGatOut[0]->SetValue(bar);
        visualiser().DemoStep();
        EXPECT_TRUE(visualiser().DemoAtEnd);
        visualiser().ClearWave1();
        EXPECT_EQ(box().Image(), picture);
    }
}

TEST_F(VisualiserTest, ThirtyStepsOfTheDemoLeaveRingsOfWanderingColours) {
    app().g.ColorDemoOff = false;
    OpenOutput(40);
    main().DemoColourStep = 33;
    main().CanGatOut[0]->SetValue(4);
    box().DrawMode = 13;
    box().FillStyle = 1;
    box().ForeColor = main().ChordColours[13];
    for (int step = 0; step < 30; ++step) visualiser().DemoStep();
    std::set<QRgb> colours;
    const QImage& image = box().Image();
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, 22));
    // Rings cross the middle line in many colours on both sides of the centre.
    EXPECT_GE(colours.size(), 10u);
}

TEST_F(VisualiserTest, TheRippleGrowsToItsLimitThenTheBoxIsClearedAndItStartsAgain) {
    app().g.ColorDemoOff = false;
    OpenOutput(200);
    main().CanGatOut[0]->SetValue(1);
    shell::RippleGeometry& ripple = main().Ripple;
    ripple.RippleRadius = ripple.RippleMaxRadius - 1;
    visualiser().DemoStep();
    EXPECT_GE(ripple.RippleRadius, ripple.RippleMaxRadius);
    visualiser().DemoStep();
    EXPECT_EQ(ripple.RippleRadius, 20);
    // Only the new small circle is left.
    EXPECT_EQ(PixelAt(2, 2), box().BackColor());
}

TEST_F(VisualiserTest, TheWipeLetsEventsRunButRefusesPlayAndASecondWipe) {
    app().g.ColorDemoOff = false;
    main().CanGatOut[0]->SetEnabled(false);  // Play would tell that no output is open
    int ringsSeen = 0;
    bool clickedDuring = false;
    std::function<void()> during = [&] {
        ++ringsSeen;
        if (ringsSeen == 3) {
            EXPECT_TRUE(app().g.BusyFlags.RippleBusy);
            QTest::mouseClick(main().PictPlay, Qt::LeftButton, Qt::NoModifier, QPoint(27, 27));
            visualiser().ClearWave2(0x0000FF);  // refused: one wipe at a time
            clickedDuring = true;
        }
        if (app().g.BusyFlags.RippleBusy) QTimer::singleShot(0, &main(), during);
    };
    QTimer::singleShot(0, &main(), during);
    box().DrawMode = 7;
    box().ForeColor = 0x123456;
    visualiser().ClearWave2(0xFFFFFF);
    EXPECT_TRUE(clickedDuring);
    EXPECT_GT(ringsSeen, 100);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_FALSE(app().g.BusyFlags.RippleBusy);
    EXPECT_TRUE(Plain());  // the back colour's rings wiped the white ones
    EXPECT_EQ(box().DrawMode, 7);
    EXPECT_EQ(box().ForeColor, 0x123456u);
    EXPECT_EQ(box().FillStyle, 1);
    EXPECT_EQ(main().Ripple.RippleRadius, 20);

    // Afterwards the same click reaches Play.
    QTest::mouseClick(main().PictPlay, Qt::LeftButton, Qt::NoModifier, QPoint(27, 27));
    EXPECT_EQ(recorder.lines().size(), 1);
}

TEST_F(VisualiserTest, ExitDuringTheWipeEndsItAtOnce) {
    app().g.ColorDemoOff = false;
    int ringsSeen = 0;
    std::function<void()> during = [&] {
        if (++ringsSeen == 3) main().PictExit_MouseUp();
        if (app().g.BusyFlags.RippleBusy) QTimer::singleShot(0, &main(), during);
    };
    QTimer::singleShot(0, &main(), during);
    visualiser().ClearWave2(0xFFFFFF);
    EXPECT_TRUE(app().g.ProgramClosing);
    EXPECT_LE(ringsSeen, 4);
    EXPECT_FALSE(app().g.BusyFlags.RippleBusy);
}

TEST_F(VisualiserTest, EachBarStepsTheDrawingModeAndGivesTheDemoItsChordColour) {
    app().g.ColorDemoOff = false;
    app().g.ChordMsCount = 5;
    box().DrawMode = 16;
    randomValue = 0.63f;  // the next value, 0.0, picks a solid fill
    box().FillStyle = 1;
    main().Ripple.RippleRadius = 400;
    main().LblHa->SetCaption("2");  // an empty chord list: the colour of Ab
    EXPECT_EQ(box().DrawMode, 1);
    EXPECT_EQ(box().ForeColor, main().ChordColours[0]);
    EXPECT_EQ(main().Ripple.RippleRadius, 20);
    EXPECT_EQ(box().FillStyle, 0);
    EXPECT_EQ(box().BackColor(), main().DemoDefaultColour);  // the demo paints no background

    // While the position thumb is held the bar label changes nothing else.
    main().PosThumbPressed = true;
    main().LblHa->SetCaption("3");
    EXPECT_EQ(box().DrawMode, 1);
    main().PosThumbPressed = false;
    // A bar past the chord list only steps the drawing mode.
    box().ForeColor = 0x123456;
    main().LblHa->SetCaption("7");
    EXPECT_EQ(box().DrawMode, 2);
    EXPECT_EQ(box().ForeColor, 0x123456u);
}

TEST_F(VisualiserTest, ChordRootsOfTheCurrentRowAndThePaintedColour) {
    editors::FrmChord& chord = app().frmChord();
    // An empty chord list counts as the colour of Ab.
    EXPECT_EQ(visualiser().ChordRootIndex(0), 0);
    chord.LstTemp->addItem("001");
    QTableWidget& grid = *chord.MSFlexGrid1;
    grid.setRowCount(std::max(grid.rowCount(), 2));
    grid.setColumnCount(std::max(grid.columnCount(), 4));
    grid.setCurrentCell(1, 0);
    struct Case {
        const char* first;
        const char* second;
        int rootFirst, rootSecond;
    } const cases[] = {
        {"Ab", "A", 0, 1},   {"Bbm", "B7", 2, 3}, {"Cb", "C", 4, 5},
        {"Db", "D#m", 6, 7}, {"Eb", "E", 8, 9},   {"Fb", "F#", 10, 11},
        {"Gb", "G", 12, 13}, {"c", "H", -1, -1},  {"", "", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        grid.setItem(1, 2, new QTableWidgetItem(c.first));
        grid.setItem(1, 3, new QTableWidgetItem(c.second));
        EXPECT_EQ(visualiser().ChordRootIndex(0), c.rootFirst);
        EXPECT_EQ(visualiser().ChordRootIndex(1), c.rootSecond);
    }
    app().g.ChordListBusy = true;
    EXPECT_EQ(visualiser().ChordRootIndex(1), 0);
    app().g.ChordListBusy = false;

    // The second chord's colour: painted with the demo off, the ripple's with it on; a colour
    // equal to the fore colour changes nothing.
    main().LblHa->SetCaption("1");
    grid.setItem(1, 3, new QTableWidgetItem("Bb7"));
    visualiser().ShowChordColour();
    EXPECT_EQ(box().BackColor(), 0xB0E0u);
    box().ForeColor = main().ChordColours[11];
    grid.setItem(1, 3, new QTableWidgetItem("F"));
    visualiser().ShowChordColour();
    EXPECT_EQ(box().BackColor(), 0xB0E0u);
    app().g.ColorDemoOff = false;
    main().Ripple.RippleRadius = 300;
    grid.setItem(1, 3, new QTableWidgetItem("G"));
    visualiser().ShowChordColour();
    EXPECT_EQ(box().ForeColor, 0xF000F0u);
    EXPECT_EQ(main().Ripple.RippleRadius, 20);
    main().LblHa->SetCaption("End");
    visualiser().ShowChordColour();
    EXPECT_EQ(box().ForeColor, main().DemoDefaultColour);
}

}  // namespace
}  // namespace corvane::testing
