// The style manager on the screen: the search through the sorted list, picks into the five
// slots and their commit, Cancel and the loss of activation, and the export of the library
// listing with its duplicate check.
#include <QListWidget>
#include <filesystem>
#include <fstream>

#include "frontend/core/vb_text.h"
#include "frontend/styles/ui/frm_sections.h"
#include "tests/frontend/styles/panel_fixture.h"
#include "tests/frontend/support/program_files.h"

namespace corvane::styles::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FileLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(!line.empty() && line.back() == '\r') << "CR LF line ends";
        if (!line.empty()) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

class StyleManagerTest : public PanelTest {
  protected:
    void SetUp() override { StartPanel(); }

    FrmSections& sections() { return app().frmSections(); }

    // As the main window's style button opens it, once earlier activations have arrived.
    void Open() {
        Settle();
        app().g.ListIndexArg = app().g.StyleListIdx;
        sections().show();
        Settle();
    }
    void Settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    int RowOf(const QString& name) {
        const auto found = sections().LstStyles->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.isEmpty() ? -1 : sections().LstStyles->row(found.first());
    }
    int LibraryIndex(const std::string& file) {
        const auto& files = app().g.Styles.StyleFiles;
        return static_cast<int>(std::find(files.begin(), files.end(), file) - files.begin());
    }
    void Pick(const QString& name, int slot) {
        sections().LstStyles->setCurrentRow(RowOf(name));
        sections().GetStyButtons()[slot - 1]->click();
    }
};

TEST_F(StyleManagerTest, TheSearchMatchesAnyPartWithoutLetterCaseAndWraps) {
    Open();
    FrmSections& dialog = sections();
    ASSERT_EQ(dialog.LstStyles->count(), 14);
    // Rows 0 and 1 are the 2/4 styles, 7 and 12 the two ballads.
    dialog.TxtFind->setText("  xyz BALLAD 2/4 ");
    dialog.LstStyles->setCurrentRow(-1);
    struct Step {
        int row;
        const char* found;
    };
    for (const Step step :
         {Step{0, "2/4"}, Step{1, "2/4"}, Step{7, "BALLAD"}, Step{12, "BALLAD"}, Step{0, "2/4"}}) {
        dialog.CmdFind->click();
        EXPECT_EQ(dialog.LstStyles->currentRow(), step.row);
        EXPECT_EQ(dialog.TxtFound->text(), step.found);
    }
    // From the last row the search starts at the top.
    dialog.TxtFind->setText("waltz");
    dialog.LstStyles->setCurrentRow(13);
    dialog.CmdFind->click();
    EXPECT_EQ(dialog.LstStyles->currentItem()->text(), " 3/4 Jazz Waltz");
    // Enter in the search text searches on.
    Key(dialog.TxtFind, Qt::Key_Return);
    EXPECT_EQ(dialog.LstStyles->currentItem()->text(), " 3/4 Slow Waltz");
    EXPECT_EQ(dialog.focusWidget(), dialog.CmdFind);
    EXPECT_TRUE(dialog.isVisible());

    dialog.TxtFind->setText("tango");
    dialog.CmdFind->click();
    EXPECT_EQ(dialog.TxtFound->text(), "");
    EXPECT_EQ(dialog.LstStyles->currentItem()->text(), " 3/4 Slow Waltz");
    dialog.CmdCancel->click();
}

