// File names that are not UTF-8 (a byte 0xE9 alone, as a Latin-1 system writes "é"): every file
// the file dialog lists opens from its text, through each of the dialog's callers, the input
// name, Load In, the melody importer, the input test, the chord and style files and the saves;
// and the program, its workers and its help run in a folder with such a name.
#include <QApplication>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <set>

#include "frontend/editors/chord_data.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/shell/ui/skin_face.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/file_names.h"
#include "tests/frontend/core/file_commands_fixture.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using platform::qt::FileNameBytes;
using platform::qt::FileNameText;

const std::string kSong = "Valse d'\xE9t\xE9.mid";  // "Valse d'été.mid" in Latin-1

class FileNamesTest : public FileCommandsTest {
  protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        fs::create_directory(Songs());
    }
    fs::path Songs() const { return folder() / "chansons \xE0 moi"; }
    // Chooses `name` in the songs' folder as a click on its row of the dialog's list does.
    void Choose(const std::string& name) {
        ASSERT_TRUE(dialog().ChangeFolder(Songs().string()));
        const std::vector<std::string> files =
            platform::qt::ListFolder(Songs().string(), dialog().Pattern());
        const auto row = std::find(files.begin(), files.end(), name);
        ASSERT_NE(row, files.end());
        ASSERT_EQ(dialog().FileList->count(), static_cast<int>(files.size()));
        dialog().FileList->setCurrentRow(static_cast<int>(row - files.begin()));
        ASSERT_EQ(FileNameBytes(dialog().TxtFileName->text()), name);
    }
    bool WaitCaption(const QString& caption) {
        return WaitUntil([&] { return main().LblInName->Caption() == caption; }, 20000);
    }
    // Names in the songs' folder.
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(Songs()))
            names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(FileNamesTest, ASongTheDialogListsIsLoadedImportedAndTested) {
    const Bytes song = WaltzInG(8);
    WriteFile(Songs() / kSong, song);
    main().BrowseInput();
    Choose(kSong);
    dialog().CmdOk_Click();
    const std::string path = (Songs() / kSong).string();
    EXPECT_EQ(FileNameBytes(main().TxtInName->text()), path);

    main().CmdGetNote_Click();
    ASSERT_TRUE(WaitCaption("<Load In> command complete."))
        << recorder.lines().join("\n").toStdString();
    EXPECT_EQ(ReadBytes(folder() / "InPut.bin"), song);
    EXPECT_EQ(g().SongTitle, "Valse d'\xE9t\xE9");

    main().OpenMelodyImporter();
    EXPECT_EQ(ReadBytes(folder() / "InpMel.bin"), song);
    app().frmQuenby().hide();

    main().TestInput();
    EXPECT_EQ(sequencer.Lines().front(), "MMControl2 Open " + path);
    EXPECT_NE(main().MMControl2->DeviceID(), 0);
    main().TestInput();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(FileNamesTest, ChordAndStyleFilesTheDialogListsAreLoadedAndSavedUnderTheirOwnNames) {
    // The chord data of 8 measures, as the chord maker's last run counted them.
    std::vector<editors::ChordGridRow> rows(8, {"C", "G7", "0", "0", "", ""});
    editors::KeptDigits kept{};
    kept.fill('0');
    const editors::ChordDataWrite plain = editors::BuildChordData(rows, kept);
    ASSERT_FALSE(plain.error);
    const std::string chords = "accords \xE9t\xE9.chd";
    WriteFile(Songs() / chords, editors::EncodeChordData(plain.plain, editors::kFixedChordKey));
    g().MakerMsCount = 8;

    editors::FrmChord& editor = app().frmChord();
    main().fileCommands().BrowseUserChordFile();
    Choose(chords);
    dialog().CmdOk_Click();
    editor.CmdLoadUsr_Click();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_EQ(g().ChordMsCount, 8);
    // Saved again under the name it came from, not under a name of replacement characters.
    editor.CmdSaveUsr->setEnabled(true);
    recorder.Answer(platform::qt::MsgResult::kOk);
    editor.CmdSaveUsr_Click();
    EXPECT_EQ(recorder.lines().size(), 1);  // "Overwrite ... ?"
    EXPECT_EQ(Listing(), std::set<std::string>{chords});
    EXPECT_EQ(ReadBytes(Songs() / chords), ReadBytes(folder() / "Data.aco"));

    // A user style saved under such a name, then loaded through the dialog.
    recorder.clear();
    const std::string style = "r\xE9glages.set";
    styles::FrmSaveSetting& settings = app().frmSaveSetting();
    settings.TxtSettingPathName->setText(FileNameText((Songs() / style).string()));
    settings.CmdSave_Click();
    ASSERT_TRUE(fs::exists(Songs() / style));
    settings.TxtSettingPathName->clear();
    main().fileCommands().CmdLoadSet_Click();
    Choose(style);
    dialog().CmdOk_Click();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_EQ(FileNameBytes(settings.TxtSettingPathName->text()), (Songs() / style).string());
    EXPECT_EQ(Listing(), (std::set<std::string>{chords, style}));
}

TEST_F(FileNamesTest, AnOutputSavedOverAListedFileKeepsItsName) {
    MakeOutput();
    WriteFile(Songs() / kSong, "an earlier output");
    main().TxtOutName->setText("");
    main().SaveOutput(false);
    Choose(kSong);
    recorder.Answer(platform::qt::MsgResult::kOk);
    dialog().CmdOk_Click();
    EXPECT_EQ(ReadBytes(Songs() / kSong), Output());
    EXPECT_EQ(FileNameBytes(main().TxtOutName->text()), (Songs() / kSong).string());
    // The output name as the dialog left it saves to the same file.
    WriteFile(Songs() / kSong, "changed");
    recorder.Answer(platform::qt::MsgResult::kOk);
    main().SaveOutput(true);
    EXPECT_EQ(ReadBytes(Songs() / kSong), Output());
    EXPECT_EQ(Listing(), std::set<std::string>{kSong});
    EXPECT_EQ(recorder.lines().size(), 2);  // the two questions before replacing
}

// The program folder's own name is not UTF-8: the dialog starts in it, the workers start from
// it and the help pages open from it.
class FolderNameTest : public CorvaneTest {
  protected:
    fs::path StartInFolder() {
        const fs::path program = folder().parent_path() / "programme \xE9t\xE9";
        fs::create_directory(program);
        PrepareProgramFolder(program);
        fs::current_path(program);
        EXPECT_EQ(StartCorvane(), StartupOutcome::kShown);
        return program;
    }
    QTextBrowser* HelpWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "HelpWindow") return qobject_cast<QTextBrowser*>(widget);
        }
        return nullptr;
    }
};

