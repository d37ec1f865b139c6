// A song project through the real workers: the waltz loaded, proceeded and made, saved as a
// MIDI file and as a project; the style settings then changed so that only the project can
// bring them back; the project loaded again and made at once, without Proceed, gives the same
// song.
#include <fstream>

#include "frontend/core/ui/file_commands.h"
#include "frontend/editors/chord_data.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/worker_timeout.h"
#include "tests/frontend/support/fake_workers.h"
#include "tests/frontend/support/program_files.h"
#include "tests/frontend/support/workflow_harness.h"
#include "tests/support/song_builder.h"

namespace corvane::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ProjectRoundTripTest : public WorkflowTest {
  protected:
    void MakeAndWait() {
        Click(main().PictMake);
        ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
        ASSERT_TRUE(g().OutputReady);
    }
    void SaveDirect(const std::string& name) {
        main().TxtOutName->setText(QString::fromStdString(name));
        main().SaveOutput(true);
    }
    void LoadFrom(const std::filesystem::path& path) {
        main().TxtInName->setText(QString::fromStdString(path.string()));
        Click(main().PictLoad);
    }

    // The waltz loaded, proceeded and made (its output in `made`), and saved as the project
    // "good.qxs" (its bytes in `good`).
    void MakeAndSaveTheWaltz() {
        StartWithSong(24);
        LoadAndProceed();
        SetWaltzStyles();
        MakeAndWait();
        made = g().Output.OutputBuf();
        SaveDirect("good.qxs");
        good = ReadAll(folder() / "good.qxs");
    }

    // What a refused project must leave of the loaded song: its files in the program folder
    // (a short fingerprint each keeps a failure readable)...
    std::vector<std::string> SongFiles() {
        std::vector<std::string> contents;
        for (const char* name :
             {"InPut.bin", "KeysData.Aco", "Data.aco", "QXsDataSet.dat", "Notes.aco"}) {
            const auto path = folder() / name;
            std::uint32_t hash = 2166136261u;
            for (std::uint8_t byte : ReadAll(path)) hash = (hash ^ byte) * 16777619u;
            contents.push_back(std::filesystem::exists(path)
                                   ? std::string(name) + " " + std::to_string(hash)
                                   : std::string(name) + " missing");
        }
        return contents;
    }
    // ... and the window's state of it.
    std::vector<std::string> SongWindow() {
        const auto items = [](const QListWidget* list) {
            QStringList lines;
            for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
            return lines.join('|').toStdString();
        };
        const auto on = [](const QWidget* control) { return control->isEnabled() ? "on" : "off"; };
        return {
            "caption " + Caption().toStdString(),
            "key " + main().LblMusicType->Caption().toStdString(),
            "meter " + workflow().SongTimeSig + " " + std::to_string(workflow().SongTempo),
            "title " + g().SongTitle,
            "steps " + std::to_string(g().LoadDone) + std::to_string(g().ProceedDone) +
                std::to_string(g().SongFromProject),
            "chord key " + std::to_string(g().MyVmCode),
            "measures " + std::to_string(g().ChordMsCount) + " " +
                std::to_string(g().MakerMsCount) + " " +
                main().LblTotalMCnt->Caption().toStdString(),
            "bars " + items(main().LstHa),
            "chords " + items(app().frmChord().LstTemp),
            std::string("buttons ") + on(main().PictLoad) + on(main().PictProc) +
                on(main().PictMake) + on(main().PictSave) + on(main().PictSOut) +
                on(main().CmdTestOut),
            "output " + std::to_string(g().OutputReady) +
                (g().Output.OutputBuf() == made ? " made" : " changed"),
        };
    }

    Bytes made;
    Bytes good;
};

