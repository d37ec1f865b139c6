// The play-mode dialog, the chord and make option dialogs and the instrument list: what they
// open with, what Ok writes, and that Escape, Cancel and a click on the main window change
// nothing.
#include <QComboBox>
#include <QListWidget>

#include "frontend/styles/ui/frm_inst_list.h"
#include "frontend/styles/ui/frm_opt1.h"
#include "frontend/styles/ui/frm_opt2.h"
#include "frontend/styles/ui/frm_opt3.h"
#include "tests/frontend/styles/panel_fixture.h"

namespace corvane::styles::testing {
namespace {

class DialogsTest : public PanelTest {
  protected:
    void SetUp() override { StartPanel(); }

    // The user clicks the main window (its status line) while a dialog is open.
    void ClickMainWindow() { Click(main().LblInName); }

    void Settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
};

TEST_F(DialogsTest, TheDrumPartsModeTogglesWithoutADialog) {
    const int s = tables().CurSlot;
    ASSERT_EQ(tables().StyChannel(s, 4), 9);
    struct Step {
        int before;
        int after;
    };
    for (const Step step : {Step{0, 1}, Step{1, 0}, Step{2, 0}, Step{3, 0}}) {
        tables().PartMode(s, 4) = static_cast<std::int16_t>(step.before);
        Release(main().LblInstM[4]);
        EXPECT_EQ(tables().PartMode(s, 4), step.after);
        EXPECT_EQ(main().LblInstM[4]->Caption(), QString::number(step.after));
    }
    EXPECT_FALSE(app().frmOpt3().isVisible());
}

TEST_F(DialogsTest, PlayModeDialogOpensFromItsTagAndOkWritesModeAndSustain) {
    const int s = tables().CurSlot;
    FrmOpt3& dialog = app().frmOpt3();
    tables().StyChannel(s, 1) = 2;
    tables().PartMode(s, 1) = 2;
    tables().PartSustain(s, 1) = 0;
    panel().DisplaySusSetting(s);
    dialog.ChkSustained->setChecked(true);  // left ticked from an earlier use
    Release(main().LblInstM[1]);
    Settle();
    EXPECT_EQ(dialog.Tag, "2,1,0");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.OptMode2->isChecked());
    EXPECT_FALSE(dialog.ChkSustained->isChecked());
    EXPECT_FALSE(dialog.ChkSustained->isEnabled());
    EXPECT_EQ(dialog.DialogPart, 1);

    // Mode 1 with the sustain box still ticked stores no sustain.
    dialog.OptMode0->click();
    EXPECT_TRUE(dialog.ChkSustained->isEnabled());
    dialog.ChkSustained->setChecked(true);
    dialog.OptMode1->click();
    dialog.CmdOk->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(tables().PartMode(s, 1), 1);
    EXPECT_EQ(tables().PartSustain(s, 1), 0);
    EXPECT_EQ(main().LblInstM[1]->Caption(), "1");

