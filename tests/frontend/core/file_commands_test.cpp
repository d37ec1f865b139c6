// Saving the output as a MIDI file or a song project, directly and through the file dialog, the
// refusals that leave the destination as it was, and unpacking a project for Load In.
#include <unistd.h>

#include "frontend/core/song_project.h"
#include "frontend/styles/ui/frm_sections.h"
#include "tests/frontend/core/file_commands_fixture.h"
#include "tests/frontend/support/crlf_lines.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const char* const kNoOutputBox =
    "information|Orvella|No Output to Save.\\nPlease run Make to create an output.";
const char* const kChordDataBox =
    "critical|Orvella|AcoDataLen Error: Cannot read chord data from file. The output not saved.";

QString CannotSaveBox(const std::string& path) {
    return QString::fromStdString("critical|Orvella|Cannot save file:\\n" + path +
                                  "\\nPlease verify Output Path Name and try again.");
}

QString ReplaceBox(const std::string& path) {
    return QString::fromStdString("question|Orvella|The file:\\n " + path +
                                  "\\nalready exit. Click <Ok> to overwrite, or <Cancel> to "
                                  "abort:");
}

// Names in the folder other than those the program folder starts with.
std::vector<std::string> TemporaryFiles(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".tmp-") != std::string::npos) names.push_back(name);
    }
    return names;
}

class SavingTest : public FileCommandsTest {
  protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        MakeOutput();
    }
    void SaveDirect(const std::string& name) {
        main().TxtOutName->setText(QString::fromStdString(name));
        main().PictSave->setEnabled(true);
        main().SaveOutput(true);
    }
};

TEST_F(FileCommandsTest, NothingIsSavedBeforeAnOutputExists) {
    main().TxtOutName->setText("song");
    for (const bool direct : {true, false}) {
        recorder.clear();
        main().SaveOutput(direct);
        EXPECT_EQ(recorder.lines(), QStringList{kNoOutputBox});
        EXPECT_FALSE(dialog().isVisible());
    }
    EXPECT_FALSE(fs::exists(folder() / "song.mid"));
}

TEST_F(SavingTest, ADirectSaveWritesTheOutputIntoTheProgramFolder) {
    fs::create_directory(folder() / "elsewhere");
    fs::current_path(folder() / "elsewhere");
    SaveDirect("  song ");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_EQ(ReadBytes(folder() / "song.mid"), Output());
    EXPECT_EQ(files().OutputSavePath, "song.mid");
    EXPECT_FALSE(main().PictSave->isEnabled());
    EXPECT_TRUE(TemporaryFiles(folder()).empty());

    // A new name makes Save usable again; a blank one is refused with its notice.
    main().TxtOutName->setText("other");
    EXPECT_TRUE(main().PictSave->isEnabled());
    SaveDirect("   ");
    EXPECT_EQ(recorder.lines(), QStringList{"information|Orvella|No Path Name to Save Output.\\n"
                                            "Please enter the Output Path Name for the output "
                                            "songs."});
}

// The help's first page says what the small save button does and when it can be used; the
// window does just that. A click saves straight to the name in the box; after a save the button
// is grey and a click does nothing, until the name changes.
TEST_F(SavingTest, TheSmallSaveButtonDoesWhatTheHelpSaysOfIt) {
    const QString page =
        QString::fromStdString(ReadString(folder() / "Vessane.chm/Html/VessaneEg.htm"))
            .simplified();
    const qsizetype at = page.indexOf("The small save button");
    ASSERT_GE(at, 0);
    const QString paragraph = page.mid(at, page.indexOf("</p>", at) - at);
    EXPECT_TRUE(paragraph.contains("straight to the name in the box")) << paragraph.toStdString();
    EXPECT_TRUE(
        paragraph.contains("After a save it is grey and does nothing until you change the "
                           "name in the box or make a new output"))
        << paragraph.toStdString();
    EXPECT_FALSE(paragraph.contains("again")) << paragraph.toStdString();

    const auto click = [this] {
        if (main().PictSave->isEnabled()) emit main().PictSave->MouseUp();
    };
    // A bare name goes into the program folder, wherever the current folder is.
    fs::create_directory(folder() / "elsewhere");
    fs::current_path(folder() / "elsewhere");
    main().TxtOutName->setText("tune");
    ASSERT_TRUE(main().PictSave->isEnabled());
    click();
    EXPECT_EQ(ReadBytes(folder() / "tune.mid"), Output());
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_FALSE(main().PictSave->isEnabled());

    fs::remove(folder() / "tune.mid");
    click();
    EXPECT_FALSE(fs::exists(folder() / "tune.mid"));
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();

    main().TxtOutName->setText("tune2");
    click();
    EXPECT_EQ(ReadBytes(folder() / "tune2.mid"), Output());
    EXPECT_FALSE(main().PictSave->isEnabled());
}

