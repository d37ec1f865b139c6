// The start-up in this process, on the harness's program folder with the shipped styles.
#include "frontend/core/ui/startup.h"

#include <QFile>
#include <QListWidget>
#include <algorithm>

#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/shell/ui/frm_about.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/ini_settings.h"
#include "platform/qt/random_source.h"
#include "tests/frontend/support/gui_harness.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::testing {
namespace {

void Remember(const char* section, const char* key, const char* value) {
    platform::qt::IniSettingsStore().SaveSetting("Orvella 2426", section, key, value);
}

QString EntryOf(App& app, const std::string& file) {
    const auto& files = app.g.Styles.StyleFiles;
    const auto row = std::find(files.begin(), files.end(), file) - files.begin();
    return QString::fromStdString(app.g.Styles.StyleNames.at(static_cast<std::size_t>(row)));
}

class StartupTest : public CorvaneTest {
  protected:
    // What a first run shows: echo voices 50 and 90, levels 6 and 5 (slider values 3 and 4),
    // the list on the second voice, slot volumes 80 and section length index 0.
    void ExpectDefaultSettings() {
        EXPECT_EQ(main().LblEcho[0]->Caption(), "050");
        EXPECT_EQ(main().LblEcho[1]->Caption(), "090");
        EXPECT_EQ(main().LblBackLevel[0]->Caption(), "6");
        EXPECT_EQ(main().LblBackLevel[1]->Caption(), "5");
        EXPECT_EQ(main().CanGatEcho[0]->Value(), 3);
        EXPECT_EQ(main().CanGatEcho[1]->Value(), 4);
        EXPECT_EQ(main().LstEcho->currentRow(), 89);
        EXPECT_EQ(app().slotTables.SectVol[0], 80);
        EXPECT_EQ(app().slotTables.SectVol[4], 80);
        EXPECT_EQ(app().g.SectLenIdx, 0);
    }
};

TEST_F(StartupTest, ShowsTheMainWindowWithTheRestoredStyleAndTheNameTables) {
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(main().windowTitle(), "Orvella 2426");
    EXPECT_EQ(main().LblMode->Caption(), "Complex");
    EXPECT_FALSE(main().CanGatOut[0]->Enabled());
    EXPECT_TRUE(app().g.MainActivated);
    EXPECT_TRUE(app().g.ColorDemoOff);
    EXPECT_TRUE(app().g.FixedsysPresent);
    EXPECT_TRUE(main().ShapeCtl1->Visible());
    EXPECT_FALSE(app().frmAbout().isVisible());  // the loading notice is gone
    EXPECT_EQ(app().frmAbout().windowTitle(), "About Box");

    // First run: library row 0 (the first file in name order) in all five slots, a 4/4 style,
    // so that Make takes it for most songs.
    EXPECT_EQ(app().g.Styles.StyleCount(), static_cast<int>(LibraryStyleFiles().size()));
    const QString first = EntryOf(app(), LibraryStyleFiles().front());
    EXPECT_TRUE(first.startsWith(" 4/4 ")) << first.toStdString();
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(main().LblStyle[slot]->Caption(), first);
        EXPECT_EQ(main().LblStyle[slot]->ForeColor(), styles::kSlotColours[slot]);
        EXPECT_EQ(app().slotTables.SectStyleIdx[slot], 0);
    }
    EXPECT_EQ(app().slotTables.CurSlot, 0);
    EXPECT_TRUE(main().LblStyle[0]->isVisible());
    EXPECT_FALSE(main().LblStyle[1]->isVisible());

    // The sorted hidden list, its browse copy and the slot rows written with four digits.
    styles::FrmSections& sections = app().frmSections();
    ASSERT_EQ(sections.LstStyles->count(), app().g.Styles.StyleCount());
    for (int row = 1; row < sections.LstStyIdx->count(); ++row) {
        EXPECT_LT(sections.LstStyIdx->List(row - 1).toLower(),
                  sections.LstStyIdx->List(row).toLower());
    }
    EXPECT_EQ(sections.LstStyIdx->List(app().g.StyleListIdx), first);
    EXPECT_EQ(sections.LstSectIdx->item(4)->text(),
              QString("%1").arg(app().g.StyleListIdx, 4, 10, QChar('0')));

