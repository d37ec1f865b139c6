// Load In, Proceed and Make Output through the real workers on the waltz in G major (3/4, 96
// beats per minute), and the refusals that start no worker.
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "frontend/core/make_output.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_keys.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "tests/frontend/support/fake_workers.h"
#include "tests/frontend/support/fixture_song.h"
#include "tests/frontend/support/program_files.h"
#include "tests/frontend/support/workflow_harness.h"
#include "tests/library/midi_events.h"

namespace corvane::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Song {
    int format = -1, trackCount = -1, division = -1;
    std::vector<Bytes> tracks;  // each chunk whole, "MTrk" and length included
};

int Word(const Bytes& b, std::size_t at) {
    return b[at] << 8 | b[at + 1];
}

Song ParseChunks(const Bytes& bytes) {
    Song song;
    if (bytes.size() < 14) return song;
    song.format = Word(bytes, 8);
    song.trackCount = Word(bytes, 10);
    song.division = Word(bytes, 12);
    std::size_t at = 14;
    while (at + 8 <= bytes.size()) {
        const std::size_t length = static_cast<std::size_t>(bytes[at + 4]) << 24 |
                                   bytes[at + 5] << 16 | bytes[at + 6] << 8 | bytes[at + 7];
        if (at + 8 + length > bytes.size()) break;
        song.tracks.emplace_back(bytes.begin() + static_cast<long>(at),
                                 bytes.begin() + static_cast<long>(at + 8 + length));
        at += 8 + length;
    }
    return song;
}