TEST_F(SavingTest, ADirectProjectSaveKeepsTheSongTheChordsAndTheStyleSettings) {
    const auto& files = g().Styles.StyleFiles;
    styles::SlotTables& tables = app().slotTables;
    for (int s = 0; s < 5; ++s) tables.SectStyleIdx[s] = s;
    tables.SectVol[1] = 65;
    tables.PartMode(0, 2) = 0;
    tables.PartSustain(0, 2) = 1;
    tables.PartMode(0, 3) = 2;
    tables.PartSustain(0, 3) = 1;
    tables.PartProgram(4, 4) = 128;
    tables.AutoOctave = 1;
    main().LblEcho[0]->SetCaption("050");
    main().CanGatEcho[0]->SetValue(3);
    main().LblEcho[1]->SetCaption("121");
    main().CanGatEcho[1]->SetValue(9);

    SaveDirect("song.QXS");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    ASSERT_TRUE(fs::exists(folder() / "song.QXS"));
    EXPECT_FALSE(fs::exists(folder() / "song.QXS.mid"));
    EXPECT_FALSE(main().PictSave->isEnabled());
    const Bytes project = ReadBytes(folder() / "song.QXS");
    const UnpackedProject read = UnpackSongProject(project);
    ASSERT_EQ(read.error, ProjectReadError::kNone);

    const std::size_t head = static_cast<std::size_t>(g().Output.OutputHeadLen());
    Bytes song(Output().begin(), Output().begin() + static_cast<long>(head));
    song[11] = 2;
    EXPECT_EQ(read.input, song);
    EXPECT_EQ(Output()[11], 3);  // the output in memory keeps its track count
    EXPECT_EQ(read.myVmCode, 53);
    EXPECT_EQ(read.chordData, ReadBytes(folder() / "Data.aco"));
    const std::vector<std::string> lines = CrLfLines(read.settingText.value_or(""));
    ASSERT_EQ(lines.size(), 32u);
    for (int s = 0; s < 5; ++s) {
        EXPECT_EQ(lines[s], "\"" + files[s] + "\"," + std::to_string(tables.SectVol[s]));
    }
    const auto part = [&](int s, int p) { return lines[5 + 5 * s + p]; };
    EXPECT_EQ(part(0, 2), std::to_string(tables.PartProgram(0, 2)) + "," +
                              std::to_string(tables.PartVol(0, 2)) + ",10");
    EXPECT_EQ(part(0, 3).substr(part(0, 3).rfind(',')), ",2");
    EXPECT_EQ(part(4, 4).substr(0, 4), "128,");
    EXPECT_EQ(lines[30], "1,1");
    EXPECT_EQ(lines[31], "50,3,121,9");
}