    EXPECT_EQ(main().LstEcho->count(), 128);
    EXPECT_EQ(main().LstEcho->item(0)->text(), "001: Piano Acoustic Grand");
    EXPECT_EQ(main().LstEcho->item(127)->text(), "128: Gunshot Noise");
}

TEST_F(StartupTest, LoadsTheHiddenDialogsInOrderAndNoOthers) {
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    std::vector<std::string> stepOrder;
    const std::vector<std::string> hidden = {"FrmChord", "FrmTaoAc",  "FrmOpt1", "FrmOpt2",
                                             "FrmOpt3",  "FrmQuenby", "FrmKeys"};
    for (const std::string& name : app().loadOrder()) {
        if (std::find(hidden.begin(), hidden.end(), name) != hidden.end())
            stepOrder.push_back(name);
    }
    EXPECT_EQ(stepOrder, hidden);
    const auto& order = app().loadOrder();
    for (const char* notYet : {"FrmSelectFile", "FrmSaveSetting", "FrmInstList", "FrmDrFill"}) {
        EXPECT_EQ(std::find(order.begin(), order.end(), notYet), order.end()) << notYet;
    }
    EXPECT_EQ(order.front(), "FrmMain");
    EXPECT_TRUE(app().frmQuenby().LblKeyFindInfo->Caption().isEmpty());
    EXPECT_FALSE(app().frmChord().isVisible());
}