TEST_F(WorkflowTest, LoadProceedAndMakeWithTheRealWorkers) {
    StartWithSong(24);
    Click(main().PictLoad);
    EXPECT_FALSE(main().PictLoad->isEnabled());
    EXPECT_EQ(Caption(), "Creating Input Data...");
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    EXPECT_EQ(main().LblMusicType->Caption(), "G  Major, Tempo=96, 3/4");
    EXPECT_EQ(g().SongTitle, "waltz");
    EXPECT_TRUE(g().LoadDone);
    EXPECT_EQ(workflow().SongTempo, 96);
    EXPECT_TRUE(main().PictLoad->isEnabled() && main().PictProc->isEnabled() &&
                main().PictMake->isEnabled());

    // The key list dialog starts empty (Load In deleted the key list) and saves what it holds.
    ProceedSaving({"001:02;G  Major"});
    EXPECT_EQ(app().frmKeys().Tag, "NoKeysChInfo");
    EXPECT_EQ(Caption(), "Creating Chords Data...");
    ASSERT_TRUE(WaitCaption("<Proceed> command complete.")) << Caption().toStdString();
    EXPECT_EQ(ReadText("KeysData.Aco"), "001:02;G  Major\r\n");
    EXPECT_GE(g().MyVmCode, 49);
    EXPECT_LE(g().MyVmCode, 57);
    EXPECT_TRUE(g().ProceedDone);
    EXPECT_EQ(g().ChordMsCount, 24);
    ASSERT_EQ(main().LstHa->count(), 24);
    EXPECT_EQ(app().frmChord().LstTemp->count(), 24);
    EXPECT_TRUE(main().LstHa->item(0)->text().startsWith("001  G"));
    EXPECT_EQ(main().LstHa->item(23)->text().left(3), "024");
    EXPECT_EQ(main().LblTotalMCnt->Caption(), "024");

    SetWaltzStyles();
    app().slotTables.PartVol(2, 1) = 90;
    app().slotTables.PartMode(2, 1) = 2;
    app().slotTables.PartSustain(2, 1) = 1;
    const std::string options = VParaText(app().slotTables);
    Click(main().PictMake);
    EXPECT_EQ(Caption(), "Creating Output Data...");
    ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
    EXPECT_EQ(ReadText("vPara.dat"), options);
    EXPECT_TRUE(g().OutputReady);
    EXPECT_FALSE(std::filesystem::exists(folder() / "ComposeOut.bin"));
    EXPECT_FALSE(std::filesystem::exists(folder() / "Temp.dat"));
    EXPECT_TRUE(main().PictSave->isEnabled() && main().PictSOut->isEnabled());
    EXPECT_TRUE(main().PictMake->isEnabled() && main().CmdTestOut->isEnabled());
    EXPECT_EQ(g().MsUnits, 12);
    EXPECT_EQ(g().HalfMsUnits, 8);

    const Song output = ParseChunks(g().Output.OutputBuf());
    const Song input = ParseChunks(WaltzInG(24));
    EXPECT_EQ(output.format, 1);
    EXPECT_EQ(output.trackCount, 12);
    EXPECT_EQ(output.division, 384);
    ASSERT_EQ(output.tracks.size(), 12u);
    EXPECT_EQ(output.tracks[0], input.tracks.at(0));
    EXPECT_EQ(output.tracks[1], input.tracks.at(1));
    EXPECT_EQ(g().Output.OutputHeadLen(),
              static_cast<std::int32_t>(14 + input.tracks[0].size() + input.tracks[1].size()));

    // The section list names each switch point's slot; the programs and volumes the composer
    // used replace the slot tables.
    ASSERT_GE(main().LstSections->count(), 2);
    const QRegularExpression entry("^\\d{3}: [1-5]- [236]/[48] .+$");
    for (int row = 0; row < main().LstSections->count(); ++row) {
        const QString line = main().LstSections->item(row)->text();
        EXPECT_TRUE(entry.match(line).hasMatch()) << line.toStdString();
        const int slot = line.mid(5, 1).toInt();
        EXPECT_EQ(line.mid(7).toStdString(), app().slotTables.SlotStyleNames[slot - 1]);
    }
    EXPECT_EQ(main().LstSections->item(0)->text().left(8), "001: 1- ");
    EXPECT_EQ(app().slotTables.PartVol(2, 1), 90);
    EXPECT_GT(app().slotTables.PartProgram(0, 0), 0);
    EXPECT_EQ(main().LblProgNum[0]->Caption(), QString::number(app().slotTables.PartProgram(0, 0)));
    EXPECT_EQ(main().LblSwPoints->Caption(), "Style switch points");
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(WorkflowTest, KeyListFileIsLoadedIntoTheDialogAndCancelStartsNoWorker) {
    StartWithSong(8);
    Click(main().PictLoad);
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    InstallFakeWorker(folder(), "Tressil", "code=53\n");
    WriteFile(folder() / "KeysData.Aco", "001:02;G  Major\r\n005:03;E  Minor\r\n");

    ProceedCancelling();
    EXPECT_EQ(app().frmKeys().Tag, "34");
    EXPECT_EQ(app().frmKeys().LstKeyUser->count(), 2);
    EXPECT_EQ(app().frmKeys().LstKeyUser->List(1), "005: E  Minor");
    EXPECT_EQ(Caption(), "<Proceed> command aborted.");
    EXPECT_EQ(g().CmdRunning, 0);
    EXPECT_FALSE(g().ProceedDone);
    EXPECT_TRUE(FakeWorkerLog(folder(), "Tressil").empty());

    // Saving an empty list refuses and keeps the dialog open.
    editors::FrmKeys& keys = app().frmKeys();
    QTimer::singleShot(0, &keys, [&keys] {
        keys.LstKeyChPoints->clear();
        keys.LstKeyUser->clear();
        keys.CmdOk_Click();
        EXPECT_EQ(keys.LblKeyFindInfo->Caption(), "There is nothing in the Key List.");
        EXPECT_TRUE(keys.isVisible());
        keys.CmdCancel_Click();
    });
    Click(main().PictProc);
    EXPECT_EQ(Caption(), "<Proceed> command aborted.");
    EXPECT_EQ(ReadText("KeysData.Aco"), "001:02;G  Major\r\n005:03;E  Minor\r\n");
}

TEST_F(WorkflowTest, StyleOfAnotherTimeSignatureIsRefusedBeforeAnythingStarts) {
    StartWithSong(8);
    LoadAndProceed();
    InstallFakeWorker(folder(), "Compose", "code=70\n");
    SetWaltzStyles();
    SetSlotStyles({"8B4431.sty", "Jw3430.sty", "Jw3430.sty", "Jw3430.sty", "Jw3430.sty"});
    recorder.clear();
    Click(main().PictMake);
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Cannot Make Style <4/4> for Song <3/4>\\n"
                          "Please choose a style with the same Timesignature as in "
                          "the input song."});
    EXPECT_TRUE(main().PictMake->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(folder() / "vPara.dat"));
    EXPECT_TRUE(FakeWorkerLog(folder(), "Compose").empty());
    EXPECT_EQ(g().CmdRunning, 0);
}

