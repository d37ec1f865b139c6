// The file dialog through its callers and its own controls: each caller's set-up, the listings,
// confirming by Ok, double click and Enter, the folder and drive lists, deleting user styles,
// the refusals of a TagOpt it does not serve, and hiding without a result.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "frontend/editors/ui/frm_chord.h"
#include "frontend/styles/style_setting_file.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "tests/frontend/core/file_commands_fixture.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

// A double click as the window system delivers it: the second press comes before the double
// click event (QTest's own double click leaves an item view without its pressed item).
void DoubleClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at),
                            Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(widget, &doubleClick);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

// A click on an option's button, which takes clicks only on its circle and caption.
void ClickOption(QRadioButton* option) {
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text().trimmed();
    return rows;
}

class FileDialogTest : public FileCommandsTest {
  protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        fs::create_directories(folder() / "songs" / "sub");
        fs::create_directories(folder() / "songs" / ".hidden");
        fs::create_directories(folder() / "songs" / "folder.mid");
        for (const char* name : {"b.MID", "a.mid", "c.kar", "Tune.qxs", "OLD.QXS", ".secret.mid",
                                 "notes.txt", "mine.set", "x.chd"}) {
            WriteFile(folder() / "songs" / name, std::string(name));
        }
    }
    std::string Songs(const std::string& name = "") const {
        return (folder() / "songs").string() + (name.empty() ? "" : "/" + name);
    }
    // Chooses a file of the list as a click does.
    void Choose(const QString& name) {
        const auto found = dialog().FileList->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        dialog().FileList->setCurrentItem(found.front());
    }
    void OpenFolder(const QString& name) {
        for (int i = 0; i < dialog().DirList->count(); ++i) {
            if (dialog().DirList->item(i)->text().trimmed() == name) {
                dialog().DirList->setCurrentRow(i);
                QTest::keyClick(dialog().DirList, Qt::Key_Return);
                return;
            }
        }
        FAIL() << "no folder " << name.toStdString();
    }
};

TEST_F(FileDialogTest, EachCallerSetsUpTheDialogForItsPurpose) {
    MakeOutput();
    const struct {
        const char* caller;
        std::function<void()> open;
        const char* caption;
        const char* pattern;
        const char* ok;
        bool deleteVisible;
        bool nameEditable;
        bool options;
        const char* name;
    } cases[] = {
        {"browse", [&] { main().BrowseInput(); }, "Select an input *.mid, *.kar, *.qxs",
         "*.mid;*.kar", "Ok", false, false, true, ""},
        {"save", [&] { main().SaveOutput(false); }, "Save output as *.mid, *.qxs", "*.mid", "Save",
         false, true, true, "Accompanied_Song.mid"},
        {"load user style", [&] { QTest::mouseClick(main().CmdLoadSet, Qt::LeftButton); },
         "Select an User Style *.set to load or delete:", "*.set", "Load", true, false, false, ""},
        {"chord file",
         [&] {
             app().frmChord().show();
             QTest::mouseClick(app().frmChord().CmdBrowseUsr, Qt::LeftButton);
         },
         "Select an user Chord File *.chd", "*.chd", "Ok", false, false, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caller);
        dialog().TxtFileName->setText("typed before");
        c.open();
        ASSERT_TRUE(dialog().isVisible());
        EXPECT_EQ(dialog().windowTitle(), c.caption);
        EXPECT_EQ(dialog().Pattern(), c.pattern);
        EXPECT_EQ(dialog().CmdOk->text(), c.ok);
        EXPECT_EQ(dialog().CmdDelete->isVisible(), c.deleteVisible);
        EXPECT_EQ(dialog().TxtFileName->isReadOnly(), !c.nameEditable);
        EXPECT_EQ(dialog().OptMid->isVisible(), c.options);
        EXPECT_EQ(dialog().OptQXs->isVisible(), c.options);
        EXPECT_EQ(dialog().LblFileType->isVisible(), c.options);
        EXPECT_EQ(dialog().TxtFileName->text(), c.name);
        EXPECT_EQ(dialog().CmdOk->isEnabled(), *c.name != '\0');
        EXPECT_EQ(dialog().TagOpt, c.nameEditable ? "output" : "input");
        // A click on the main window hides it without a result.
        QTest::mouseClick(main().LblInName, Qt::LeftButton);
        EXPECT_FALSE(dialog().isVisible());
    }
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_TRUE(main().TxtInName->text().isEmpty());
}