TEST_F(FolderNameTest, TheProgramRunsInAFolderWhoseNameIsNotUtf8) {
    const fs::path program = StartInFolder();
    ASSERT_FALSE(HasFailure());
    WriteFile(program / "waltz.mid", WaltzInG(8));
    EXPECT_EQ(app().g.AppFolder, program.string());
    EXPECT_EQ(app().frmSelectFile().Folder(), program.string());
    main().TxtInName->setText("waltz.mid");
    main().CmdGetNote_Click();
    EXPECT_TRUE(WaitUntil(
        [&] { return main().LblInName->Caption() == "<Load In> command complete."; }, 20000))
        << main().LblInName->Caption().toStdString();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(FolderNameTest, TheHelpPagesOpenAndLeadOnInAFolderWhoseNameIsNotUtf8) {
    StartInFolder();
    ASSERT_FALSE(HasFailure());
    shell::SkinFace* help = main().PictHelp;
    const QPoint inside(help->width() / 2, help->height() / 2);
    QTest::mouseMove(help, inside);
    QTest::mouseClick(help, Qt::LeftButton, Qt::NoModifier, inside);
    QTextBrowser* window = HelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->toPlainText().contains("Making an accompaniment with Orvella"))
        << window->toPlainText().left(200).toStdString();

    // The first link of the page, followed from the keyboard, opens its page from the same
    // folder.
    const QUrl first = window->source();
    window->setFocus();
    QTest::keyClick(window, Qt::Key_Tab);
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_NE(window->source(), first);
    EXPECT_FALSE(window->toPlainText().trimmed().isEmpty())
        << window->source().toString().toStdString();
    EXPECT_FALSE(window->documentTitle().isEmpty());
}

}  // namespace
}  // namespace corvane::testing