TEST_F(ProjectRoundTripTest, AProjectLoadsBackItsChordsAndStylesAndMakesTheSameSong) {
    StartWithSong(24);
    LoadAndProceed();
    SetWaltzStyles();
    styles::SlotTables& tables = app().slotTables;
    tables.PartVol(2, 1) = 90;
    tables.PartMode(2, 1) = 0;
    tables.PartSustain(2, 1) = 1;
    tables.PartMode(1, 3) = 2;
    tables.SectVol[3] = 70;
    main().LblEcho[0]->SetCaption("050");
    main().CanGatEcho[0]->SetValue(4);
    MakeAndWait();

    SaveDirect("song.mid");
    SaveDirect("song.QXS");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    const Bytes saved = ReadAll(folder() / "song.mid");
    ASSERT_EQ(saved, g().Output.OutputBuf());
    ASSERT_TRUE(std::filesystem::exists(folder() / "song.QXS"));
    const styles::SlotTables before = tables;

    // Everything the project keeps is changed or gone, as after a fresh start.
    SetSlotStyles({"Wz3431.sty", "Sw3412.sty", "Jw3430.sty", "Wz3431.sty", "Sw3412.sty"});
    for (int s = 0; s < 5; ++s) {
        tables.SectVol[s] = 100;
        for (int p = 0; p < 5; ++p) {
            tables.PartVol(s, p) = 127;
            tables.PartMode(s, p) = 0;
            tables.PartSustain(s, p) = 0;
        }
    }
    main().CanGatEcho[0]->SetValue(0);
    g().MyVmCode = 0;
    std::filesystem::remove(folder() / "Data.aco");
    main().LstHa->clear();

    // The direct saves made the program folder current; a project loads from anywhere.
    std::filesystem::current_path(folder() / "songs");
    main().TxtInName->setText(QString::fromStdString((folder() / "song.QXS").string()));
    Click(main().PictLoad);
    ASSERT_TRUE(WaitCaption("QXs-Data load completed.")) << Caption().toStdString();
    EXPECT_TRUE(g().LoadDone);
    EXPECT_TRUE(g().ProceedDone);
    EXPECT_TRUE(g().SongFromProject);
    EXPECT_EQ(g().SongTitle, "song");
    EXPECT_EQ(main().LstHa->count(), 24);
    EXPECT_EQ(tables.SectStyleIdx, before.SectStyleIdx);
    EXPECT_EQ(tables.SectVol, before.SectVol);
    EXPECT_EQ(tables.PartVol(2, 1), 90);
    EXPECT_EQ(tables.PartSustain(2, 1), 1);
    EXPECT_EQ(tables.PartMode(1, 3), 2);
    EXPECT_EQ(main().CanGatEcho[0]->Value(), 4);
    EXPECT_TRUE(main().PictMake->isEnabled());

    // Make at once, without Proceed.
    MakeAndWait();
    EXPECT_EQ(g().Output.OutputBuf(), saved);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

// The pieces of a saved project (see song_project.h), so that a test can put a bad one in
// place of one of them and keep the project's structure whole.
struct ProjectPieces {
    Bytes song;
    std::uint8_t key = 0;
    Bytes chordData;
    Bytes styleBlock;
};

std::uint32_t BigEndian32(const Bytes& bytes, std::size_t at) {
    return std::uint32_t{bytes.at(at)} << 24 | std::uint32_t{bytes.at(at + 1)} << 16 |
           std::uint32_t{bytes.at(at + 2)} << 8 | std::uint32_t{bytes.at(at + 3)};
}

void AppendBigEndian32(Bytes& out, std::size_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

ProjectPieces SplitProject(const Bytes& project) {
    ProjectPieces pieces;
    const std::size_t songLength = BigEndian32(project, 8);
    const auto song = project.begin() + 12;
    pieces.song.assign(song, song + static_cast<std::ptrdiff_t>(songLength));
    pieces.key = project.at(12 + songLength);
    const std::size_t chordLength = BigEndian32(project, 13 + songLength);
    const auto chords = project.begin() + static_cast<std::ptrdiff_t>(17 + songLength);
    pieces.chordData.assign(chords, chords + static_cast<std::ptrdiff_t>(chordLength));
    pieces.styleBlock.assign(chords + static_cast<std::ptrdiff_t>(chordLength), project.end());
    return pieces;
}

Bytes JoinProject(const ProjectPieces& pieces) {
    Bytes project = {'Q', 'X', 'S', '-', 'D', 'a', 't', 'a'};
    AppendBigEndian32(project, pieces.song.size());
    project.insert(project.end(), pieces.song.begin(), pieces.song.end());
    project.push_back(pieces.key);
    AppendBigEndian32(project, pieces.chordData.size());
    project.insert(project.end(), pieces.chordData.begin(), pieces.chordData.end());
    project.insert(project.end(), pieces.styleBlock.begin(), pieces.styleBlock.end());
    return project;
}

Bytes Text(std::string_view text) {
    return {text.begin(), text.end()};
}

// A waltz in G major (one sharp) whose last note is C: the loader reads it, but its key is none
// the window knows.
Bytes WaltzEndingOnC() {
    testsupport::SimpleSong song;
    song.numerator = 3;
    song.keySign = 1;
    song.tempo = 625000;
    const int melody[] = {67, 71, 74, 72, 71, 69, 67, 60};
    for (int i = 0; i < 8; ++i) song.notes.push_back({i * 576, i * 576 + 500, melody[i], 90});
    return testsupport::BuildSong(song);
}

// A project that turns out bad when Load In reads it costs nothing of the song loaded before:
// its files, its chord list, its key, its output and the steps done stay, and it is made as if
// nothing happened. That holds for a project cut or not a project at all, and for a whole one
// whose song the song loader refuses or whose chord data does not read.
TEST_F(ProjectRoundTripTest, ARefusedProjectLeavesTheLoadedSongAsItWas) {
    MakeAndSaveTheWaltz();
    const ProjectPieces pieces = SplitProject(good);
    ASSERT_EQ(JoinProject(pieces), good);
    const std::vector<std::string> filesBefore = SongFiles();
    const std::vector<std::string> windowBefore = SongWindow();

    Bytes cut = {'Q', 'X', 'S', '-', 'D', 'a', 't', 'a', 0, 0, 0, 20};
    cut.resize(cut.size() + 10, 'x');
    const auto withSong = [&](Bytes song) {
        ProjectPieces bad = pieces;
        bad.song = std::move(song);
        return JoinProject(bad);
    };
    const auto withChords = [&](Bytes chordData, int key) {
        ProjectPieces bad = pieces;
        bad.chordData = std::move(chordData);
        bad.key = static_cast<std::uint8_t>(key);
        return JoinProject(bad);
    };
    Bytes formatZero = pieces.song;
    formatZero.at(9) = 0;
    const Bytes plainChords = editors::DecodeChordData(pieces.chordData, pieces.key);
    const char* const kChordsRefused =
        "critical|Orvella|Load false. Invalid Chord Data. You may have an incorrect version of "
        "Tressil installed.";
    const struct {
        const char* name;
        Bytes bytes;
        std::vector<const char*> boxes;
        bool importerOpens = false;
    } cases[] = {
        {"wrong magic",
         Bytes(40, 'x'),
         {"critical|Orvella|Error: Bad File Description in the .qxs file"}},
        {"cut", cut, {"critical|Orvella|Error: The data in the .qxs file is invalid."}},
        {"song piece not a song",
         withSong(Text("not a song")),
         {"critical|Orvella|No MThd Found. The input file is not a valid Midi File."}},
        {"song in a key the window does not know",
         withSong(WaltzEndingOnC()),
         {"critical|Orvella|Cannot understand the Key of the Music. Please try to:\\n- Verify "
          "Key-Signature and Last Note in the song,\\n- Transpose your song into another Key.\\n- "
          "Start the Melody Importer to convert your song."}},
        // The loader's "!" refusal offers the melody importer, as for a song file.
        {"song of format 0", withSong(formatZero), {}, true},
        {"chord piece not chord data",
         withChords(editors::EncodeChordData(Text("not chord data;"), pieces.key), pieces.key),
         {"critical|Orvella|Error found: <not chord data;>, Len = 15, line No 0, last <>, "
          "ByteNo = 16",
          kChordsRefused}},
        {"chord piece without a record",
         withChords(editors::EncodeChordData(Text("no record here"), pieces.key), pieces.key),
         {"critical|Orvella|Error: Invalid number of measures.", kChordsRefused}},
        {"chord data key 0",
         withChords(editors::EncodeChordData(plainChords, 0), 0),
         {"critical|Orvella|Fatal Error: MyVmCode = 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(folder() / "songs" / "bad.qxs", c.bytes);
        recorder.clear();
        LoadFrom(folder() / "songs" / "bad.qxs");
        ASSERT_TRUE(WaitUntil([&] { return g().CmdRunning == 0; }, 20000));
        std::vector<std::string> boxes;
        for (const QString& box : recorder.lines()) boxes.push_back(box.toStdString());
        EXPECT_EQ(boxes, std::vector<std::string>(c.boxes.begin(), c.boxes.end()));
        EXPECT_EQ(app().frmQuenby().isVisible(), c.importerOpens);
        app().frmQuenby().hide();
        EXPECT_EQ(SongFiles(), filesBefore);
        EXPECT_EQ(SongWindow(), windowBefore);
    }
    recorder.clear();
    MakeAndWait();
    EXPECT_EQ(g().Output.OutputBuf(), made);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();

    // A song that came from a project stays one: Proceed still asks before it replaces the
    // project's chords.
    LoadFrom(folder() / "good.qxs");
    ASSERT_TRUE(WaitCaption("QXs-Data load completed.")) << Caption().toStdString();
    ASSERT_TRUE(g().SongFromProject);
    WriteFile(folder() / "songs" / "bad.qxs", withSong(Text("not a song")));
    LoadFrom(folder() / "songs" / "bad.qxs");
    ASSERT_TRUE(WaitUntil([&] { return g().CmdRunning == 0; }, 20000));
    EXPECT_TRUE(g().SongFromProject);
    EXPECT_TRUE(g().LoadDone && g().ProceedDone);
    EXPECT_EQ(g().SongTitle, "good");
}

// A project's song loader that does not answer times out as any Load In does, and the loaded
// song stays.
TEST_F(ProjectRoundTripTest, AProjectWhoseSongLoaderNeverAnswersTimesOutAndLeavesTheLoadedSong) {
    MakeAndSaveTheWaltz();
    const std::vector<std::string> filesBefore = SongFiles();
    std::vector<std::string> windowBefore = SongWindow();
    InstallFakeWorker(folder(), "Ambrel", "code=none\n");
    platform::qt::SetWorkerTimeoutForTests(300);
    recorder.clear();
    LoadFrom(folder() / "good.qxs");
    EXPECT_EQ(g().CmdRunning, kLoadInCommand);
    ASSERT_TRUE(WaitCaption("<Load In> command time out.", 5000)) << Caption().toStdString();
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Time Out error. Command aborted.\\nYou may have an "
                          "incorrect version of Ambrel, Tressil or Compose installed."});
    EXPECT_EQ(g().CmdRunning, 0);
    EXPECT_EQ(SongFiles(), filesBefore);
    windowBefore.front() = "caption <Load In> command time out.";
    EXPECT_EQ(SongWindow(), windowBefore);
}

}  // namespace
}  // namespace corvane::testing
