// The style panel on the main window: slot selection, the style read of a slot label's change
// with its failures, the resets and sustain marks, the echo voices and the small label events.
#include <QListWidget>
#include <algorithm>
#include <filesystem>

#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_keys.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/program_end.h"
#include "tests/frontend/styles/crafted_style.h"
#include "tests/frontend/styles/panel_fixture.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::styles::testing {
namespace {

namespace fs = std::filesystem;

Fields Header(const char* name) {
    Fields f;
    f.text = std::string("\"") + name + ": 4/4 Crafted\"";
    return f;
}

Fields Part(int channel, int noteBase, int pan, int modeCode, int sustainA = 8) {
    Fields f;
    f.channel = channel;
    f.noteBase = noteBase;
    f.pan = pan;
    f.modeCode = modeCode;
    f.sustainA = sustainA;
    return f;
}

class StylePanelTest : public PanelTest {
  protected:
    void WriteStyle(const std::string& file, const std::string& bytes) {
        corvane::testing::WriteFile(folder() / file, bytes);
    }

    // Writes a slot label as the style manager and the setting files do: the slot shown first,
    // the label emptied, then the style's name.
    void LoadIntoSlot(int slot, const std::string& file) {
        const auto& files = app().g.Styles.StyleFiles;
        const auto row = std::find(files.begin(), files.end(), file) - files.begin();
        ASSERT_LT(row, static_cast<long>(files.size())) << file;
        tables().CurSlot = slot;
        tables().SectStyleIdx[slot] = static_cast<int>(row);
        main().LblStyle[slot]->SetCaption("");
        main().LblStyle[slot]->SetCaption(QString::fromStdString(app().g.Styles.StyleNames[row]));
    }
};

TEST_F(StylePanelTest, SelectingSlotsShowsThemAndNeverReadsOrChangesATable) {
    StartPanel();
    // Slot 3 gets values of its own to show.
    tables().PartProgram(2, 1) = 33;
    tables().PartMode(2, 3) = 2;
    tables().PartSustain(2, 0) = 1;
    tables().PartVol(2, 2) = 90;
    tables().SectVol[2] = 55;
    tables().PartVol(2, 5) = 55;
    const std::vector<int> before = TableValues(tables());
    // A read would now end the program with a fatal message.
    for (const std::string& file : corvane::testing::LibraryStyleFiles())
        fs::remove(folder() / file);

    // Slot 5's list entry differs from its label: the label changes, still nothing is read.
    app().frmSections().LstSectStyles->item(4)->setText(" 4/4 Another Name");
    for (int n : {2, 3, 3, 5, 1, 3}) main().SlotOptions()[n - 1]->click();
    EXPECT_EQ(main().LblStyle[4]->Caption(), " 4/4 Another Name");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_FALSE(platform::qt::ProgramEndCode());
    EXPECT_EQ(TableValues(tables()), before);

    EXPECT_EQ(tables().CurSlot, 2);
    for (int s = 0; s < 5; ++s) EXPECT_EQ(main().LblStyle[s]->isHidden(), s != 2);
    EXPECT_EQ(main().LblVsNen[5]->toolTip(), " Master Accompaniment Volume for style 3 ");
    EXPECT_EQ(main().LblProgNum[1]->Caption(), "33");
    EXPECT_EQ(main().LblInstM[3]->Caption(), "2");
    EXPECT_EQ(main().CanGatVol[2]->Value(), 90);
    EXPECT_EQ(main().CanGatVol[5]->Value(), 55);
    EXPECT_FALSE(main().LineMode[0]->isHidden());
    EXPECT_TRUE(main().LineMode[1]->isHidden());
    const std::uint32_t slot3 = 0xFFFF80;  // RGB 128, 255, 255
    for (auto* label : main().LblGMCode) EXPECT_EQ(label->ForeColor(), slot3);
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(main().LblProgNum[p]->ForeColor(), slot3);
        EXPECT_EQ(main().LblInstM[p]->ForeColor(), slot3);
    }
    EXPECT_FALSE(tables().SkipStyleLoad);

    // The mouse release on a slot option shows the slot's style file as the label's tooltip.
    tables().SlotStyleFiles[3] = "Ab4401.sty";
    Release(main().OptSty4);
    EXPECT_EQ(main().LblStyle[3]->toolTip(), "Ab4401.sty");
}