TEST_F(StartupTest, SettingsStartWithDefaultsAndComeBackAfterExit) {
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    ExpectDefaultSettings();

    main().LblEcho[0]->SetCaption("033");
    main().LblBackLevel[1]->SetCaption("2");
    app().g.SectLenIdx = 7;
    app().slotTables.SectStyleIdx[0] = 3;
    app().slotTables.SectVol[0] = 55;
    const std::string third = app().g.Styles.StyleFiles[3];
    emit main().PictExit->MouseUp();
    EXPECT_TRUE(app().g.ProgramClosing);
    EndCorvane();

    QFile ini(platform::qt::IniSettingsStore::FilePath("Orvella 2426"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    for (const char* line : {"[RegPcStr]", "Echo1=033", "Echo2=090", "EchV1=6", "EchV2=2",
                             "sAccV=080", "sSIdx=7", "[RegStFName]"}) {
        EXPECT_TRUE(text.contains(line)) << line << "\n" << text.toStdString();
    }
    EXPECT_TRUE(text.contains(QString::fromStdString("StFName=" + third)));

    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    EXPECT_EQ(main().LblEcho[0]->Caption(), "033");
    EXPECT_EQ(main().LblBackLevel[1]->Caption(), "2");
    EXPECT_EQ(main().CanGatEcho[1]->Value(), 7);
    EXPECT_EQ(app().g.SectLenIdx, 7);
    EXPECT_EQ(app().slotTables.SectVol[0], 80);
    EXPECT_EQ(app().slotTables.SectStyleIdx[4], 3);
    EXPECT_EQ(main().LblStyle[0]->Caption(), EntryOf(app(), third));
}

TEST_F(StartupTest, RemembersTheStyleInAnotherLetterCaseOrFallsBackToRowZero) {
    const std::string file = LibraryStyleFiles().back();
    QString otherCase = QString::fromStdString(file);
    otherCase = otherCase.left(2).toLower() + otherCase.mid(2).toUpper();
    Remember("RegStFName", "StFName", otherCase.toUtf8().constData());
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    EXPECT_EQ(main().LblStyle[2]->Caption(), EntryOf(app(), file));
    EXPECT_EQ(app().g.Styles.StyleFiles[app().slotTables.SectStyleIdx[0]], file);
    EndCorvane();

    Remember("RegStFName", "StFName", "Gone99.sty");
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    EXPECT_EQ(app().slotTables.SectStyleIdx[0], 0);
    EXPECT_EQ(main().LblStyle[0]->Caption(), EntryOf(app(), LibraryStyleFiles().front()));
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(StartupTest, GarbageSettingsStartWithTheDefaults) {
    Remember("RegPcStr", "Echo1", "0");
    Remember("RegPcStr", "Echo2", "x");
    Remember("RegPcStr", "EchV1", "10");
    Remember("RegPcStr", "EchV2", "-3");
    Remember("RegPcStr", "sAccV", "500");
    Remember("RegPcStr", "sSIdx", "12");
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    ExpectDefaultSettings();
}

TEST_F(StartupTest, EchoVoicesShowAndSaveTheTextsAsStored) {
    Remember("RegPcStr", "Echo1", "50");
    Remember("RegPcStr", "Echo2", "7");
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    EXPECT_EQ(main().LblEcho[0]->Caption(), "50");
    EXPECT_EQ(main().LblEcho[1]->Caption(), "7");
    EXPECT_EQ(main().LblEcho[1]->toolTip(), " Echo2 " + main().LstEcho->item(6)->text() + " ");
    EXPECT_EQ(main().LstEcho->currentRow(), 6);
    emit main().PictExit->MouseUp();
    EndCorvane();
    platform::qt::IniSettingsStore store;
    EXPECT_EQ(store.GetSetting("Orvella 2426", "RegPcStr", "Echo1"), "50");
    EXPECT_EQ(store.GetSetting("Orvella 2426", "RegPcStr", "Echo2"), "7");
}

TEST_F(StartupTest, OnlyTheFirstActivationReloadsTheSlotLabels) {
    platform::qt::SetRandomSource([] { return 0.9999f; });
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    EXPECT_EQ(main().DemoColourStep, 73);
    main().LblStyle[2]->SetCaption("changed by the user");
    platform::qt::SetRandomSource([] { return 0.0f; });
    main().Form_Activate();
    EXPECT_EQ(main().LblStyle[2]->Caption(), "changed by the user");
    EXPECT_EQ(main().DemoColourStep, 8);
    platform::qt::SetRandomSource({});
}

TEST_F(StartupTest, ActivationAppliesTheRequestsOtherDialogsLeft) {
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    app().slotTables.CurSlot = 1;
    app().g.InstListPart = 3;
    app().g.InstListSel = "25";
    app().g.HideChordEditorPending = true;
    app().frmChord().show();
    main().Form_Activate();
    EXPECT_EQ(app().g.InstListPart, 0);
    EXPECT_EQ(app().slotTables.PartProgram(1, 2), 25);
    EXPECT_EQ(main().LblProgNum[2]->Caption(), "25");
    EXPECT_FALSE(app().g.HideChordEditorPending);
    EXPECT_FALSE(app().frmChord().isVisible());

    main().Form_Activate();  // nothing pending: nothing changes
    EXPECT_EQ(app().slotTables.PartProgram(1, 2), 25);
}

TEST_F(StartupTest, MoreThanNineHundredStyleFilesGiveTheNoticeAndGoOn) {
    WriteGeneratedStyles(folder(), 890);  // beside the shipped styles
    for (int i = 0; i < 3; ++i)
        WriteFile(folder() / ("Zs000" + std::to_string(i) + ".sty"), "Mtrk,");
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    const int files = 890 + 3 + static_cast<int>(LibraryStyleFiles().size());
    ASSERT_EQ(recorder.lines().size(), 1);
    EXPECT_EQ(recorder.lines()[0],
              "information|Orvella|" + QString::fromStdString(StyleCapNotice(files)));
    EXPECT_EQ(app().g.Styles.StyleCount(), 900);
    EXPECT_EQ(app().frmSections().LstStyles->count(), 900);
}

TEST_F(StartupTest, BadStyleHeaderEndsTheStartWithoutWritingAnything) {
    WriteFile(folder() / "Bad001.sty", StyleFileBytes("Bad: 4/4x Broken"));
    const auto before = std::distance(std::filesystem::directory_iterator(folder()), {});
    ASSERT_EQ(StartCorvane(), StartupOutcome::kFatal);
    EXPECT_EQ(
        recorder.lines(),
        QStringList{"critical|Orvella|Style data error in Bad001.sty: Invalid timesignature."});
    EXPECT_FALSE(main().isVisible());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder()), {}), before);
    EXPECT_FALSE(std::filesystem::exists(configHome() / "Orvella"));
}

}  // namespace
}  // namespace corvane::testing
