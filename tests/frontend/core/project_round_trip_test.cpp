// A song project through the real workers: the waltz loaded, proceeded and made, saved as a
// MIDI file and as a project; the style settings then changed so that only the project can
// bring them back; the project loaded again and made at once, without Proceed, gives the same
// song.
#include <fstream>

#include "frontend/core/ui/file_commands.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/styles/ui/frm_sections.h"
#include "tests/frontend/support/program_files.h"
#include "tests/frontend/support/workflow_harness.h"

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

// A project that turns out bad when Load In reads it costs nothing of the song loaded before:
// its files, its chord list and the steps done stay, and it is made as if nothing happened.
TEST_F(ProjectRoundTripTest, ARefusedProjectLeavesTheLoadedSongAsItWas) {
    StartWithSong(24);
    LoadAndProceed();
    SetWaltzStyles();
    const char* const kept[] = {"InPut.bin", "KeysData.Aco", "Data.aco", "Notes.aco"};
    std::vector<Bytes> files;
    for (const char* name : kept) {
        ASSERT_TRUE(std::filesystem::exists(folder() / name)) << name;
        files.push_back(ReadAll(folder() / name));
    }
    const QString caption = Caption();
    const int key = g().MyVmCode;
    std::vector<QString> bars;
    for (int row = 0; row < main().LstHa->count(); ++row)
        bars.push_back(main().LstHa->item(row)->text());

    Bytes cut = {'Q', 'X', 'S', '-', 'D', 'a', 't', 'a', 0, 0, 0, 20};
    cut.resize(cut.size() + 10, 'x');
    const struct {
        const char* name;
        Bytes bytes;
        const char* box;
    } cases[] = {
        {"wrong magic", Bytes(40, 'x'),
         "critical|Orvella|Error: Bad File Description in the .qxs file"},
        {"cut", cut, "critical|Orvella|Error: The data in the .qxs file is invalid."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(folder() / "songs" / "bad.qxs", c.bytes);
        main().TxtInName->setText(QString::fromStdString((folder() / "songs/bad.qxs").string()));
        recorder.clear();
        Click(main().PictLoad);
        EXPECT_EQ(recorder.lines(), QStringList{c.box});
        for (std::size_t i = 0; i < files.size(); ++i)
            EXPECT_EQ(ReadAll(folder() / kept[i]), files[i]) << kept[i];
        EXPECT_EQ(g().CmdRunning, 0);
        EXPECT_TRUE(g().LoadDone);
        EXPECT_TRUE(g().ProceedDone);
        EXPECT_FALSE(g().SongFromProject);
        EXPECT_EQ(g().SongTitle, "waltz");
        EXPECT_EQ(g().MyVmCode, key);
        EXPECT_EQ(Caption(), caption);
        EXPECT_EQ(main().LblTotalMCnt->Caption(), "024");
        ASSERT_EQ(main().LstHa->count(), static_cast<int>(bars.size()));
        for (std::size_t row = 0; row < bars.size(); ++row)
            EXPECT_EQ(main().LstHa->item(static_cast<int>(row))->text(), bars[row]);
        EXPECT_EQ(app().frmChord().LstTemp->count(), 24);
        EXPECT_TRUE(main().PictLoad->isEnabled() && main().PictProc->isEnabled() &&
                    main().PictMake->isEnabled());
    }
    recorder.clear();
    MakeAndWait();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

}  // namespace
}  // namespace corvane::testing