TEST_F(FileDialogTest, ListingsAreSortedAndMatchWithoutLetterCase) {
    main().BrowseInput();
    dialog().ChangeFolder(Songs());
    EXPECT_EQ(Rows(dialog().FileList), (QStringList{"a.mid", "b.MID", "c.kar"}));
    Choose("b.MID");
    EXPECT_EQ(dialog().TxtFileName->text(), "b.MID");

    ClickOption(dialog().OptQXs);
    EXPECT_EQ(dialog().Pattern(), "*.qxs");
    EXPECT_EQ(Rows(dialog().FileList), (QStringList{"OLD.QXS", "Tune.qxs"}));
    EXPECT_TRUE(dialog().TxtFileName->text().isEmpty());
    EXPECT_FALSE(dialog().CmdOk->isEnabled());
    // Browse opens with the option chosen last.
    QTest::mouseClick(main().LblInName, Qt::LeftButton);
    main().BrowseInput();
    EXPECT_EQ(dialog().Pattern(), "*.qxs");
    EXPECT_EQ(dialog().Folder(), Songs());

    ClickOption(dialog().OptMid);
    EXPECT_EQ(dialog().Pattern(), "*.mid;*.kar");
    EXPECT_EQ(Rows(dialog().DirList).mid(Rows(dialog().DirList).indexOf("songs") + 1),
              (QStringList{"folder.mid", "sub"}));
}

