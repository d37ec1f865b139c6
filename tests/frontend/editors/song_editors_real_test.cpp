// The melody importer dialog with the real workers: a track of another program's file (division
// 480, the melody in its second track after the conductor track) imported and loaded, a source
// the importer refuses, and a generated melody taken through Proceed and Make Output.
#include <string>

#include "frontend/editors/ui/frm_quenby.h"
#include "tests/frontend/support/program_files.h"
#include "tests/frontend/support/workflow_harness.h"
#include "tests/support/song_builder.h"

namespace corvane::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kDivision = 480;
constexpr int kMeasure = 4 * kDivision;

void AppendTrack(Bytes& file, const Bytes& events) {
    const auto length = static_cast<std::uint32_t>(events.size() + 4);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    for (int shift = 24; shift >= 0; shift -= 8)
        file.push_back(static_cast<std::uint8_t>(length >> shift));
    file.insert(file.end(), events.begin(), events.end());
    file.insert(file.end(), {0x00, 0xFF, 0x2F, 0x00});
}

// Notes one after another on `channel`: (key, length in ticks); a key of 0 is a rest.
Bytes NoteTrack(int channel, const std::vector<std::pair<int, int>>& notes) {
    Bytes events;
    int pending = 0;
    for (const auto& [key, length] : notes) {
        if (key == 0) {
            pending += length;
            continue;
        }
        testsupport::AppendVlq(events, static_cast<std::uint32_t>(pending));
        events.insert(events.end(), {static_cast<std::uint8_t>(0x90 | channel),
                                     static_cast<std::uint8_t>(key), 90});
        testsupport::AppendVlq(events, static_cast<std::uint32_t>(length - 60));
        events.insert(events.end(), {static_cast<std::uint8_t>(0x80 | channel),
                                     static_cast<std::uint8_t>(key), 0});
        pending = 60;
    }
    return events;
}

// Format 1, division 480, 4/4 at 100 beats per minute without a key signature: a bass part in
// the first track, eight measures of a melody in G major ending on G in the second.
Bytes ThreeTrackSong() {
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 3, kDivision >> 8, kDivision & 0xFF};
    AppendTrack(file,
                {0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8, 0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0});
    std::vector<std::pair<int, int>> bass;
    for (int m = 0; m < 8; ++m) bass.push_back({m % 2 == 0 ? 43 : 38, kMeasure});
    AppendTrack(file, NoteTrack(1, bass));
    const int phrase[7][4] = {{67, 71, 74, 71}, {72, 71, 69, 67}, {66, 69, 72, 69},
                              {67, 71, 74, 79}, {76, 74, 72, 71}, {69, 72, 71, 69},
                              {67, 66, 64, 62}};
    std::vector<std::pair<int, int>> melody;
    for (const auto& measure : phrase) {
        for (int key : measure) melody.push_back({key, kDivision});
    }
    melody.push_back({67, kMeasure - 240});
    AppendTrack(file, NoteTrack(0, melody));
    return file;
}

class SongEditorsRealTest : public WorkflowTest {
  protected:
    editors::FrmQuenby& quenby() { return app().frmQuenby(); }
    // The song loader's header line of Notes.aco.
    std::string NotesHeader() {
        const std::string notes = ReadText("Notes.aco");
        return notes.substr(0, notes.find_first_of("\r\n"));
    }
};

TEST_F(SongEditorsRealTest, ImportedTrackIsLoadedInItsNewKeyTempoAndLength) {
    StartWithSong(8);
    const std::string source = (folder() / "songs" / "three.mid").string();
    WriteFile(source, ThreeTrackSong());
    main().TxtInName->setText(QString::fromStdString(source));
    WriteFile(folder() / "InpMel.bin", ThreeTrackSong());
    quenby().show();
    quenby().OptTrk[1]->click();
    quenby().CmbKey->setCurrentIndex(2);  // G major
    quenby().TxtTempo->setText("132");
    quenby().TxtIntro->setText("2");
    quenby().CmdLoadIn->click();
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_TRUE(g().LoadDone);
    EXPECT_EQ(g().SongTitle, "three");
    EXPECT_EQ(main().LblMusicType->Caption(), "G  Major, Tempo=132, 4/4");
    // Two measures of lead-in before the eight of the melody.
    EXPECT_EQ(NotesHeader(), "1,+,G,10,132,4/4");
}

// A source the importer refuses: its own message in the box, the song input as it was, and the
// dialog ready for the next run, which imports the good file.
TEST_F(SongEditorsRealTest, RefusedSourceKeepsTheSongInputAndTheDialogUsable) {
    StartWithSong(8);
    Bytes refused = ThreeTrackSong();
    refused[9] = 2;  // format 2: tracks that are not played together
    WriteFile(folder() / "InpMel.bin", refused);
    const std::string input = ReadText("InPut.bin");
    quenby().show();
    quenby().OptTrk[1]->click();
    quenby().CmdLoadIn->click();
    ASSERT_TRUE(WaitCaption("<Quenby> command error.")) << Caption().toStdString();
    ASSERT_EQ(recorder.lines().size(), 1);
    EXPECT_TRUE(recorder.lines().front().startsWith("critical|Orvella|Unknown Midi File Type 2."))
        << recorder.lines().front().toStdString();
    EXPECT_EQ(ReadText("InPut.bin"), input);
    EXPECT_FALSE(g().MelodyWorkerBusy);
    EXPECT_TRUE(main().PictMiVi->isEnabled() && main().PictLoad->isEnabled());

    recorder.clear();
    WriteFile(folder() / "InpMel.bin", ThreeTrackSong());
    quenby().show();
    quenby().CmdLoadIn->click();
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    EXPECT_EQ(NotesHeader(), "0,+,C,8,120,4/4");  // the dialog's C major at 120
}

TEST_F(SongEditorsRealTest, GeneratedMelodyGoesThroughProceedAndMake) {
    StartWithSong(8);
    main().TxtInName->setText("");
    quenby().show();
    quenby().CmbKey->setCurrentIndex(4);  // D major
    quenby().CmbTime->setCurrentIndex(1);
    quenby().TxtTempo->setText("100");
    quenby().CmdAutoMusic->click();
    ASSERT_TRUE(WaitCaption("<Load In> command complete.")) << Caption().toStdString();
    EXPECT_EQ(main().LblMusicType->Caption(), "D  Major, Tempo=100, 3/4");
    EXPECT_EQ(g().SongTitle, "");

    ProceedSaving({"001:04;D  Major"});
    ASSERT_TRUE(WaitCaption("<Proceed> command complete.")) << Caption().toStdString();
    SetWaltzStyles();
    Click(main().PictMake);
    ASSERT_TRUE(WaitCaption("<Make> command complete.", 30000)) << Caption().toStdString();
    EXPECT_TRUE(g().OutputReady);
    EXPECT_GT(g().Output.OutputBuf().size(), 1000u);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

}  // namespace
}  // namespace corvane::testing