TEST_F(SavingTest, TheSaveDialogProposesANameAndItsSaveWritesThere) {
    main().TxtOutName->setText("");
    main().SaveOutput(false);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().windowTitle(), "Save output as *.mid, *.qxs");
    EXPECT_EQ(dialog().TxtFileName->text(), "Accompanied_Song.mid");
    EXPECT_EQ(dialog().Pattern(), "*.mid");
    EXPECT_EQ(dialog().TagOpt, "output");
    EXPECT_EQ(dialog().CmdOk->text(), "Save");
    EXPECT_TRUE(dialog().CmdOk->isEnabled());
    EXPECT_EQ(dialog().LblFName->text(), "Type in a file name to save:");
    EXPECT_FALSE(dialog().TxtFileName->isReadOnly());
    EXPECT_FALSE(dialog().CmdDelete->isVisible());
    EXPECT_TRUE(dialog().OptQXs->isVisible() && dialog().OptMid->isVisible() &&
                dialog().LblFileType->isVisible());
    EXPECT_EQ(dialog().Folder(), folder().string());
    dialog().CmdOk_Click();
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(ReadBytes(folder() / "Accompanied_Song.mid"), Output());
    EXPECT_EQ(main().TxtOutName->text().toStdString(), InFolder("Accompanied_Song.mid"));
    EXPECT_TRUE(dialog().TagOpt.isEmpty());

    // With the project option the bare output name gets ".qxs"; a typed name gets it unless it
    // has it in any letter case.
    dialog().OptQXs->setChecked(true);
    const struct {
        const char* typed;
        const char* saved;
    } cases[] = {{"Tune", "Tune.qxs"}, {"Tune.QXS", "Tune.QXS"}, {"", "Orvella_Data.qxs"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        main().TxtOutName->setText("/music/Tune.mid");
        main().SaveOutput(false);
        EXPECT_EQ(dialog().TxtFileName->text(), "Tune.qxs");
        EXPECT_EQ(dialog().Pattern(), "*.qxs");
        if (*c.typed != '\0') {
            dialog().TxtFileName->setText(c.typed);
        } else {
            main().TxtOutName->setText("");
            main().SaveOutput(false);
        }
        dialog().CmdOk_Click();
        EXPECT_EQ(UnpackSongProject(ReadBytes(folder() / c.saved)).error, ProjectReadError::kNone);
        EXPECT_EQ(main().TxtOutName->text().toStdString(), InFolder(c.saved));
    }
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(SavingTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
    for (const bool project : {false, true}) {
        const std::string name = project ? "song.qxs" : "song.mid";
        SCOPED_TRACE(name);
        WriteFile(folder() / name, "another song's accompaniment");
        const auto kept = [&] {
            return ReadString(folder() / name) == "another song's accompaniment";
        };

        // The last output's name saved directly: the question's default keeps the file.
        recorder.clear();
        SaveDirect(name);
        EXPECT_EQ(recorder.lines(), QStringList{ReplaceBox(name)});
        EXPECT_TRUE(kept());
        EXPECT_TRUE(main().PictSave->isEnabled());

        // Through the dialog: keeping the file keeps the dialog as it was.
        dialog().OptQXs->setChecked(project);
        main().TxtOutName->setText("last");
        main().SaveOutput(false);
        dialog().TxtFileName->setText(QString::fromStdString(name));
        recorder.clear();
        dialog().CmdOk_Click();
        EXPECT_EQ(recorder.lines(), QStringList{ReplaceBox(InFolder(name))});
        EXPECT_TRUE(kept());
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_EQ(dialog().TagOpt, "output");
        EXPECT_EQ(dialog().TxtFileName->text().toStdString(), name);
        EXPECT_EQ(dialog().Pattern(), project ? "*.qxs" : "*.mid");
        EXPECT_EQ(main().TxtOutName->text(), "last");
        EXPECT_TRUE(main().PictSave->isEnabled());

        // A yes replaces it.
        recorder.Answer(platform::qt::MsgResult::kOk);
        dialog().CmdOk_Click();
        EXPECT_FALSE(dialog().isVisible());
        EXPECT_FALSE(kept());
        if (project) {
            EXPECT_EQ(UnpackSongProject(ReadBytes(folder() / name)).error, ProjectReadError::kNone);
        } else {
            EXPECT_EQ(ReadBytes(folder() / name), Output());
        }
        EXPECT_EQ(main().TxtOutName->text().toStdString(), InFolder(name));
        EXPECT_FALSE(main().PictSave->isEnabled());
        EXPECT_EQ(recorder.lines(), QStringList(2, ReplaceBox(InFolder(name))));
    }
    // A new name asks nothing.
    recorder.clear();
    SaveDirect("new.mid");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_EQ(ReadBytes(folder() / "new.mid"), Output());
}

TEST_F(SavingTest, AProjectSaveChecksTheChordDataBeforeTouchingTheDestination) {
    WriteFile(folder() / "song.qxs", "previous project");
    const struct {
        const char* name;
        std::optional<std::size_t> chordBytes;
        bool saved;
    } cases[] = {
        {"too long", 10000, false},
        {"missing", std::nullopt, false},
        {"empty", 0, false},
        {"longest kept", 9999, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.clear();
        fs::remove(folder() / "Data.aco");
        if (c.chordBytes) WriteChordData(*c.chordBytes);
        // The user would say yes to replacing the earlier project, if asked.
        recorder.Answer(platform::qt::MsgResult::kOk);
        SaveDirect("song.qxs");
        if (c.saved) {
            EXPECT_EQ(recorder.lines(), QStringList{ReplaceBox("song.qxs")});
            EXPECT_EQ(UnpackSongProject(ReadBytes(folder() / "song.qxs")).chordData,
                      ReadBytes(folder() / "Data.aco"));
            EXPECT_FALSE(main().PictSave->isEnabled());
        } else {
            // Refused before the question: nobody is asked to replace a file that then stays.
            EXPECT_EQ(recorder.lines(), QStringList{kChordDataBox});
            EXPECT_EQ(ReadString(folder() / "song.qxs"), "previous project");
            EXPECT_TRUE(main().PictSave->isEnabled());
        }
    }
    EXPECT_TRUE(TemporaryFiles(folder()).empty());

    // Through the dialog the refusal keeps the dialog, as a kept file does: a MIDI file can be
    // chosen instead.
    fs::remove(folder() / "Data.aco");
    const Bytes saved = ReadBytes(folder() / "song.qxs");
    recorder.clear();
    dialog().OptQXs->setChecked(true);
    main().TxtOutName->setText("song");
    main().SaveOutput(false);
    dialog().CmdOk_Click();
    EXPECT_EQ(recorder.lines(), QStringList{kChordDataBox});
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().TxtFileName->text(), "song.qxs");
    EXPECT_EQ(main().TxtOutName->text(), "song");
    EXPECT_TRUE(ReadBytes(folder() / "song.qxs") == saved);
}

TEST_F(SavingTest, AReadOnlyDestinationIsLeftAsItWas) {
    for (const char* name : {"locked.mid", "locked.qxs"}) {
        SCOPED_TRACE(name);
        WriteFile(folder() / name, "kept");
        fs::permissions(folder() / name, fs::perms::owner_read | fs::perms::group_read);
        recorder.clear();
        SaveDirect(name);
        EXPECT_EQ(recorder.lines(),
                  QStringList{QString("critical|Orvella|File creation error: The destination "
                                      "file <%1> is read only, cannot overwrite.")
                                  .arg(name)});
        EXPECT_EQ(ReadString(folder() / name), "kept");
        EXPECT_TRUE(main().PictSave->isEnabled());
    }
}

TEST_F(SavingTest, AFailedWriteKeepsThePreviousFileAndSaysSo) {
    // A folder that does not exist, and a folder where the file should be.
    const std::string missing = InFolder("gone/song.mid");
    fs::create_directory(folder() / "taken.mid");
    for (const std::string& path : {missing, InFolder("taken.mid")}) {
        SCOPED_TRACE(path);
        recorder.clear();
        SaveDirect(path);
        EXPECT_EQ(recorder.lines(), QStringList{CannotSaveBox(path)});
        EXPECT_TRUE(main().PictSave->isEnabled());
    }
    EXPECT_FALSE(fs::exists(folder() / "gone"));
    EXPECT_TRUE(fs::is_directory(folder() / "taken.mid"));

    // A disk that fills up in the middle of the song: the previous file stays whole.
    WriteFile(folder() / "song.mid", "previous song");
    recorder.clear();
    recorder.Answer(platform::qt::MsgResult::kOk);
    {
        FileSizeLimit limit(Output().size() / 2);
        SaveDirect("song.mid");
    }
    EXPECT_EQ(recorder.lines(), (QStringList{ReplaceBox("song.mid"), CannotSaveBox("song.mid")}));
    EXPECT_EQ(ReadString(folder() / "song.mid"), "previous song");
    EXPECT_TRUE(main().PictSave->isEnabled());
    EXPECT_TRUE(TemporaryFiles(folder()).empty());
    recorder.Answer(platform::qt::MsgResult::kOk);
    SaveDirect("song.mid");
    EXPECT_EQ(ReadBytes(folder() / "song.mid"), Output());
}

// ---- Unpacking a project --------------------------------------------------------------------

class ProjectLoadTest : public SavingTest {
  protected:
    void SetUp() override {
        SavingTest::SetUp();
        SaveDirect("tune.qxs");
        ASSERT_TRUE(recorder.lines().isEmpty());
        project = ReadBytes(folder() / "tune.qxs");
        chordData = ReadBytes(folder() / "Data.aco");
        for (const char* name : {"InPut.bin", "Data.aco", "QXsDataSet.dat"}) {
            fs::remove(folder() / name);
        }
        g().MyVmCode = 0;
    }
    // Reads and unpacks the project named in the input box, as Load In does.
    bool LoadNamed() {
        const std::optional<SongProject> read = files().ReadProject();
        return read && files().UnpackProject(*read);
    }
    bool Load(const Bytes& bytes) {
        WriteFile(folder() / "songs.qxs" / "Tune.QXS", bytes);
        main().TxtInName->setText(QString::fromStdString(InFolder("songs.qxs/Tune.QXS")));
        return LoadNamed();
    }
    Bytes project;
    Bytes chordData;
};

TEST_F(ProjectLoadTest, AProjectUnpacksIntoTheExchangeFiles) {
    fs::create_directory(folder() / "songs.qxs");
    ASSERT_TRUE(Load(project));
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_EQ(main().LblInName->Caption(), "Read QXs-Data completed.");
    Bytes song(Output().begin(), Output().begin() + g().Output.OutputHeadLen());
    song[11] = 2;
    EXPECT_EQ(ReadBytes(folder() / "InPut.bin"), song);
    EXPECT_EQ(ReadBytes(folder() / "Data.aco"), chordData);
    EXPECT_EQ(g().MyVmCode, 53);
    const std::vector<std::string> lines = CrLfLines(ReadString(folder() / "QXsDataSet.dat"));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "\"" + g().Styles.StyleFiles[app().slotTables.SectStyleIdx[0]] + "\"," +
                            std::to_string(app().slotTables.SectVol[0]));
}