TEST_F(StylePanelTest, ANewSlotLabelReadsTheStyleAndResetsTheSlot) {
    WriteStyle("Ta4401.sty", StyleOf({Header("Ta"), Part(2, -12, 0, 100, 64), Part(3, -24, 30, 102),
                                      Part(4, 0, 64, 10), Part(9, 3, 50, 22)}));
    WriteStyle("Tb4401.sty", StyleOf({Header("Tb"), Part(5, 7, 90, 3), Part(9, 0, 64, 21)}));
    StartPanel();
    tables().PartProgram(1, 0) = 40;
    tables().PartVol(1, 2) = 99;
    tables().SectVol[1] = 33;

    LoadIntoSlot(1, "Ta4401.sty");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    const int channels[5] = {1, 2, 3, 4, 9};  // the header record is the first track's
    for (int p = 0; p < 5; ++p) EXPECT_EQ(tables().StyChannel(1, p), channels[p]) << p;
    EXPECT_EQ(tables().StyNoteBase(1, 1), -12);
    EXPECT_EQ(tables().StyPan(1, 1), 0);
    EXPECT_EQ(tables().StySustain(1, 1), 1);
    EXPECT_EQ(tables().StyMode(1, 2), 2);
    EXPECT_EQ(tables().StyMode(1, 4), 2);  // slot 2's drums keep the record's mode
    EXPECT_EQ(tables().SlotStyleFiles[1], "Ta4401.sty");
    EXPECT_EQ(main().LblStyle[1]->toolTip(), "Ta4401.sty");
    // The slot's user settings went back to the style's.
    EXPECT_EQ(tables().PartProgram(1, 0), 0);
    EXPECT_EQ(tables().PartVol(1, 2), 0);
    EXPECT_EQ(tables().SectVol[1], 80);
    EXPECT_EQ(tables().PartVol(1, 5), 80);
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(tables().PartMode(1, p), tables().StyMode(1, p));
        EXPECT_EQ(tables().PartSustain(1, p), tables().StySustain(1, p));
        EXPECT_EQ(main().LblInstM[p]->Caption(), QString::number(tables().StyMode(1, p)));
        EXPECT_EQ(main().LblProgNum[p]->Caption(), "0");
        EXPECT_EQ(main().CanGatVol[p]->Value(), 0);
    }
    EXPECT_FALSE(main().LineMode[1]->isHidden());
    EXPECT_TRUE(main().LineMode[2]->isHidden());

    // The same label with another style reads again; the parts it has no record for default.
    LoadIntoSlot(1, "Tb4401.sty");
    EXPECT_EQ(tables().StyChannel(1, 1), 5);
    EXPECT_EQ(tables().StyChannel(1, 2), 1);
    EXPECT_EQ(tables().StyPan(1, 2), 64);
    EXPECT_EQ(tables().StyMode(1, 4), 1);
    EXPECT_EQ(tables().SlotStyleFiles[1], "Tb4401.sty");

    // Slot 1 (style 1) plays its drums in mode 1 whatever the record says.
    LoadIntoSlot(0, "Ta4401.sty");
    EXPECT_EQ(tables().StyMode(0, 4), 1);
}

TEST_F(StylePanelTest, BadStyleFilesGiveTheirMessagesAndKeepTheDefaults) {
    std::string damaged = StyleOf({Header("Tc"), Part(6, -5, 20, 3)});
    damaged += PadTo("Mtrk,7,x,33,104,64,8,33,104,64,8,1,\"bad\"\r\n", 768);
    damaged += StyleOf({Part(8, 0, 64, 1)});
    WriteStyle("Tc4401.sty", damaged);
    WriteStyle("Td4401.sty", StyleOf({Header("Td")}));
    WriteStyle("Te4401.sty", StyleOf({Header("Te")}));
    StartPanel();

    LoadIntoSlot(2, "Tc4401.sty");
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Error getting Style Parameters in Tc4401.sty"});
    EXPECT_EQ(tables().StyChannel(2, 1), 6);
    EXPECT_EQ(tables().StyNoteBase(2, 1), -5);
    EXPECT_EQ(tables().StyChannel(2, 2), 1);  // the damaged record and all after it: defaults
    EXPECT_EQ(tables().StyChannel(2, 4), 9);
    EXPECT_EQ(tables().SlotStyleFiles[2], "Tc4401.sty");
    EXPECT_FALSE(platform::qt::ProgramEndCode());
    EXPECT_TRUE(main().isVisible());

    struct Fatal {
        const char* file;
        const char* bytes;  // nullptr: the file vanished
        const char* text;
    };
    const Fatal fatals[] = {
        {"Td4401.sty", nullptr, "Fatal Error: The file <Td4401.sty> not found. Cannot continue."},
        {"Te4401.sty", "Mtrk,",
         "Fatal error: The StyFileName <Te4401.sty> is invalid. Cannot continue."},
    };
    for (const Fatal& f : fatals) {
        SCOPED_TRACE(f.file);
        recorder.clear();
        platform::qt::ClearProgramEndForTests();
        main().show();
        if (f.bytes) {
            WriteStyle(f.file, f.bytes);
        } else {
            fs::remove(folder() / f.file);
        }
        tables().PartProgram(3, 0) = 12;
        LoadIntoSlot(3, f.file);
        EXPECT_EQ(recorder.lines(), QStringList{QString("critical|Orvella|") + f.text});
        EXPECT_EQ(platform::qt::ProgramEndCode(), 1);
        EXPECT_FALSE(main().isVisible());
        for (int p = 0; p < 5; ++p) EXPECT_EQ(tables().StyChannel(3, p), p == 4 ? 9 : 1);
        EXPECT_EQ(tables().PartProgram(3, 0), 12);  // nothing past the defaults
        // The program is ending: a later label write reads nothing and shows nothing.
        LoadIntoSlot(4, "Tc4401.sty");
        EXPECT_EQ(recorder.lines().size(), 1);
    }
}