    // Mode 0 with sustain: the part's mark shows, and the composer's code is 10.
    Release(main().LblInstM[1]);
    Settle();
    EXPECT_EQ(dialog.Tag, "1,1,0");
    dialog.OptMode0->click();
    dialog.ChkSustained->setChecked(true);
    Key(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(tables().PartMode(s, 1), 0);
    EXPECT_EQ(tables().PartSustain(s, 1), 1);
    EXPECT_FALSE(main().LineMode[1]->isHidden());
    EXPECT_EQ(tables().PartModeCode(s, 1), 10);

    Release(main().LblInstM[1]);
    Settle();
    EXPECT_EQ(dialog.Tag, "0,1,1");
    EXPECT_TRUE(dialog.ChkSustained->isChecked());
    dialog.CmdCancel->click();
}

TEST_F(DialogsTest, EscapeCancelAndAClickOnTheMainWindowLeaveTheModeAlone) {
    const int s = tables().CurSlot;
    FrmOpt3& dialog = app().frmOpt3();
    tables().StyChannel(s, 2) = 3;
    tables().PartMode(s, 2) = 3;
    const std::vector<int> before = TableValues(tables());
    const std::function<void()> closers[] = {
        [&] { Key(&dialog, Qt::Key_Escape); },
        [&] { dialog.CmdCancel->click(); },
        [&] { ClickMainWindow(); },
        [&] { dialog.close(); },
        [&] {
            main().activateWindow();
            Settle();
        },
    };
    for (const auto& close : closers) {
        Release(main().LblInstM[2]);
        Settle();
        ASSERT_TRUE(dialog.isVisible());
        dialog.OptMode0->click();
        dialog.ChkSustained->setChecked(true);
        close();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(TableValues(tables()), before);
        EXPECT_EQ(main().LblInstM[2]->Caption(), "3");
    }
}

TEST_F(DialogsTest, ChordOptionDialog) {
    FrmOpt1& dialog = app().frmOpt1();
    dialog.Tag = "";
    dialog.show();
    dialog.CmdOk->click();  // no option set: Complex
    EXPECT_EQ(app().g.ChordOptMode, 2);
    EXPECT_EQ(main().LblMode->Caption(), "Complex");

    dialog.Tag = "0";
    dialog.show();
    EXPECT_TRUE(dialog.OptSimple->isChecked());
    dialog.OptMixing->click();
    Key(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app().g.ChordOptMode, 1);
    EXPECT_EQ(main().LblMode->Caption(), "Mixing");

    dialog.Tag = "1";
    dialog.show();
    Settle();
    dialog.OptSimple->click();
    ClickMainWindow();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(app().g.ChordOptMode, 1);
    EXPECT_EQ(main().LblMode->Caption(), "Mixing");
}

TEST_F(DialogsTest, MakeOptionDialogAndTheSectionLength) {
    FrmOpt2& dialog = app().frmOpt2();
    EXPECT_EQ(main().LblMix->Caption(), "Complex");
    struct Case {
        int stored;
        int row;
    };
    for (const Case c : {Case{12, 0}, Case{-3, 0}, Case{-1, -1}, Case{10, 10}, Case{4, 4}}) {
        SCOPED_TRACE(c.stored);
        app().g.SectLenIdx = c.stored;
        dialog.Tag = "3";
        dialog.show();
        EXPECT_EQ(dialog.CmbSectLen->currentIndex(), c.row);
        dialog.CmdOk->click();
        EXPECT_EQ(app().g.SectLenIdx, c.row);  // a list without a selection keeps -1
        EXPECT_EQ(app().g.MakeOptMode, 3);
    }
    EXPECT_EQ(dialog.CmbSectLen->itemText(5), "040 measures");
    EXPECT_EQ(dialog.CmbSectLen->itemText(10), "080 measures");

    dialog.Tag = "4";
    dialog.show();
    EXPECT_TRUE(dialog.OptMixing2->isChecked());
    dialog.CmbSectLen->setCurrentIndex(5);
    dialog.CmdOk->click();
    EXPECT_EQ(app().g.MakeOptMode, 4);
    EXPECT_EQ(main().LblMix->Caption(), "Mixing");
    EXPECT_EQ(app().g.SectLenIdx, 5);

    // A click on the main window or Escape keeps all three options.
    app().g.ChordOptMode = 0;
    for (bool escape : {false, true}) {
        dialog.Tag = "4";
        dialog.show();
        Settle();
        dialog.OptSimple2->click();
        dialog.CmbSectLen->setCurrentIndex(2);
        escape ? Key(&dialog, Qt::Key_Escape) : ClickMainWindow();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(app().g.MakeOptMode, 4);
        EXPECT_EQ(app().g.SectLenIdx, 5);
        EXPECT_EQ(app().g.ChordOptMode, 0);
        EXPECT_EQ(main().LblMix->Caption(), "Mixing");
    }
}

TEST_F(DialogsTest, InstrumentListForTheDrumPartAppliesOkExactlyOnce) {
    const int s = tables().CurSlot;
    FrmInstList& list = app().frmInstList();
    tables().PartProgram(s, 4) = 26;
    main().LblProgNum[4]->SetCaption("26");
    Release(main().LblProgNum[4]);
    Settle();
    EXPECT_EQ(app().g.InstListPart, 5);
    EXPECT_EQ(app().g.InstListChannel, 9);
    EXPECT_EQ(app().g.ListIndexArg, 26);
    ASSERT_TRUE(list.isVisible());
    EXPECT_EQ(list.windowTitle(), "Drum Kit Programs:");
    EXPECT_TRUE(list.DrumKitsListed);
    EXPECT_EQ(list.LstInst->count(), 129);
    EXPECT_EQ(list.LstInst->currentRow(), 26);
    EXPECT_EQ(list.LstInst->currentItem()->text(), "026: Analog Kit");
    EXPECT_EQ(list.Image2->pixmap().toImage(), list.Image1[1]->pixmap().toImage());

    list.LstInst->setCurrentRow(25);
    list.CmdOk->click();
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(tables().PartProgram(s, 4), 25);
    EXPECT_EQ(main().LblProgNum[4]->Caption(), "25");
    EXPECT_EQ(main().LblProgNum[4]->toolTip(), " Drum 025: Electronic Kit ");
    EXPECT_EQ(app().g.InstListSel, "25");
    EXPECT_EQ(app().g.InstListPart, 0);

    // The main window's next activation finds no request: the choice is not applied again.
    tables().PartProgram(s, 4) = 7;
    main().Form_Activate();
    Settle();
    EXPECT_EQ(tables().PartProgram(s, 4), 7);

    // The row of the Analog Kit, by Enter on the list.
    main().LblProgNum[4]->SetCaption("7");
    Release(main().LblProgNum[4]);
    list.LstInst->setCurrentRow(26);
    Key(list.LstInst, Qt::Key_Return);
    EXPECT_EQ(tables().PartProgram(s, 4), 26);
    EXPECT_EQ(main().LblProgNum[4]->toolTip(), " Drum 026: Analog Kit ");
}

TEST_F(DialogsTest, InstrumentListCancelRestoresAndTheListRefillsByKind) {
    const int s = tables().CurSlot;
    FrmInstList& list = app().frmInstList();
    tables().StyChannel(s, 1) = 2;
    tables().PartProgram(s, 1) = 33;
    main().LblProgNum[1]->SetCaption("33");
    const std::function<void()> cancels[] = {
        [&] { ClickMainWindow(); },
        [&] { list.CmdCancel->click(); },
        [&] { Key(list.LstInst, Qt::Key_Escape); },
        [&] { list.close(); },
    };
    for (const auto& cancel : cancels) {
        Release(main().LblProgNum[1]);
        Settle();
        ASSERT_TRUE(list.isVisible());
        EXPECT_EQ(list.windowTitle(), "Instrument List:");
        EXPECT_EQ(list.LstInst->currentItem()->text(), "033: Bass Acoustic");
        list.LstInst->setCurrentRow(40);
        cancel();
        EXPECT_FALSE(list.isVisible());
        EXPECT_EQ(app().g.InstListPart, 0);
        EXPECT_EQ(app().g.InstListSel, "33");
        main().Form_Activate();
        EXPECT_EQ(tables().PartProgram(s, 1), 33);
        EXPECT_EQ(main().LblProgNum[1]->Caption(), "33");
    }

    // Melodic, drums, melodic: the list is refilled each time the kind changes.
    const char* firstRows[] = {"Use default instrument", "Use Default Program",
                               "Use default instrument"};
    const int parts[] = {1, 4, 1};
    for (int i = 0; i < 3; ++i) {
        Release(main().LblProgNum[parts[i]]);
        EXPECT_EQ(list.LstInst->item(0)->text(), firstRows[i]);
        EXPECT_EQ(list.LstInst->count(), 129);
        list.CmdCancel->click();
    }

    // Row 0 is the style's own instrument: program 0, no tooltip.
    Release(main().LblProgNum[1]);
    list.LstInst->setCurrentRow(0);
    emit list.LstInst->itemDoubleClicked(list.LstInst->item(0));
    EXPECT_EQ(tables().PartProgram(s, 1), 0);
    EXPECT_EQ(main().LblProgNum[1]->Caption(), "0");
    EXPECT_TRUE(main().LblProgNum[1]->toolTip().isEmpty());
}

TEST_F(DialogsTest, WhatMakeReadsFollowsTheUsersChoices) {
    // Program from the list, volume from the slider, mode from the dialog: the values the Make
    // step writes for the part.
    const int s = 2;
    main().OptSty3->click();
    tables().StyChannel(s, 3) = 4;
    Release(main().LblProgNum[3]);
    app().frmInstList().LstInst->setCurrentRow(57);
    app().frmInstList().CmdOk->click();
    main().CanGatVol[3]->SetValue(101);
    main().CanGatVol[5]->SetValue(66);
    Release(main().LblInstM[3]);
    app().frmOpt3().OptMode2->click();
    app().frmOpt3().CmdOk->click();

    EXPECT_EQ(tables().PartProgram(s, 3), 57);
    EXPECT_EQ(main().LblProgNum[3]->toolTip(), " Instrument 057: Trumpet ");
    EXPECT_EQ(tables().PartVol(s, 3), 101);
    EXPECT_EQ(tables().SectVol[s], 66);
    EXPECT_EQ(tables().PartModeCode(s, 3), 2);
    EXPECT_EQ(tables().PartProgram(0, 3), 0);  // other slots untouched
    EXPECT_EQ(tables().PartVol(0, 3), 0);
}

}  // namespace
}  // namespace corvane::styles::testing