TEST_F(ProjectLoadTest, ADamagedProjectGetsItsMessageAndWritesNothing) {
    const std::size_t head = static_cast<std::size_t>(g().Output.OutputHeadLen());
    const std::size_t chordLengthAt = 13 + head;
    const char* const badMagic = "critical|Orvella|Error: Bad File Description in the .qxs file";
    const char* const invalid = "critical|Orvella|Error: The data in the .qxs file is invalid.";
    const struct {
        const char* name;
        std::function<void(Bytes&)> damage;
        const char* box;
    } cases[] = {
        {"bad magic", [](Bytes& b) { b[0] = 'q'; }, badMagic},
        {"shorter than the magic", [](Bytes& b) { b.resize(5); }, badMagic},
        {"song beyond the file", [](Bytes& b) { b[8] = 0x7F; }, invalid},
        {"cut after the song", [&](Bytes& b) { b.resize(12 + head); }, invalid},
        {"chord data of 0 bytes",
         [&](Bytes& b) { std::fill_n(b.begin() + static_cast<long>(chordLengthAt), 4, 0); },
         invalid},
        {"style block cut", [](Bytes& b) { b.pop_back(); }, invalid},
    };
    fs::create_directory(folder() / "songs.qxs");
    const QString caption = main().LblInName->Caption();
    // Even the pieces before a cut are whole in the file; none of them is written.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.clear();
        Bytes damaged = project;
        c.damage(damaged);
        EXPECT_FALSE(Load(damaged));
        EXPECT_EQ(recorder.lines(), QStringList{c.box});
        for (const char* name : {"InPut.bin", "Data.aco", "QXsDataSet.dat"}) {
            EXPECT_FALSE(fs::exists(folder() / name)) << name;
        }
        EXPECT_EQ(g().MyVmCode, 0);
        EXPECT_EQ(main().LblInName->Caption(), caption);
    }
    recorder.clear();
    main().TxtInName->setText(QString::fromStdString(InFolder("absent.qxs")));
    EXPECT_FALSE(LoadNamed());
    EXPECT_EQ(recorder.lines(), QStringList{badMagic});
}

TEST_F(ProjectLoadTest, AnExchangeFileThatCannotBeWrittenGetsItsMessage) {
    const struct {
        const char* blocked;
        const char* box;
    } cases[] = {
        {"InPut.bin", "critical|Orvella|Error: Could not create input data."},
        {"Data.aco", "critical|Orvella|Error: Could not create chord data."},
        {"QXsDataSet.dat", "critical|Orvella|Error: Could not create StySetting data."},
    };
    fs::create_directory(folder() / "songs.qxs");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.blocked);
        recorder.clear();
        fs::create_directory(folder() / c.blocked);
        EXPECT_FALSE(Load(project));
        EXPECT_EQ(recorder.lines(), QStringList{c.box});
        fs::remove(folder() / c.blocked);
    }
}

}  // namespace
}  // namespace corvane::testing