TEST_F(StylePanelTest, ResetButtonsAndSustainMarks) {
    StartPanel();
    const int s = 1;
    main().OptSty2->click();
    for (int p = 0; p < 5; ++p) {
        tables().StyMode(s, p) = static_cast<std::int16_t>(p % 4);
        tables().StySustain(s, p) = p == 2 ? 1 : 0;
        tables().PartProgram(s, p) = 20;
        tables().PartMode(s, p) = 3;
        tables().PartSustain(s, p) = 0;
        main().CanGatVol[p]->SetValue(70);
    }
    main().CanGatVol[5]->SetValue(40);
    ASSERT_EQ(tables().SectVol[s], 40);
    main().OptSty2->click();

    main().CmdResetI->click();
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(tables().PartProgram(s, p), 0);
        EXPECT_EQ(main().LblProgNum[p]->Caption(), "0");
        EXPECT_EQ(tables().PartVol(s, p), 70);  // untouched by the program reset
        EXPECT_EQ(tables().PartMode(s, p), 3);
    }

    main().CmdResetM->click();
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(tables().PartMode(s, p), p % 4);
        EXPECT_EQ(main().LblInstM[p]->Caption(), QString::number(p % 4));
        EXPECT_EQ(main().LineMode[p]->isHidden(), p != 2);
    }

    main().CmdResetV->click();
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(tables().PartVol(s, p), 0);
        EXPECT_EQ(main().CanGatVol[p]->Value(), 0);
    }
    EXPECT_EQ(tables().PartVol(s, 5), 80);
    EXPECT_EQ(tables().SectVol[s], 80);
    EXPECT_EQ(main().CanGatVol[5]->Value(), 80);
    // Slot 1 was not shown and keeps its volumes.
    EXPECT_EQ(tables().PartVol(0, 5), 80);

    // Only a sustain of exactly 1 shows the mark.
    tables().PartSustain(s, 0) = 2;
    tables().PartSustain(s, 1) = 1;
    panel().DisplaySusSetting(s);
    EXPECT_TRUE(main().LineMode[0]->isHidden());
    EXPECT_FALSE(main().LineMode[1]->isHidden());
}

TEST_F(StylePanelTest, ASustainMarkIsAShortBrightLineBesideTheModeDigitInTheSlotsColour) {
    StartPanel();
    main().OptSty3->click();
    tables().PartSustain(2, 1) = 1;
    panel().DisplaySusSetting(2);
    const QWidget& mark = *main().LineMode[1];
    ASSERT_TRUE(mark.isVisible());
    const CaptionLabel& digit = *main().LblInstM[1];
    const int digitRight =
        digit.x() + QFontMetrics(digit.font()).horizontalAdvance(digit.Caption());
    EXPECT_GT(mark.x(), digitRight);
    EXPECT_LE(mark.x(), digitRight + 10);
    EXPECT_GE(mark.width(), 8);
    EXPECT_LE(mark.width(), 16);
    EXPECT_GE(mark.height(), 2);
    const int middle = mark.y() + mark.height() / 2;
    EXPECT_GT(middle, digit.y());
    EXPECT_LT(middle, digit.y() + digit.height());

    // What the window shows there: the slot's colour, bright on the dark panel, and the next
    // slot's colour once that slot is shown.
    const auto shown = [&] {
        return main()
            .grab(mark.geometry())
            .toImage()
            .pixelColor(mark.width() / 2, mark.height() / 2);
    };
    EXPECT_EQ(shown(), platform::qt::ColourOf(kSlotColours[2]));
    EXPECT_GE(shown().lightness(), 160);
    tables().PartSustain(0, 1) = 1;
    main().OptSty1->click();
    ASSERT_TRUE(mark.isVisible());
    EXPECT_EQ(shown(), platform::qt::ColourOf(kSlotColours[0]));
}

