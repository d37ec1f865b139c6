// The chord list editor between Proceed and Make with the real workers: chords and a section
// code edited in the grid reach the composer, which follows them.
#include <QTest>
#include <map>

#include "frontend/editors/ui/frm_chord.h"
#include "tests/frontend/support/workflow_harness.h"
#include "tests/library/midi_events.h"

namespace corvane::testing {
namespace {

using editors::ChordGrid;

constexpr int kBassChannel = 1;
constexpr int kDrumChannel = 9;
// The composer's marker on the drum track: note 56 at velocity 5 in every half measure.
constexpr int kMarkerNote = 56;
constexpr int kMarkerVelocity = 5;
constexpr int kTicksPerSixteenth = 96;

class ChordEditorWorkflowTest : public WorkflowTest {
  protected:
    ChordGrid& grid() { return *app().frmChord().MSFlexGrid1; }
    QString Cell(int row, int col) { return grid().TextArray(app().frmChord().faIndex(row, col)); }
    // A cell's text replaced as the user does it: Space clears, the keys type, Enter commits.
    void Retype(int row, int col, const char* keys) {
        grid().SetCurrentCell(row, col);
        QTest::keyClick(&grid(), Qt::Key_Space);
        QTest::keyClicks(&grid(), keys);
        QTest::keyClick(&grid(), Qt::Key_Return);
    }
};

TEST_F(ChordEditorWorkflowTest, ComposerFollowsTheEditedChordsAndSection) {
    StartWithSong(24);
    LoadAndProceed();
    editors::FrmChord& editor = app().frmChord();
    editor.show();
    grid().setFocus();
    ASSERT_EQ(grid().Rows(), 25);
    // Roots the song in G major never gets from the chord maker in these measures.
    ASSERT_NE(Cell(5, editors::kColChord1).left(2), "Eb");
    ASSERT_NE(Cell(9, editors::kColChord1).left(2), "C#");
    Retype(5, editors::kColChord1, "eb");
    Retype(9, editors::kColChord1, "c3m");
    Retype(14, editors::kColDrum, "9");
    EXPECT_EQ(Cell(5, editors::kColChord1), "Eb");
    EXPECT_EQ(Cell(9, editors::kColChord1), "C#m");
    EXPECT_EQ(Cell(14, editors::kColDrum), "9");
    editor.CmdAcceptData_Click();
    ASSERT_EQ(g().MyVmCode, 0x37);
    if (g().HideChordEditorPending) main().Form_Activate();
    EXPECT_FALSE(editor.isVisible());

    SetWaltzStyles();
    // The bass as a chord part (play mode 0) plays every root; in the pattern mode the style
    // proposes it keeps to the notes of the song's scale, which Eb and C# are not.
    for (int slot = 0; slot < 5; ++slot) app().slotTables.PartMode(slot, 0) = 0;
    Click(main().PictMake);
    ASSERT_TRUE(WaitCaption("<Make> command complete.")) << Caption().toStdString();
    const auto song = librarytest::ReadMidiSong(g().Output.OutputBuf());
    ASSERT_TRUE(song);
    const std::int64_t measureTicks = std::int64_t{g().MsUnits} * kTicksPerSixteenth;
    const std::int64_t halfTicks = std::int64_t{g().HalfMsUnits} * kTicksPerSixteenth;
    ASSERT_EQ(measureTicks, 1152);

    // The first bass note of each edited half measure is its new root.
    std::map<int, int> firstBass;  // measure from 0 -> pitch class
    std::map<int, int> drumHits;   // measure from 0 -> drum notes
    for (const librarytest::ChannelEvent& e : song->events) {
        if (e.track < 2 || !e.IsNoteOn()) continue;
        const int measure = static_cast<int>(e.tick / measureTicks);
        if (e.channel == kBassChannel && e.tick % measureTicks < halfTicks &&
            !firstBass.count(measure)) {
            firstBass[measure] = e.data1 % 12;
        }
        if (e.channel == kDrumChannel && !(e.data1 == kMarkerNote && e.data2 == kMarkerVelocity))
            ++drumHits[measure];
    }
    ASSERT_TRUE(firstBass.count(4) && firstBass.count(8));
    EXPECT_EQ(firstBass[4], 3);  // E flat
    EXPECT_EQ(firstBass[8], 1);  // C sharp
    // The Pause silences the drums of its measure; the measure before plays its first step.
    EXPECT_GT(drumHits[12], 0);
    EXPECT_EQ(drumHits[13], 0);
    EXPECT_GT(drumHits[14], 0);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

}  // namespace
}  // namespace corvane::testing