TEST_F(WorkflowTest, MakeAndProceedNeedTheStepsBefore) {
    StartWithSong(8);
    Click(main().PictMake);
    Click(main().PictProc);
    EXPECT_EQ(recorder.lines(),
              (QStringList{"information|Orvella|Please run <1.Load> and <2.Proceed> first.",
                           "information|Orvella|Please run <1.Load> first."}));
    g().LoadDone = true;
    recorder.clear();
    Click(main().PictMake);
    EXPECT_EQ(recorder.lines(), QStringList{"information|Orvella|Please run <2.Proceed> first."});
    EXPECT_TRUE(main().PictMake->isEnabled() && main().PictProc->isEnabled());
}

TEST_F(WorkflowTest, SongTheLoaderRefusesWithABangOpensTheImporter) {
    StartWithSong(8);
    Bytes formatZero = WaltzInG(8);
    formatZero[9] = 0;
    WriteFile(songPath, formatZero);
    Click(main().PictLoad);
    ASSERT_TRUE(WaitUntil([&] { return app().frmQuenby().isVisible(); }, 20000))
        << Caption().toStdString();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_EQ(Caption(), "");
    EXPECT_FALSE(g().OpenedAfterLoadFailure);
    // The refused song is the input, but the key detector is not offered for it.
    EXPECT_TRUE(std::filesystem::exists(folder() / "InPut.bin"));
    EXPECT_TRUE(app().frmQuenby().CmdLoadIn->isEnabled());
    EXPECT_FALSE(app().frmQuenby().CmdKeyDetect->isEnabled());
    EXPECT_FALSE(g().LoadDone);
    EXPECT_EQ(g().SongTitle, "");
    EXPECT_TRUE(main().PictLoad->isEnabled());

    // With the importer's button off (its dialog already at work) only the caption says so.
    app().frmQuenby().hide();
    main().PictMiVi->setEnabled(false);
    Click(main().PictLoad);
    ASSERT_TRUE(WaitCaption("Melody Importer is running..."));
    EXPECT_FALSE(app().frmQuenby().isVisible());
    EXPECT_TRUE(recorder.lines().isEmpty());
}

TEST_F(WorkflowTest, MissingOrUnnamedSongIsRefused) {
    StartWithSong(8);
    WriteFile(folder() / "InPut.bin", "earlier input");
    main().TxtInName->setText("");
    Click(main().PictLoad);
    main().TxtInName->setText(QString::fromStdString(songPath + ".gone"));
    Click(main().PictLoad);
    EXPECT_EQ(recorder.lines(),
              (QStringList{"information|Orvella|No Input File Name to load.\\n -Click <Browse> "
                           "button to find a song you want to make an accompaniment. Or\\n -Click "
                           "<Start Melody Importer> to generate some testing music without melody.",
                           QString::fromStdString("critical|Orvella|Input file not found <" +
                                                  songPath + ".gone>.")}));
    EXPECT_EQ(ReadText("InPut.bin"), "earlier input");
    EXPECT_TRUE(main().PictLoad->isEnabled());
    EXPECT_EQ(g().CmdRunning, 0);
}

TEST_F(WorkflowTest, SongChosenAsTheInputFileItselfIsKept) {
    StartWithSong(8);
    std::filesystem::copy_file(songPath, folder() / "InPut.bin");
    main().TxtInName->setText(QString::fromStdString((folder() / "InPut.bin").string()));
    Click(main().PictLoad);
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    EXPECT_EQ(main().LblMusicType->Caption(), "G  Major, Tempo=96, 3/4");
    EXPECT_EQ(g().SongTitle, "InPut");
}