TEST_F(StylePanelTest, EchoVoiceListOpensAtTheVoiceAndWritesTheChoice) {
    StartPanel();
    struct Case {
        const char* caption;
        int row;
    };
    const Case cases[] = {{"050", 49}, {"abc", 0},  {"000", 52},
                          {"129", 52}, {"200", 52}, {"128", 127}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        main().LblEcho[1]->SetCaption(c.caption);
        Click(main().LblEcho[1]);
        EXPECT_EQ(main().LstEcho->currentRow(), c.row);
        EXPECT_FALSE(main().LstEcho->isHidden());
        EXPECT_EQ(main().LstEcho->property("Tag").toString(), "2");
        EXPECT_EQ(main().LstEcho->toolTip(), "Select Echo 2 Voice");
    }

    // Enter takes the row for the echo the list was opened for; the list stays open.
    main().LstEcho->setCurrentRow(52);
    Key(main().LstEcho, Qt::Key_Return);
    EXPECT_EQ(main().LblEcho[1]->Caption(), "053");
    EXPECT_FALSE(main().LstEcho->isHidden());
    EXPECT_EQ(main().LblEcho[1]->toolTip(), " Echo2 053: Choir Aahs ");

    // The caption of the echo row opens the list as the voice label does; a double click takes.
    Click(main().LblVoice[0]);
    EXPECT_EQ(main().LstEcho->property("Tag").toString(), "1");
    main().LstEcho->setCurrentRow(0);
    panel().LstEcho_DblClick();
    EXPECT_EQ(main().LblEcho[0]->Caption(), "001");
    main().LblEcho[0]->SetCaption("050");
    EXPECT_EQ(main().LblEcho[0]->toolTip(), " Echo1 050: Strings Ensemble 2 ");

    // Other keys take nothing; Escape closes the pop-up.
    main().LstEcho->setCurrentRow(5);
    Key(main().LstEcho, Qt::Key_A);
    EXPECT_EQ(main().LblEcho[0]->Caption(), "050");
    Key(main().LstEcho, Qt::Key_Escape);
    EXPECT_TRUE(main().LstEcho->isHidden());

    main().LblBackLevel[1]->SetCaption("3");
    EXPECT_EQ(main().LblBackLevel[1]->toolTip(), " Echo2 Level = 3 ");
}

TEST_F(StylePanelTest, CurrentBarFollowsTheChordListAndPaintsTheChordColour) {
    StartPanel();
    const auto picture = [this] { return main().Picture1->BackColor(); };
    const auto icon = [this] { return main().PictIcon->styleSheet(); };
    const auto sheet = [](Colour c) {
        return "background-color: " + platform::qt::ColourOf(c).name();
    };
    main().SetBackColour(main().Picture1, 0x123456);
    main().SetBackColour(main().PictIcon, 0x123456);

    app().g.ChordMsCount = 5;
    main().LblHa->SetCaption("7");  // past the chord list: nothing painted
    EXPECT_EQ(picture(), 0x123456u);
    EXPECT_EQ(icon(), sheet(0x123456));

    // An empty chord list gives root index 0, the colour of Ab.
    main().LblHa->SetCaption("3");
    main().SetBackColour(main().Picture1, 0x123456);
    main().LblHa->SetCaption("4");
    EXPECT_EQ(picture(), main().ChordColours[0]);
    EXPECT_EQ(icon(), sheet(main().ChordColours[0]));

    main().LblHa->SetCaption("End");
    EXPECT_EQ(picture(), main().DemoDefaultColour);
    EXPECT_EQ(icon(), sheet(main().DemoDefaultColour));
}

TEST_F(StylePanelTest, SmallLabelEvents) {
    StartPanel();
    Press(main().LblHsNen);
    EXPECT_EQ(main().LblInName->Caption(), "Left = " + QString::number(main().LblInName->x() * 15));

    main().LblMusicType->SetCaption("  A  Minor, Tempo=120");
    EXPECT_EQ(app().frmChord().LblKey->Caption(), "A  Minor");

    Click(main().LblMusicType);
    EXPECT_TRUE(app().frmKeys().isVisible());
    app().frmKeys().hide();

    // The bar list keeps the selected bar away from its bottom.
    QListWidget& bars = *main().LstHa;
    for (int i = 0; i < 60; ++i) bars.addItem(QString("%1").arg(i + 1, 3, 10, QChar('0')));
    bars.scrollToItem(bars.item(10), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(bars.indexAt(QPoint(0, 0)).row(), 10);
    bars.setCurrentRow(13);
    EXPECT_EQ(bars.indexAt(QPoint(0, 0)).row(), 10);
    bars.setCurrentRow(14);
    EXPECT_EQ(bars.indexAt(QPoint(0, 0)).row(), 11);
}

}  // namespace
}  // namespace corvane::styles::testing