TEST_F(FileDialogTest, OkDoubleClickAndEnterConfirmOnlyWithAName) {
    main().BrowseInput();
    dialog().ChangeFolder(Songs("sub"));
    ASSERT_EQ(dialog().FileList->count(), 0);
    EXPECT_FALSE(dialog().CmdOk->isEnabled());
    dialog().FileList_DblClick();
    QTest::keyClick(dialog().FileList, Qt::Key_Return);
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_TRUE(main().TxtInName->text().isEmpty());

    OpenFolder("songs");
    EXPECT_EQ(dialog().Folder(), Songs());
    Choose("c.kar");
    QTest::keyClick(dialog().FileList, Qt::Key_Return);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(main().TxtInName->text().toStdString(), Songs("c.kar"));
    EXPECT_TRUE(dialog().TagOpt.isEmpty());

    main().BrowseInput();
    Choose("a.mid");
    const QRect row = dialog().FileList->visualItemRect(dialog().FileList->currentItem());
    DoubleClick(dialog().FileList->viewport(), row.center());
    EXPECT_EQ(main().TxtInName->text().toStdString(), Songs("a.mid"));

    // At the root the name follows the one separator.
    main().BrowseInput();
    ClickOption(dialog().OptMid);
    OpenFolder("/");
    EXPECT_EQ(dialog().Folder(), "/");
    dialog().TxtFileName->setText("x.mid");
    QTest::mouseClick(dialog().CmdOk, Qt::LeftButton);
    EXPECT_EQ(main().TxtInName->text(), "/x.mid");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(FileDialogTest, TheDriveListHoldsTheRoot) {
    main().BrowseInput();
    dialog().ChangeFolder(Songs());
    dialog().TxtFileName->setText("a.mid");
    ASSERT_EQ(dialog().DrvList->count(), 1);
    EXPECT_EQ(dialog().DrvList->itemText(0), "/");
    dialog().DrvList_Change();
    EXPECT_EQ(dialog().Folder(), "/");
    EXPECT_TRUE(dialog().TxtFileName->text().isEmpty());
    EXPECT_TRUE(dialog().isVisible());
}

TEST_F(FileDialogTest, OnlyUserStylesAreDeletedAndReadOnlyOnesAreKept) {
    WriteFile(folder() / "songs" / "locked.set", "kept");
    fs::permissions(folder() / "songs" / "locked.set", fs::perms::owner_read);
    main().CmdLoadSet->click();
    dialog().ChangeFolder(Songs());
    EXPECT_EQ(Rows(dialog().FileList), (QStringList{"locked.set", "mine.set"}));

    Choose("locked.set");
    QTest::mouseClick(dialog().CmdDelete, Qt::LeftButton);
    EXPECT_EQ(dialog().LblLuuY->text(), "The file is read only.");
    EXPECT_TRUE(fs::exists(folder() / "songs" / "locked.set"));
    EXPECT_TRUE(dialog().TxtFileName->text().isEmpty());
    EXPECT_FALSE(dialog().CmdDelete->isEnabled());

    Choose("mine.set");
    EXPECT_TRUE(dialog().LblLuuY->text().isEmpty());  // a new name clears the notice
    QTest::mouseClick(dialog().CmdDelete, Qt::LeftButton);
    EXPECT_FALSE(fs::exists(folder() / "songs" / "mine.set"));
    EXPECT_EQ(Rows(dialog().FileList), (QStringList{"locked.set"}));

    // With songs, projects or chord files listed the button deletes nothing.
    const struct {
        FileDialogSetup setup;
        const char* name;
    } others[] = {{BrowseInputSetup(false), "a.mid"},
                  {BrowseInputSetup(true), "Tune.qxs"},
                  {ChordFileSetup(), "x.chd"}};
    for (const auto& other : others) {
        SCOPED_TRACE(other.name);
        dialog().Prepare(other.setup, QString());
        dialog().ShowDialog();
        Choose(other.name);
        dialog().CmdDelete_Click();
        EXPECT_TRUE(fs::exists(folder() / "songs" / other.name));
    }
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(FileDialogTest, LoadAndChordFileResultsGoToTheirForms) {
    styles::SlotTables tables = app().slotTables;
    tables.AutoOctave = 1;
    WriteFile(folder() / "songs" / "mine.set",
              styles::StyleSettingText(
                  styles::CaptureStyleSetting(tables, g().Styles.StyleFiles, {50, 50}, {4, 4})));
    ASSERT_EQ(app().slotTables.AutoOctave, 0);
    main().CmdLoadSet->click();
    dialog().ChangeFolder(Songs());
    Choose("mine.set");
    QTest::mouseClick(dialog().CmdOk, Qt::LeftButton);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(app().slotTables.AutoOctave, 1);
    EXPECT_EQ(app().slotTables.SwPointsText, "mine.set");

    dialog().Prepare(ChordFileSetup(), QString());
    dialog().ShowDialog();
    Choose("x.chd");
    QTest::mouseClick(dialog().CmdOk, Qt::LeftButton);
    EXPECT_EQ(app().frmChord().TxtUsrList->text().toStdString(), Songs("x.chd"));
    EXPECT_TRUE(main().TxtInName->text().isEmpty());
}

TEST_F(FileDialogTest, ATagOptItDoesNotServeIsRefusedWithItsBox) {
    const struct {
        const char* tagOpt;
        const char* pattern;
        const char* box;
    } cases[] = {
        {"input", "*.mid", "none|Orvella|The TagOpt <input:*.mid>not supported."},
        {"output", "*.set", "none|Orvella|The TagOpt <output:*.set>not supported."},
        {"print", "*.mid", "none|Orvella|The TagOpt <print> not supported."},
        {"", "*.qxs", "none|Orvella|The TagOpt <> not supported."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        recorder.clear();
        dialog().Prepare({"caption", c.pattern, c.tagOpt, true}, "a.mid");
        dialog().ShowDialog();
        ASSERT_TRUE(WaitUntil([&] { return !dialog().isVisible(); }, 2000));
        ASSERT_TRUE(WaitUntil([&] { return !recorder.lines().isEmpty(); }, 2000));
        EXPECT_EQ(recorder.lines(), QStringList{c.box});
    }

    // A TagOpt that changed after the dialog opened is refused at the confirmation, and
    // emptied like any other.
    const struct {
        const char* tagOpt;
        const char* box;
    } confirmed[] = {
        {"print", "none|Orvella|The TagOpt <print>not supported."},
        {"output", "none|Orvella|The TagOpt <output:*.mid;*.kar>not supported."},
    };
    for (const auto& c : confirmed) {
        SCOPED_TRACE(c.box);
        recorder.clear();
        main().BrowseInput();
        dialog().ChangeFolder(Songs());
        Choose("a.mid");
        dialog().TagOpt = c.tagOpt;
        dialog().CmdOk_Click();
        EXPECT_EQ(recorder.lines(), QStringList{c.box});
        EXPECT_TRUE(dialog().TagOpt.isEmpty());
        EXPECT_TRUE(main().TxtInName->text().isEmpty());
    }
}

TEST_F(FileDialogTest, ClosingOnlyHidesItAndItReopensWhereItWas) {
    main().BrowseInput();
    dialog().ChangeFolder(Songs());
    Choose("a.mid");
    dialog().close();
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(dialog().TagOpt, "input");  // kept until the next confirmation or caller
    main().BrowseInput();
    EXPECT_EQ(dialog().Folder(), Songs());
    EXPECT_TRUE(dialog().TxtFileName->text().isEmpty());
    QTest::keyClick(&dialog(), Qt::Key_Escape);
    EXPECT_FALSE(dialog().isVisible());
    main().BrowseInput();
    QTest::mouseClick(dialog().CmdCancel, Qt::LeftButton);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_TRUE(main().TxtInName->text().isEmpty());
}

}  // namespace
}  // namespace corvane::testing