// One part's program, volume and play mode, as the style panel and the mixer leave them for
// slot 1, reach that part's track of the composed song, and no other track. Each case is made
// twice: once with the part's own program and volume in the case's mode, once with the case's.
TEST_F(WorkflowTest, OnePartsSettingsReachItsTrackOfTheOutput) {
    StartWithSong(8);
    LoadAndProceed();
    SetWaltzStyles();
    Click(main().PictMake);
    ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
    ASSERT_EQ(main().LstSections->count(), 1);  // slot 1 plays the whole song
    // What the composer reported using: the styles' own programs and volumes.
    const styles::SlotTables styleOwn = app().slotTables;

    const struct {
        int part;
        int program;  // General MIDI program + 1, as the instrument list gives it
        int volume;
        int mode;
        bool louder;
    } cases[] = {
        {1, 34, 40, 0, false},
        {1, 57, 127, 1, true},
        {0, 36, 30, 0, false},
        {3, 41, 120, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "part " << c.part << ", mode " << c.mode);
        // The composed tracks follow the song's two, one a part.
        const int track = 2 + c.part;
        const auto make = [&] {
            Click(main().PictMake);
            EXPECT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
            return g().Output.OutputBuf();
        };
        app().slotTables = styleOwn;
        app().slotTables.PartMode(0, c.part) = static_cast<std::int16_t>(c.mode);
        const Bytes own = make();
        app().slotTables = styleOwn;
        app().slotTables.PartMode(0, c.part) = static_cast<std::int16_t>(c.mode);
        app().slotTables.PartProgram(0, c.part) = static_cast<std::int16_t>(c.program);
        app().slotTables.PartVol(0, c.part) = static_cast<std::int16_t>(c.volume);
        const Bytes changed = make();

        const Song ownChunks = ParseChunks(own);
        const Song changedChunks = ParseChunks(changed);
        ASSERT_EQ(changedChunks.tracks.size(), 12u);
        ASSERT_EQ(ownChunks.tracks.size(), 12u);
        for (int t = 0; t < 12; ++t) {
            if (t != track) {
                EXPECT_EQ(changedChunks.tracks[t], ownChunks.tracks[t]) << "track " << t;
            }
        }

        const auto ownSong = librarytest::ReadMidiSong(own);
        const auto changedSong = librarytest::ReadMidiSong(changed);
        ASSERT_TRUE(ownSong && changedSong);
        std::vector<int> programs, softPedal;
        std::vector<std::pair<int, int>> ownNotes, notes;  // key, velocity
        std::int64_t finalChord = 0;                       // the tick of the track's last note-on
        for (const librarytest::ChannelEvent& e : changedSong->events) {
            if (e.track != track) continue;
            if (e.kind == 0xC0) programs.push_back(e.data1);
            if (e.kind == 0xB0 && e.data1 == 67) softPedal.push_back(e.data2);
            if (e.IsNoteOn()) {
                notes.emplace_back(e.data1, e.data2);
                finalChord = std::max(finalChord, e.tick);
            }
        }
        std::vector<bool> inFinalChord;
        for (const librarytest::ChannelEvent& e : ownSong->events) {
            if (e.track == track && e.IsNoteOn()) {
                ownNotes.emplace_back(e.data1, e.data2);
                inFinalChord.push_back(e.tick == finalChord);
            }
        }
        ASSERT_FALSE(programs.empty());
        EXPECT_EQ(programs, std::vector<int>(programs.size(), c.program - 1));
        // A part in mode 1, 2 or 3 starts with the soft pedal down.
        ASSERT_FALSE(softPedal.empty());
        EXPECT_EQ(softPedal.front(), c.mode == 0 ? 0 : 127);

        // The same notes, every one softer or louder with the volume. The song's final chord
        // sounds at least at a floor velocity, which a soft part's own volume may reach already.
        ASSERT_FALSE(notes.empty());
        ASSERT_EQ(notes.size(), ownNotes.size());
        for (std::size_t i = 0; i < notes.size(); ++i) {
            EXPECT_EQ(notes[i].first, ownNotes[i].first) << "note " << i;
            if (c.louder) {
                EXPECT_GT(notes[i].second, ownNotes[i].second) << "note " << i;
            } else if (inFinalChord[i]) {
                EXPECT_LE(notes[i].second, ownNotes[i].second) << "note " << i;
            } else {
                EXPECT_LT(notes[i].second, ownNotes[i].second) << "note " << i;
            }
        }
    }
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

}  // namespace
}  // namespace corvane::testing