TEST_F(StyleManagerTest, PicksChangeOnlyTheListsUntilOkCommitsThem) {
    main().OptSty2->click();
    tables().PartProgram(0, 1) = 33;
    tables().PartProgram(2, 1) = 33;
    tables().SwPointsText = "Mine.set";
    const QStringList before = Rows(sections().LstSectStyles);
    Open();
    FrmSections& dialog = sections();

    Pick(" 4/4 Rock", 3);
    QStringList expected = before;
    expected[2] = " 4/4 Rock";
    EXPECT_EQ(Rows(dialog.LstSectStyles), expected);
    EXPECT_EQ(dialog.LstSectIdx->item(2)->text(),
              QString::fromStdString(ZeroPad(RowOf(" 4/4 Rock"), 4)));
    EXPECT_EQ(main().LblStyle[2]->Caption(), before[2]);  // nothing committed yet
    Pick(" 2/4 Polka", 1);
    Pick(" 3/4 Waltz", 5);
    Pick(" 6/8 Jig / Tarantella", 4);
    // No highlighted row: "--> 2" picks nothing.
    dialog.LstStyles->setCurrentRow(-1);
    dialog.CmdGetSty2->click();
    EXPECT_EQ(dialog.LstSectStyles->item(1)->text(), before[1]);
    dialog.ChkGhQ8->setChecked(true);

    dialog.CmdOk->click();
    EXPECT_FALSE(dialog.isVisible());
    const char* files[5] = {"Pk2430.sty", "8B4431.sty", "Rk4430.sty", "Jg6830.sty", "Wz3431.sty"};
    for (int s = 0; s < 5; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(tables().SectStyleIdx[s], LibraryIndex(files[s]));
        EXPECT_EQ(main().LblStyle[s]->Caption(), dialog.LstSectStyles->item(s)->text());
        EXPECT_EQ(tables().SlotStyleNames[s], dialog.LstSectStyles->item(s)->text().toStdString());
        EXPECT_EQ(tables().SlotStyleFiles[s], files[s]);
        EXPECT_EQ(dialog.LstSectStylesOld->item(s)->text(), dialog.LstSectStyles->item(s)->text());
    }
    EXPECT_EQ(app().g.StyleListIdx, RowOf(" 3/4 Waltz"));
    EXPECT_EQ(tables().AutoOctave, 1);
    EXPECT_EQ(tables().SwPointsText, "");
    // A slot whose style changed was read again; one that kept its style kept its values.
    EXPECT_EQ(tables().PartProgram(0, 1), 0);
    EXPECT_EQ(tables().PartProgram(2, 1), 0);
    tables().PartProgram(1, 1) = 21;
    EXPECT_EQ(tables().CurSlot, 1);
    EXPECT_TRUE(main().OptSty2->isChecked());
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();

    // Ok without a change, also when the workflow commits after Proceed, keeps the loaded title
    // and every part value.
    tables().SwPointsText = "Mine.set";
    Open();
    Key(dialog.LstStyles, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    dialog.CmdOk_Click();
    EXPECT_EQ(tables().SwPointsText, "Mine.set");
    EXPECT_EQ(tables().PartProgram(1, 1), 21);
}

TEST_F(StyleManagerTest, TheSameStyleInEverySlotAndPicksIntoEmptyLists) {
    Open();
    FrmSections& dialog = sections();
    for (int n = 1; n <= 5; ++n) Pick(" 4/4 Rumba", n);
    dialog.CmdOk->click();
    for (int s = 0; s < 5; ++s) EXPECT_EQ(tables().SectStyleIdx[s], LibraryIndex("Rb4413.sty"));

    // Lists shorter than the slot picked into are filled up to it with the same style.
    Open();
    dialog.LstSectStyles->clear();
    dialog.LstSectIdx->clear();
    Pick(" 4/4 Rock", 3);
    EXPECT_EQ(Rows(dialog.LstSectStyles), QStringList(3, " 4/4 Rock"));
    EXPECT_EQ(dialog.LstSectIdx->count(), 3);
    dialog.CmdCancel->click();
    EXPECT_EQ(Rows(dialog.LstSectStyles), QStringList(5, " 4/4 Rumba"));
}

TEST_F(StyleManagerTest, CancelEscapeCloseAndAClickElsewhereRestoreTheLists) {
    FrmSections& dialog = sections();
    const QStringList styles = Rows(dialog.LstSectStyles);
    const QStringList rows = Rows(dialog.LstSectIdx);
    const std::vector<int> values = TableValues(tables());
    const std::function<void()> closers[] = {
        [&] { dialog.CmdCancel->click(); },
        [&] { Key(&dialog, Qt::Key_Escape); },
        [&] { dialog.close(); },
        [&] { Click(main().LblInName); },
        [&] {
            main().activateWindow();
            Settle();
        },
    };
    for (const auto& close : closers) {
        Open();
        ASSERT_TRUE(dialog.isVisible());
        Pick(" 4/4 Rock", 1);
        Pick(" 2/4 Polka", 4);
        dialog.ChkGhQ8->setChecked(true);
        close();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(Rows(dialog.LstSectStyles), styles);
        EXPECT_EQ(Rows(dialog.LstSectIdx), rows);
        EXPECT_EQ(TableValues(tables()), values);
        EXPECT_EQ(tables().AutoOctave, 0);
    }
    // The check box shows the option again at the next opening.
    Open();
    EXPECT_FALSE(dialog.ChkGhQ8->isChecked());
}

TEST_F(StyleManagerTest, AClickOnASelectedStyleReadiesItsPickButton) {
    Open();
    FrmSections& dialog = sections();
    QWidget* viewport = dialog.LstSectStyles->viewport();
    for (int row : {3, 0, 4}) {
        const QPoint inside =
            dialog.LstSectStyles->visualItemRect(dialog.LstSectStyles->item(row)).center();
        QMouseEvent release(QEvent::MouseButtonRelease, inside, viewport->mapToGlobal(inside),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &release);
        EXPECT_EQ(dialog.focusWidget(), dialog.GetStyButtons()[row]) << row;
    }
    dialog.LstSectStyles_MouseUp(kRightButton, 1);
    EXPECT_EQ(dialog.focusWidget(), dialog.CmdGetSty5);
    dialog.CmdCancel->click();
}

TEST_F(StyleManagerTest, TheListingIsInScanOrderWithItsTotal) {
    Open();
    sections().CmdListStys->click();
    EXPECT_FALSE(sections().isVisible());
    EXPECT_EQ(recorder.lines(),
              QStringList{"information|Orvella|Your Styles Listing is saved in the file named "
                          "StyleList.txt"});
    const std::vector<std::string> lines = FileLines(folder() / "StyleList.txt");
    const StyleLibrary& library = app().g.Styles;
    ASSERT_EQ(lines.size(), 15u);
    for (int i = 0; i < library.StyleCount(); ++i)
        EXPECT_EQ(lines[i], library.StyleFiles[i] + " = " + library.StyleNames[i]);
    EXPECT_EQ(lines[0], "8B4431.sty =  4/4 Pop 8-Beat");
    EXPECT_EQ(lines.back(), "Total = 14 styles.");
}

TEST_F(StyleManagerTest, AListingThatCannotBeWrittenSaysSo) {
    fs::create_directory(folder() / "StyleList.txt");
    fs::create_directory(folder() / "StyleList.txt" / "inside");
    sections().CmdListStys->click();
    EXPECT_EQ(recorder.lines(), QStringList{"critical|Orvella|Cannot creat file <StyleList.txt>."});
    EXPECT_TRUE(fs::is_directory(folder() / "StyleList.txt" / "inside"));
}

class DuplicateStylesTest : public PanelTest {
  protected:
    void SetUp() override {
        // Scanned before the library's own ballad, with the same name.
        corvane::testing::WriteFile(folder() / "Aa0001.sty",
                                    corvane::testing::StyleFileBytes("Copy: 4/4 Piano Ballad"));
        StartPanel();
    }
};

TEST_F(DuplicateStylesTest, TheListingWarnsHighlightsTheSecondAndOkTakesTheFirstScanned) {
    FrmSections& dialog = app().frmSections();
    app().g.ListIndexArg = 0;
    dialog.show();
    dialog.CmdListStys->click();
    EXPECT_EQ(recorder.lines(),
              (QStringList{"information|Orvella|There are some styles with the same name in the "
                           "Style List.",
                           "information|Orvella|Your Styles Listing is saved in the file named "
                           "StyleList.txt"}));
    // Shown again with the second of the pair highlighted.
    EXPECT_TRUE(dialog.isVisible());
    const int row = dialog.LstStyles->currentRow();
    EXPECT_EQ(row, 8);
    EXPECT_EQ(dialog.LstStyles->item(row - 1)->text(), " 4/4 Piano Ballad");
    EXPECT_EQ(dialog.LstStyles->item(row)->text(), " 4/4 Piano Ballad");
    const std::vector<std::string> lines = FileLines(folder() / "StyleList.txt");
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[1], "Aa0001.sty =  4/4 Piano Ballad");
    EXPECT_EQ(lines[3], "Bl4412.sty =  4/4 Piano Ballad");
    EXPECT_EQ(lines.back(), "Total = 15 styles.");

    dialog.GetStyButtons()[2]->click();
    dialog.CmdOk->click();
    const auto& files = app().g.Styles.StyleFiles;
    EXPECT_EQ(tables().SectStyleIdx[2],
              std::find(files.begin(), files.end(), "Aa0001.sty") - files.begin());
    EXPECT_EQ(tables().SlotStyleFiles[2], "Aa0001.sty");
}

}  // namespace
}  // namespace corvane::styles::testing
