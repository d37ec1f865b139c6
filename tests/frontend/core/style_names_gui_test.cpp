// Style files as their bytes: a title with a Latin-1 letter ("Caf\xE9", one byte a character as
// style files hold it) is shown with its letter and found again wherever a title is looked up,
// and a style file whose name is not UTF-8 is composed with and remembered under its own name.
#include <QFile>
#include <QListWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "frontend/core/ui/file_commands.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/ini_settings.h"
#include "tests/frontend/support/program_files.h"
#include "tests/frontend/support/workflow_harness.h"
#include "tests/support/program_folder.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

// The library's waltz under another header title: a real 3/4 style apart from its title.
std::string RetitledWaltz(const std::string& title) {
    std::ifstream in(testsupport::BinDir() / "Wz3431.sty", std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t open = bytes.find('"');
    const std::size_t close = bytes.find('"', open + 1);
    return bytes.replace(open + 1, close - open - 1, title);
}

// The title as the window shows it, and its list entry as the style tables hold it.
const QString kCafeShown = QString::fromUtf8(" 3/4 Caf\xC3\xA9 Waltz");
const std::string kCafeEntry = " 3/4 Caf\xE9 Waltz";
const std::string kCafeTitle = "Caf\xE9: 3/4 Caf\xE9 Waltz";
const std::string kOddFile = "\xE9w3431.sty";  // not UTF-8; last in the listing

class StyleNamesTest : public WorkflowTest {
  protected:
    int LibraryIndex(const std::string& file) {
        const auto& files = g().Styles.StyleFiles;
        const auto it = std::find(files.begin(), files.end(), file);
        EXPECT_NE(it, files.end()) << file;
        return static_cast<int>(it - files.begin());
    }
    QString Boxes() { return recorder.lines().join("\n"); }
    void MakeAndWait() {
        Click(main().PictMake);
        ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString() << "\n"
                                                             << Boxes().toStdString();
    }
    // Every slot to the library's waltz, committed through the style manager as a user does.
    void CommitPlainWaltz() {
        styles::FrmSections& sections = app().frmSections();
        const int row = sections.LstStyles->row(
            sections.LstStyles->findItems(" 3/4 Waltz", Qt::MatchExactly).value(0));
        ASSERT_GE(row, 0);
        sections.SetSlotStyles(row, " 3/4 Waltz");
        sections.CmdOk_Click();
        ASSERT_EQ(app().slotTables.SectStyleIdx[0], LibraryIndex("Wz3431.sty"));
    }
    // The five slots hold these library rows, everywhere the window keeps them.
    void ExpectSlots(const std::vector<int>& rows) {
        for (int s = 0; s < 5; ++s) {
            SCOPED_TRACE(s);
            const int row = rows.at(static_cast<std::size_t>(s));
            const std::string& entry = g().Styles.StyleNames.at(static_cast<std::size_t>(row));
            EXPECT_EQ(app().slotTables.SectStyleIdx[s], row);
            EXPECT_EQ(app().slotTables.SlotStyleNames[s], entry);
            const QString shown = QString::fromLatin1(entry.data(), qsizetype(entry.size()));
            EXPECT_EQ(main().LblStyle[s]->Caption(), shown);
            EXPECT_EQ(app().frmSections().LstSectStyles->item(s)->text(), shown);
        }
    }
};

// As library row 0 on a first run and as the remembered style, the title starts the program and
// shows in every slot with its letter.
TEST_F(StyleNamesTest, ALatin1TitleStartsAsRowZeroAndAsTheRememberedStyle) {
    struct Case {
        const char* file;
        const char* remembered;  // nullptr: a first run
    };
    for (const Case& c : {Case{"0Caf31.sty", nullptr}, Case{"Zc3431.sty", "zC3431.STY"}}) {
        SCOPED_TRACE(c.file);
        fs::remove(platform::qt::IniSettingsStore::FilePath("Orvella 2426").toStdString());
        if (c.remembered != nullptr) {
            platform::qt::IniSettingsStore().SaveSetting("Orvella 2426", "RegStFName", "StFName",
                                                         c.remembered);
        }
        WriteFile(folder() / c.file, RetitledWaltz(kCafeTitle));
        ASSERT_EQ(StartCorvane(), StartupOutcome::kShown) << Boxes().toStdString();
        EXPECT_EQ(Boxes(), "");
        const int row = LibraryIndex(c.file);
        EXPECT_EQ(row, c.remembered == nullptr ? 0 : g().Styles.StyleCount() - 1);
        EXPECT_EQ(g().Styles.StyleNames[static_cast<std::size_t>(row)], kCafeEntry);
        ExpectSlots({row, row, row, row, row});
        EXPECT_EQ(main().LblStyle[0]->Caption(), kCafeShown);
        EXPECT_EQ(app().frmSections().LstStyIdx->List(g().StyleListIdx), kCafeShown);
        EndCorvane();
        fs::remove(folder() / c.file);
        recorder.clear();
    }
}

// The style manager searches the title as typed, and a pick of it reaches the slot on Ok.
TEST_F(StyleNamesTest, TheStyleManagerFindsAndCommitsALatin1Title) {
    WriteFile(folder() / "Zc3431.sty", RetitledWaltz(kCafeTitle));
    StartWithSong();
    const int cafe = LibraryIndex("Zc3431.sty");
    styles::FrmSections& sections = app().frmSections();
    sections.TxtFind->setText(QString::fromUtf8("CAF\xC3\xA9"));
    sections.CmdFind_Click();
    ASSERT_GE(sections.LstStyles->currentRow(), 0);
    EXPECT_EQ(sections.LstStyles->currentItem()->text(), kCafeShown);
    EXPECT_EQ(sections.TxtFound->text(), QString::fromUtf8("CAF\xC3\xA9"));

    sections.GetStyButtons()[1]->click();
    sections.GetStyButtons()[3]->click();
    sections.CmdOk_Click();
    EXPECT_EQ(Boxes(), "");
    ExpectSlots({0, cafe, 0, cafe, 0});
}

// A user style file and a song project keep the style by its file; loading either finds the
// title in the style manager's list and puts it back into the slots without a complaint. The
// composer takes the style like any other.
TEST_F(StyleNamesTest, UserStylesAndProjectsBringALatin1TitleBack) {
    WriteFile(folder() / "Zc3431.sty", RetitledWaltz(kCafeTitle));
    StartWithSong(8);
    LoadAndProceed();
    const int cafe = LibraryIndex("Zc3431.sty");
    const int waltz = LibraryIndex("Wz3431.sty");
    SetSlotStyles({"Zc3431.sty", "Wz3431.sty", "Zc3431.sty", "Zc3431.sty", "Wz3431.sty"});
    MakeAndWait();
    // The section list names the slots' styles with their letters.
    EXPECT_GT(main().LstSections->count(), 0);
    for (int row = 0; row < main().LstSections->count(); ++row) {
        const QString entry = main().LstSections->item(row)->text();
        EXPECT_TRUE(entry.endsWith(kCafeShown) || entry.endsWith(" 3/4 Waltz"))
            << entry.toStdString();
    }

    styles::FrmSaveSetting& saver = app().frmSaveSetting();
    const std::string setting = (folder() / "cafe.set").string();
    struct Way {
        const char* name;
        std::function<void()> save;
        std::function<void()> load;
    };
    const Way ways[] = {
        {"user style",
         [&] {
             saver.TxtSettingPathName->setText(QString::fromStdString(setting));
             saver.CmdSave_Click();
         },
         [&] { EXPECT_TRUE(saver.LoadStySetting(setting, "cafe.set")); }},
        {"song project",
         [&] {
             main().TxtOutName->setText("cafe.qxs");
             main().SaveOutput(true);
         },
         [&] {
             main().TxtInName->setText(QString::fromStdString((folder() / "cafe.qxs").string()));
             Click(main().PictLoad);
             EXPECT_TRUE(WaitCaption("QXs-Data load completed.")) << Caption().toStdString();
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        way.save();
        CommitPlainWaltz();
        ExpectSlots({waltz, waltz, waltz, waltz, waltz});
        recorder.clear();
        way.load();
        EXPECT_EQ(Boxes(), "");
        ExpectSlots({cafe, waltz, cafe, cafe, waltz});
    }
}

// A style file whose name is not UTF-8: Make hands the composer that very name, and the file
// composes as the library style it copies; the exit remembers it and the next start restores it.
TEST_F(StyleNamesTest, AStyleFileNamedInAnotherEncodingIsMadeAndRemembered) {
    WriteFile(folder() / kOddFile, RetitledWaltz("Odd: 3/4 Odd Waltz"));
    StartWithSong(8);
    LoadAndProceed();
    SetSlotStyles({"Wz3431.sty", "Wz3431.sty", "Wz3431.sty", "Wz3431.sty", "Wz3431.sty"});
    MakeAndWait();
    const std::vector<std::uint8_t> plain = g().Output.OutputBuf();

    SetSlotStyles({kOddFile, kOddFile, kOddFile, kOddFile, kOddFile});
    MakeAndWait();
    EXPECT_EQ(Boxes(), "");
    // The same song, but for the styles' codes, which the output names from the file names.
    std::string expected(plain.begin(), plain.end());
    const std::string codes = "Zq-Wz34Wz34Wz34Wz34Wz34";
    const std::size_t at = expected.find(codes);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, codes.size(), "Zq-\xE9w34\xE9w34\xE9w34\xE9w34\xE9w34");
    const std::vector<std::uint8_t> made = g().Output.OutputBuf();
    EXPECT_EQ(std::string(made.begin(), made.end()), expected);

    const int odd = LibraryIndex(kOddFile);
    ASSERT_NE(odd, 0);  // a fall-back to row 0 is no restore
    emit main().PictExit->MouseUp();
    EndCorvane();
    ASSERT_EQ(StartCorvane(), StartupOutcome::kShown);
    EXPECT_EQ(Boxes(), "");
    EXPECT_EQ(app().slotTables.SectStyleIdx[0], odd);
    EXPECT_EQ(app().slotTables.SectStyleIdx[4], odd);
    EXPECT_EQ(main().LblStyle[0]->Caption(), " 3/4 Odd Waltz");
}

}  // namespace
}  // namespace corvane::testing
