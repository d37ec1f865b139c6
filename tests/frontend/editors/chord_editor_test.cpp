// The chord list editor, the chord builder and the drum fill wizard on a loaded chord list,
// driven the way the user drives them: keys typed into the grid, buttons clicked.
#include <QTest>
#include <filesystem>
#include <fstream>

#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_drfill.h"
#include "frontend/editors/ui/frm_taoac.h"
#include "tests/frontend/support/gui_harness.h"

namespace corvane::testing {
namespace {

using editors::ChordGrid;
using editors::FrmChord;
using Bytes = std::vector<std::uint8_t>;

constexpr int kMakerKey = 0x33;
constexpr int kFixedKey = 0x37;

// A 40-measure song in G major as the chord maker writes it: an intro, a break, a variation
// before a cadence, a style switch at measures 17 and 25 and the ending.
const std::string kDrums =
    "4405050505060505"
    "0505050521050705"
    "06050508";

std::string Record(int m, char drum, char inst, const std::string& chord1,
                   const std::string& chord2, char sty, const std::string& comment) {
    char text[64];
    std::snprintf(text, sizeof text, "%03d:%c:%s:9:%s:%c:%c:%-10s;", m, drum, chord1.c_str(),
                  chord2.c_str(), inst, sty, comment.c_str());
    return text;
}

std::string SongPlain(int measures = 40) {
    const char* chords[4] = {"G....", "E.m..", "C....", "D..7."};
    std::string plain;
    for (int m = 0; m < measures; ++m) {
        const char drum = m < 40 ? kDrums[static_cast<std::size_t>(m)] : '0';
        const bool last = m == measures - 1;
        plain += Record(m, drum, drum == '1' ? '0' : drum, last ? "G...." : chords[m % 4],
                        m % 2 == 0 || last ? "....." : "A.m7.",
                        m == 16   ? '2'
                        : m == 24 ? '1'
                                  : '0',
                        m == 0    ? "G  Major"
                        : m == 16 ? "Chorus"
                                  : "");
    }
    return plain;
}

Bytes Coded(const std::string& plain, int key) {
    return editors::EncodeChordData(Bytes(plain.begin(), plain.end()), key);
}

class ChordEditorTest : public CorvaneTest {
  protected:
    void SetUp() override { ASSERT_EQ(StartCorvane(), StartupOutcome::kShown); }

    FrmChord& editor() { return app().frmChord(); }
    ChordGrid& grid() { return *editor().MSFlexGrid1; }
    CoreGlobals& g() { return app().g; }

    void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    Bytes ReadBytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The chord data as the chord maker left it, loaded as Proceed loads it.
    bool LoadFromMaker(const std::string& plain, int key = kMakerKey) {
        WriteBytes(folder() / "Data.aco", Coded(plain, key));
        g().MyVmCode = key;
        g().ChordFromMaker = true;
        g().ChordListBusy = true;
        const bool loaded = editor().DoCmdLoad(false);
        g().ChordListBusy = false;
        return loaded;
    }
    void LoadAndShow(int measures = 40) {
        ASSERT_TRUE(LoadFromMaker(SongPlain(measures)));
        editor().show();
        grid().setFocus();
    }
    std::string DataAco(int key) {
        const Bytes plain = editors::DecodeChordData(ReadBytes(folder() / "Data.aco"), key);
        return {plain.begin(), plain.end()};
    }
    QString Cell(int row, int col) { return grid().TextArray(editor().faIndex(row, col)); }
    void SetCell(int row, int col, const QString& text) {
        grid().SetTextArray(editor().faIndex(row, col), text);
    }
    void Type(const char* keys) { QTest::keyClicks(&grid(), keys); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&grid(), key, modifiers);
    }
    void At(int row, int col) { grid().SetCurrentCell(row, col); }
    // The main window's activation hides the closed editor; without a window manager the test
    // gives that activation itself when it did not come.
    void ActivateMain() {
        if (g().HideChordEditorPending) main().Form_Activate();
    }
};

TEST_F(ChordEditorTest, LoadFillsTheGridTheBarListAndTheCount) {
    ASSERT_TRUE(LoadFromMaker(SongPlain()));
    EXPECT_EQ(grid().Rows(), 41);
    EXPECT_EQ(g().ChordMsCount, 40);
    EXPECT_EQ(g().MakerMsCount, 40);
    ASSERT_EQ(main().LstHa->count(), 40);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(main().LstHa->item(i)->text().size(), 16) << i;
    EXPECT_EQ(main().LstHa->item(1)->text(), "002  Em     Am7 ");
    EXPECT_EQ(main().LstHa->currentRow(), 0);
    EXPECT_EQ(main().LblTotalMCnt->Caption(), "040");
    EXPECT_EQ(editor().LstTemp->count(), 40);
    EXPECT_EQ(editor().LstTemp->item(16)->text(), "017  G             0   0   2Chorus    ");

    // Row 1 holds measure 1; the heading row holds the headings.
    const QStringList first = {"", "001", "G    ", "     ", "4", "4", " ", "G  Major  "};
    const QStringList headings = {"",     "MsNo", "Chord1", "Chord2",
                                  "Drum", "Inst", "Sty",    "Comments"};
    for (int col = 0; col < 8; ++col) {
        EXPECT_EQ(Cell(1, col), first[col]) << col;
        EXPECT_EQ(Cell(0, col), headings[col]) << col;
    }
    EXPECT_EQ(Cell(40, editors::kColMsNo), "040");
    EXPECT_EQ(editor().KeptDigit[39], '9');
    EXPECT_EQ(grid().Row(), 1);
    EXPECT_EQ(grid().Col(), 1);

    // The "Full" lamp is the one lit.
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(editor().DrumModeOn[static_cast<std::size_t>(m)], m == 3);
        EXPECT_EQ(editor().LblDrMode[static_cast<std::size_t>(m)]->property("BackColor").toUInt(),
                  m == 3 ? editors::kLampOn : editors::kLampOff);
    }
    EXPECT_FALSE(editor().CmdSaveUsr->isEnabled());
    EXPECT_FALSE(g().OutputReady);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(ChordEditorTest, TypedChordIsCommittedAndAcceptedIntoTheDataFile) {
    LoadAndShow();
    // Typing appends to what the cell holds: the user clears it first.
    At(3, editors::kColChord1);
    Key(Qt::Key_Delete);
    Type("f3m7");
    EXPECT_EQ(Cell(3, editors::kColChord1), "f#m7");
    Key(Qt::Key_Return);
    EXPECT_EQ(Cell(3, editors::kColChord1), "F#m7");
    EXPECT_EQ(editor().GridForeColour(), editors::kGridEdited);

    // Leaving a cell commits it as well; an invalid chord becomes a blank.
    At(4, editors::kColChord2);
    Key(Qt::Key_Delete);
    Type("bb");
    Key(Qt::Key_Down);
    EXPECT_EQ(Cell(4, editors::kColChord2), "Bb");
    Key(Qt::Key_Delete);
    Type("cm=7");
    Key(Qt::Key_Up);
    EXPECT_EQ(Cell(5, editors::kColChord2), " ");

    editor().CmdAcceptData_Click();
    const std::string data = DataAco(kFixedKey);
    ASSERT_EQ(data.size(), 40u * 35);
    EXPECT_EQ(data.substr(2 * 35, 35), "002:0:F#m7.:9:.....:0:0:          ;");
    EXPECT_EQ(data.substr(3 * 35 + 14, 5), "Bb...");
    EXPECT_EQ(data.substr(4 * 35 + 14, 5), ".....");
    EXPECT_EQ(g().MyVmCode, kFixedKey);
    EXPECT_TRUE(editor().CmdSaveUsr->isEnabled());
    EXPECT_EQ(editor().GridForeColour(), editors::kGridSaved);
    EXPECT_EQ(editor().LstTemp->item(2)->text().left(16), "003  F#m7       ");
    EXPECT_EQ(main().LstHa->item(2)->text(), "003  F#m7       ");
    ActivateMain();
    EXPECT_FALSE(editor().isVisible());
    EXPECT_FALSE(g().HideChordEditorPending);
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
}

TEST_F(ChordEditorTest, TheListLinesKeepTheChordsAsTypedThroughAcceptAndADrumFill) {
    LoadAndShow();
    At(3, editors::kColChord1);
    Key(Qt::Key_Delete);
    Type("c7m");
    At(4, editors::kColChord2);
    Key(Qt::Key_Delete);
    Type("gs7");
    Key(Qt::Key_Return);
    editor().CmdAcceptData_Click();
    // The file holds the codes; the lines hold the texts the user wrote.
    const std::string data = DataAco(kFixedKey);
    EXPECT_EQ(data.substr(2 * 35 + 6, 5), "C.m7.");
    EXPECT_EQ(data.substr(3 * 35 + 14, 5), "G.s7.");
    EXPECT_EQ(editor().LstTemp->item(2)->text(), "003  C7m           0   0              ");
    EXPECT_EQ(main().LstHa->item(2)->text(), "003  C7m        ");
    EXPECT_EQ(main().LstHa->item(3)->text(), "004  D7     Gs7 ");

    ActivateMain();
    editor().show();
    editor().CmdLdrum->click();
    EXPECT_EQ(Cell(3, editors::kColChord1), "C7m  ");
    EXPECT_EQ(Cell(4, editors::kColChord2), "Gs7  ");
    EXPECT_EQ(main().LstHa->item(2)->text(), "003  C7m        ");
}

TEST_F(ChordEditorTest, AcceptClearsRepeatedStylesAndNeedsTheFirstChord) {
    LoadAndShow();
    const char* styles[5] = {"2", "2", "", "2", "3"};
    for (int i = 0; i < 5; ++i) SetCell(2 + i, editors::kColSty, styles[i]);
    // Measure 17's switch to 2 comes after the 3 of measure 6, so it stays.
    editor().CmdAcceptData_Click();
    const std::string data = DataAco(kFixedKey);
    std::string written;
    for (int m = 1; m <= 6; ++m) written += data[static_cast<std::size_t>(m * 35 + 22)];
    EXPECT_EQ(written, "200030");
    EXPECT_EQ(data[16 * 35 + 22], '2');
    EXPECT_EQ(Cell(3, editors::kColSty), "");

    editor().show();
    const Bytes before = ReadBytes(folder() / "Data.aco");
    SetCell(1, editors::kColChord1, "  ");
    editor().CmdAcceptData_Click();
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|The Chord1 in the measure 001 cannot "
                          "be empty. Please enter some valid chord string here."});
    EXPECT_EQ(grid().Row(), 1);
    EXPECT_EQ(grid().Col(), editors::kColChord1);
    EXPECT_FALSE(g().ChordListBusy);
    EXPECT_EQ(ReadBytes(folder() / "Data.aco"), before);
}

TEST_F(ChordEditorTest, KeysClearAndTrimCellsAndRespectTheLocks) {
    LoadAndShow();
    At(6, editors::kColDrum);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Cell(6, editors::kColDrum), "0");
    EXPECT_EQ(editor().LblDMode->Caption(), "Normal1");
    Type("6");
    EXPECT_EQ(Cell(6, editors::kColDrum), "6");
    EXPECT_EQ(editor().LblDMode->Caption(), "Stop");
    EXPECT_TRUE(g().SectionFlash);
    Type("x");
    EXPECT_EQ(Cell(6, editors::kColDrum), "6");

    At(2, editors::kColChord2);  // "Am7  "
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Cell(2, editors::kColChord2), "Am");
    Key(Qt::Key_Space);
    EXPECT_EQ(Cell(2, editors::kColChord2), "");

    // Keys typed into one cell after the other ("\b" Backspace, "\177" Delete) and what the
    // cell then holds.
    const struct {
        int row;
        int col;
        const char* keys;
        const char* cell;
    } steps[] = {
        {2, editors::kColComments, "ab;c d", "d"},  // the blank cleared the cell
        {2, editors::kColComments, "12345678901", "d123456789"},
        {3, editors::kColComments, "Ver;se", "Verse"},
        // The full stop shares its character code with the Delete key's code.
        {4, editors::kColComments, "No.5", "No.5"},
        {6, editors::kColDrum, ".", "6"},
        // The first measure's style and the last measure's chords and style stay.
        {1, editors::kColSty, "3\177", " "},
        {40, editors::kColChord1, "a\b\177", "G    "},
        {40, editors::kColSty, "2", " "},
        {40, editors::kColDrum, "9", "9"},
        // MsNo is read-only.
        {7, editors::kColMsNo, "\1771", "007"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(::testing::Message() << "row " << step.row << " column " << step.col);
        At(step.row, step.col);
        for (const char* key = step.keys; *key != 0; ++key) {
            if (*key == '\b') {
                Key(Qt::Key_Backspace);
            } else if (*key == '\177') {
                Key(Qt::Key_Delete);
            } else {
                Type(std::string(1, *key).c_str());
            }
        }
        EXPECT_EQ(Cell(step.row, step.col), step.cell);
    }
}

TEST_F(ChordEditorTest, ChordsAndCodesAreCopiedAndPasted) {
    LoadAndShow();
    // Two chord columns of rows 3-4 onto row 10.
    At(3, editors::kColChord1);
    grid().SetSelection(4, editors::kColChord2);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(editor().ClipColumns, 2);
    At(10, editors::kColChord1);
    Key(Qt::Key_V, Qt::ControlModifier);
    // Each pasted chord is checked as a committed one, which drops the blanks after a chord.
    for (int col : {editors::kColChord1, editors::kColChord2}) {
        EXPECT_EQ(Cell(10, col).trimmed(), Cell(3, col).trimmed());
        EXPECT_EQ(Cell(11, col).trimmed(), Cell(4, col).trimmed());
    }
    EXPECT_EQ(editor().GridForeColour(), editors::kGridEdited);

    // Chord2 alone goes into the column pasted on.
    SetCell(5, editors::kColChord2, "Bb");
    SetCell(6, editors::kColChord2, "F#m");
    At(5, editors::kColChord2);
    grid().SetSelection(6, editors::kColChord2);
    Key(Qt::Key_C, Qt::ControlModifier);
    At(20, editors::kColChord1);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(20, editors::kColChord1), "Bb");
    EXPECT_EQ(Cell(21, editors::kColChord1), "F#m");
    EXPECT_EQ(Cell(20, editors::kColChord2), "Am7  ");

    // Near the end the chords stop before the last measure.
    At(39, editors::kColChord1);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(39, editors::kColChord1), "Bb");
    EXPECT_EQ(Cell(40, editors::kColChord1), "G    ");

    // A selection reaching into Drum copies nothing and empties the clipboard.
    At(7, editors::kColChord2);
    grid().SetSelection(8, editors::kColDrum);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(editor().ClipChords.empty());
    EXPECT_EQ(editor().ClipColumns, 0);

    // Drum codes paste into Inst, down to the last measure.
    At(10, editors::kColDrum);
    grid().SetSelection(13, editors::kColDrum);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(editor().ClipCellsValid, 1);
    At(38, editors::kColInst);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(38, editors::kColInst), Cell(10, editors::kColDrum));
    EXPECT_EQ(Cell(39, editors::kColInst), Cell(11, editors::kColDrum));
    EXPECT_EQ(Cell(40, editors::kColInst), Cell(12, editors::kColDrum));
}

TEST_F(ChordEditorTest, PastedChordsAreCheckedAsTypedOnes) {
    LoadAndShow();
    // "am" typed and copied before its cell is left, then pasted into other rows.
    At(3, editors::kColChord1);
    Key(Qt::Key_Delete);
    Type("am");
    Key(Qt::Key_C, Qt::ControlModifier);
    At(6, editors::kColChord1);
    Key(Qt::Key_V, Qt::ControlModifier);
    At(8, editors::kColChord1);
    Key(Qt::Key_V, Qt::ControlModifier);
    for (int row : {3, 6, 8}) EXPECT_EQ(Cell(row, editors::kColChord1), "Am") << row;

    // A "b" typed as the first character is the root B wherever it goes.
    At(12, editors::kColChord2);
    Key(Qt::Key_Delete);
    Type("b");
    Key(Qt::Key_C, Qt::ControlModifier);
    At(14, editors::kColChord2);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(14, editors::kColChord2), "B");

    // An invalid chord pastes as the blank its commit makes of it; a blank stays blank.
    At(20, editors::kColChord1);
    Key(Qt::Key_Delete);
    Type("cm=7");
    grid().SetSelection(20, editors::kColChord2);
    Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(editor().ClipChords.size(), 2u);
    At(22, editors::kColChord1);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(22, editors::kColChord1), " ");
    EXPECT_EQ(Cell(22, editors::kColChord2), Cell(20, editors::kColChord2).trimmed());

    editor().CmdAcceptData_Click();
    EXPECT_TRUE(recorder.lines().isEmpty()) << recorder.lines().join("\n").toStdString();
    const std::string data = DataAco(kFixedKey);
    ASSERT_EQ(data.size(), 40u * 35);
    for (int row : {3, 6, 8}) EXPECT_EQ(data.substr((row - 1) * 35 + 6, 5), "A.m..") << row;
    for (int row : {12, 14}) EXPECT_EQ(data.substr((row - 1) * 35 + 14, 5), "B....") << row;
    for (int row : {20, 22}) EXPECT_EQ(data.substr((row - 1) * 35 + 6, 5), ".....") << row;
}

TEST_F(ChordEditorTest, AcceptRefusesAChordTheComposerCannotRead) {
    LoadAndShow();
    const Bytes before = ReadBytes(folder() / "Data.aco");
    // What no check went over: a root in lower case.
    SetCell(5, editors::kColChord2, "am");
    editor().CmdAcceptData_Click();
    EXPECT_EQ(recorder.lines(),
              (QStringList{"critical|Orvella|Error Converting Chord2 <a.m..>",
                           "critical|Orvella|An error found. Chord data not accepted."}));
    EXPECT_EQ(ReadBytes(folder() / "Data.aco"), before);
    EXPECT_TRUE(editor().isVisible());
    EXPECT_FALSE(editor().CmdSaveUsr->isEnabled());
    EXPECT_FALSE(g().ChordListBusy);
}

TEST_F(ChordEditorTest, WholeListOfTwoHundredSixtyMeasuresCopies) {
    LoadAndShow(260);
    EXPECT_EQ(g().ChordMsCount, 260);
    EXPECT_EQ(main().LstHa->currentRow(), 0);
    At(1, editors::kColChord1);
    grid().SetSelection(260, editors::kColChord2);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(editor().ClipChords.size(), 520u);
    EXPECT_EQ(editor().ClipChords.back(), "     ");
}

TEST_F(ChordEditorTest, ExportWritesTheGoldenChordList) {
    LoadAndShow();
    editor().CmdExport_Click();
    EXPECT_EQ(ReadBytes(folder() / "ChordList.txt"),
              ReadBytes(std::filesystem::path(EDITORS_TEST_DATA) / "chord_list_40.txt"));
    EXPECT_EQ(recorder.lines(),
              QStringList{"information|Orvella|Chord list exported to the file named "
                          "ChordList.txt"});
    EXPECT_FALSE(g().ChordListBusy);

    // A folder in the file's place cannot be replaced.
    recorder.clear();
    std::filesystem::remove(folder() / "ChordList.txt");
    std::filesystem::create_directory(folder() / "ChordList.txt");
    editor().CmdExport_Click();
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Cannot export chord list to the file ChordList.txt"});
}

TEST_F(ChordEditorTest, ChordFileIsSavedAndLoadedBack) {
    LoadAndShow();
    editor().TxtUsrList->setText("mysong");
    editor().CmdAcceptData_Click();
    ASSERT_TRUE(editor().CmdSaveUsr->isEnabled());
    editor().CmdSaveUsr_Click();
    const Bytes data = ReadBytes(folder() / "Data.aco");
    EXPECT_EQ(ReadBytes(folder() / "mysong.chd"), data);

    // An existing file is replaced only when the user says so.
    recorder.Answer(platform::qt::MsgResult::kCancel);
    WriteBytes(folder() / "mysong.chd", Bytes{1, 2, 3});
    editor().CmdSaveUsr_Click();
    EXPECT_EQ(ReadBytes(folder() / "mysong.chd"), (Bytes{1, 2, 3}));
    EXPECT_EQ(recorder.lines().back(), "question|Orvella|Overwrite mysong.chd ?");
    editor().CmdSaveUsr_Click();
    EXPECT_EQ(ReadBytes(folder() / "mysong.chd"), data);

    recorder.clear();
    editor().TxtUsrList->setText("my.song");
    editor().CmdSaveUsr_Click();
    EXPECT_EQ(recorder.lines(),
              QStringList{"information|Orvella|Please use extension .chd for the filename to be "
                          "saved. You can leave it blank to accept default extension."});
    EXPECT_FALSE(std::filesystem::exists(folder() / "my.song"));

    // Loading the file back replaces the edits and marks the list as not yet accepted.
    editor().show();
    SetCell(8, editors::kColChord1, "Ab");
    editor().TxtUsrList->setText("mysong");
    editor().CmdLoadUsr_Click();
    EXPECT_EQ(Cell(8, editors::kColChord1), "D7   ");
    EXPECT_EQ(ReadBytes(folder() / "Data.aco"), data);
    EXPECT_EQ(editor().GridForeColour(), editors::kGridEdited);
    EXPECT_FALSE(editor().CmdSaveUsr->isEnabled());
    EXPECT_TRUE(main().PictMake->isEnabled());
    EXPECT_FALSE(g().ChordFromMaker);
    EXPECT_FALSE(g().ChordListBusy);
    EXPECT_EQ(g().MyVmCode, kFixedKey);
}

TEST_F(ChordEditorTest, BadChordFileChangesNothing) {
    LoadAndShow();
    g().ProceedDone = true;
    const Bytes data = ReadBytes(folder() / "Data.aco");
    // Another song's chord file, a damaged one and one that is not there.
    WriteBytes(folder() / "other.chd", Coded(SongPlain(24), kFixedKey));
    std::string damaged = SongPlain(40);
    damaged.erase(35 * 3 + 30, 1);
    WriteBytes(folder() / "damaged.chd", Coded(damaged, kFixedKey));
    const struct {
        const char* path;
        QString first;
    } cases[] = {
        {"other", "critical|Orvella|Error: Invalid number of measures."},
        {"damaged.chd",
         "critical|Orvella|Error found: <003:5:D..7.:9:A.m7.:5:0:         ;>, "
         "Len = 34, line No 3, last <" +
             QString::fromStdString(SongPlain(40).substr(70, 35)) + ">, ByteNo = 140"},
        {"missing.chd",
         "critical|Orvella|Error loading Chord data from missing.chd, Please check "
         "the Path Name and try again. "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        recorder.clear();
        SetCell(8, editors::kColChord1, "Ab");
        editor().TxtUsrList->setText(c.path);
        editor().CmdLoadUsr_Click();
        ASSERT_FALSE(recorder.lines().isEmpty());
        EXPECT_EQ(recorder.lines().front(), c.first);
        if (c.path != std::string("missing.chd")) {
            EXPECT_EQ(recorder.lines().back(),
                      "critical|Orvella|The Chord Data is invalid or not applicable for this "
                      "song.\\nClick <2.Proceed> to Re-Create Chord Data automaticaly.");
        }
        EXPECT_EQ(ReadBytes(folder() / "Data.aco"), data);
        EXPECT_EQ(Cell(8, editors::kColChord1), "Ab");
        EXPECT_EQ(grid().Rows(), 41);
        EXPECT_EQ(main().LstHa->count(), 40);
        EXPECT_TRUE(g().ProceedDone);
        EXPECT_TRUE(editor().isVisible());
        EXPECT_FALSE(g().ChordListBusy);
    }
    recorder.clear();
    editor().TxtUsrList->setText("");
    editor().CmdLoadUsr_Click();
    EXPECT_EQ(recorder.lines(), QStringList{"information|Orvella|No Path Name to load Chord Data "
                                            "File *.chd\\nPlease, click <Browse> to find a file "
                                            "name to load."});
}

TEST_F(ChordEditorTest, RecordOfAnotherLengthStopsTheLoad) {
    std::string plain = SongPlain(3);
    plain.erase(35 + 30, 1);  // record 2 has 34 characters
    EXPECT_FALSE(LoadFromMaker(plain));
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Error found: <001:4:E.m..:9:A.m7.:4:0:         ;>, "
                          "Len = 34, line No 1, last <" +
                          QString::fromStdString(plain.substr(0, 35)) + ">, ByteNo = 70"});
    EXPECT_EQ(grid().Rows(), 2);
    EXPECT_EQ(editor().LstTemp->count(), 0);
    EXPECT_EQ(main().LstHa->count(), 0);
    EXPECT_EQ(g().ChordMsCount, 0);
}

TEST_F(ChordEditorTest, ChordBuilderWritesItsChordIntoTheGrid) {
    LoadAndShow();
    editors::FrmTaoAc& builder = app().frmTaoAc();
    EXPECT_EQ(builder.LblChStr->text(), "A");

    // Minor, then diminished, then an augmented fifth: the quality goes back to None.
    builder.CmbRoot->setCurrentIndex(6);
    builder.OptMinor->click();
    builder.OptDim->click();
    builder.OptAug5->click();
    EXPECT_TRUE(builder.Opt3None->isChecked());
    EXPECT_EQ(builder.LblChStr->text(), "G+");
    builder.OptDim5->click();
    builder.OptDim->click();
    EXPECT_TRUE(builder.Opt6None->isChecked());

    builder.CmbRoot->setCurrentIndex(3);
    builder.OptSharp->click();
    builder.OptMinor->click();
    builder.OptSeventh->click();
    builder.Tag = "2,005";
    builder.show();
    g().ChordListBusy = true;
    builder.CmdOk_Click();
    EXPECT_TRUE(builder.isVisible());
    EXPECT_EQ(Cell(5, editors::kColChord2), "     ");
    g().ChordListBusy = false;
    editor().CmdAcceptData_Click();  // a saved list, so the builder's edit must disable saving
    editor().show();
    EXPECT_TRUE(editor().CmdSaveUsr->isEnabled());
    builder.show();
    builder.CmdOk_Click();
    EXPECT_EQ(Cell(5, editors::kColChord2), "D#m7");
    EXPECT_EQ(editor().GridForeColour(), editors::kGridEdited);
    EXPECT_FALSE(editor().CmdSaveUsr->isEnabled());
    EXPECT_FALSE(builder.isVisible());

    // The last measure is locked.
    builder.Tag = "1,040";
    builder.show();
    builder.CmdOk_Click();
    EXPECT_TRUE(builder.isVisible());
    EXPECT_EQ(Cell(40, editors::kColChord1), "G    ");

    // The choices are kept for the next opening.
    builder.CmdCancel_Click();
    builder.show();
    EXPECT_TRUE(builder.OptSeventh->isChecked());
    EXPECT_EQ(builder.LblChStr->text(), "D#m7");
}

TEST_F(ChordEditorTest, DrumWizardWritesFillsAndStyleSwitches) {
    LoadAndShow();
    editors::FrmDrFill& wizard = app().frmDrFill();
    At(12, editors::kColDrum);
    Key(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(wizard.isVisible());
    EXPECT_EQ(wizard.Tag, "012,04");
    EXPECT_EQ(wizard.windowTitle(), "Measure 012, Column 04:");
    EXPECT_TRUE(wizard.OptDr1->isChecked());
    EXPECT_TRUE(wizard.CmdMakeDr->isEnabled());
    wizard.CmdMakeDr_Click();
    EXPECT_EQ(Cell(12, editors::kColDrum), "1");
    EXPECT_EQ(Cell(11, editors::kColDrum), "2");
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(editor().GridForeColour(), editors::kGridEdited);

    // A fill at the first measure has no measure before it.
    wizard.Tag = "001,05";
    wizard.show();
    wizard.OptDr2->setChecked(true);
    wizard.CmdMakeDr_Click();
    EXPECT_EQ(Cell(1, editors::kColInst), "6");
    EXPECT_EQ(Cell(0, editors::kColInst), "Inst");

    // On the style column only "Set" works.
    wizard.Tag = "012,06";
    wizard.show();
    EXPECT_FALSE(wizard.CmdMakeDr->isEnabled());
    wizard.CmbStyIds->setCurrentIndex(2);
    wizard.CmdSetSwPoint_Click();
    EXPECT_EQ(Cell(12, editors::kColSty), "3");

    // With 40 measures a style may switch in measures 2 to 38.
    for (int row : {1, 2, 38, 39, 40}) {
        wizard.Tag = QString::fromStdString(editors::DrumWizardTag(row, editors::kColSty));
        wizard.show();
        EXPECT_EQ(wizard.CmdSetSwPoint->isEnabled(), row >= 2 && row <= 38) << row;
        wizard.CmdCancel_Click();
    }

    wizard.Tag = "  ";
    wizard.show();
    EXPECT_TRUE(WaitUntil([&] { return !wizard.isVisible() && !recorder.lines().isEmpty(); }));
    EXPECT_EQ(recorder.lines(),
              QStringList{"critical|Orvella|Invalid Tag in call to Drum Wizard."});
}

TEST_F(ChordEditorTest, CtrlEnterOpensTheWizardOfTheColumn) {
    LoadAndShow();
    const struct {
        int row, col;
        const char* caption;  // nullptr: nothing opens
        bool builder;
    } cases[] = {
        {7, editors::kColChord1, "Chord1, Measure 007:", true},
        {9, editors::kColChord2, "Chord2, Measure 009:", true},
        {40, editors::kColChord1, nullptr, true},
        {3, editors::kColDrum, "Measure 003, Column 04:", false},
        {4, editors::kColInst, "Measure 004, Column 05:", false},
        {5, editors::kColSty, "Measure 005, Column 06:", false},
        {6, editors::kColComments, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        app().frmTaoAc().hide();
        app().frmDrFill().hide();
        At(c.row, c.col);
        Key(Qt::Key_Return, Qt::ControlModifier);
        QDialog& builder = app().frmTaoAc();
        QDialog& wizard = app().frmDrFill();
        EXPECT_EQ(builder.isVisible(), c.caption != nullptr && c.builder);
        EXPECT_EQ(wizard.isVisible(), c.caption != nullptr && !c.builder);
        if (c.caption) {
            EXPECT_EQ((c.builder ? builder : wizard).windowTitle(), c.caption);
        }
    }
    EXPECT_EQ(app().frmTaoAc().Tag, "2,009");
}

TEST_F(ChordEditorTest, DrumFillButtonsRebuildTheList) {
    LoadAndShow();
    QString loaded;
    for (int row = 1; row <= 40; ++row) loaded += Cell(row, editors::kColDrum);
    ASSERT_EQ(loaded.toStdString(), kDrums);
    const auto drums = [this] {
        std::string codes;
        for (int row = 1; row <= 40; ++row) codes += Cell(row, editors::kColDrum).toStdString();
        return codes;
    };
    SetCell(3, editors::kColChord1, "Ab");  // an edit that a mode change discards
    editor().CmdLdrum->click();
    EXPECT_EQ(drums(), editors::ApplyDrumMode(editors::DrumMode::kLess, kDrums));
    EXPECT_EQ(Cell(3, editors::kColChord1), "C    ");
    EXPECT_EQ(main().LstHa->item(0)->text(), "001  G          ");
    EXPECT_EQ(editor().GridForeColour(), editors::kGridEdited);
    EXPECT_TRUE(editor().DrumModeOn[1]);
    EXPECT_EQ(editor().LblDrMode[1]->property("BackColor").toUInt(), editors::kLampOn);
    EXPECT_EQ(editor().LblDrMode[3]->property("BackColor").toUInt(), editors::kLampOff);

    // The mode in force does nothing again, even after an edit.
    SetCell(3, editors::kColChord1, "Ab");
    editor().CmdLdrum->click();
    EXPECT_EQ(Cell(3, editors::kColChord1), "Ab");

    editor().CmdMDrum->click();
    EXPECT_EQ(drums(), editors::ApplyDrumMode(editors::DrumMode::kMore, kDrums));
    editor().CmdNDrum->click();
    EXPECT_EQ(drums(), editors::ApplyDrumMode(editors::DrumMode::kNo, kDrums));
    editor().CmdNormal->click();
    EXPECT_EQ(drums(), kDrums);
    EXPECT_EQ(editor().LstTemp->count(), 40);
    EXPECT_EQ(grid().Rows(), 41);
    EXPECT_FALSE(g().ChordListBusy);

    // With an empty list only the lamp changes.
    editor().LstTemp->clear();
    editor().CmdLdrum->click();
    EXPECT_TRUE(editor().DrumModeOn[1]);
    EXPECT_EQ(grid().Rows(), 41);
}

TEST_F(ChordEditorTest, CurrentRowStaysWithinEightRowsFromTheTop) {
    LoadAndShow(100);
    grid().SetTopRow(10);
    ASSERT_EQ(grid().TopRow(), 10);
    At(30, editors::kColMsNo);
    editor().MakeSelCellVisible();
    EXPECT_EQ(grid().TopRow(), 23);
    At(5, editors::kColMsNo);
    editor().MakeSelCellVisible();
    EXPECT_EQ(grid().TopRow(), 5);
    At(9, editors::kColMsNo);
    editor().MakeSelCellVisible();
    EXPECT_EQ(grid().TopRow(), 5);

    // The main window's current bar moves the row while the output plays.
    main().LblHa->SetCaption("60");
    EXPECT_EQ(grid().Row(), 60);
    EXPECT_EQ(grid().TopRow(), 53);
    EXPECT_EQ(editor().LblDMode->Caption(), "Normal1");
}

TEST_F(ChordEditorTest, PlayStartsAtTheCurrentMeasure) {
    LoadAndShow();
    At(6, editors::kColChord1);
    main().CanGatOut[0]->SetEnabled(false);
    editor().CmdP_Click();
    EXPECT_EQ(main().CanGatOut[0]->Value(), 0);

    main().CanGatOut[0]->SetEnabled(true);
    main().CanGatOut[0]->SetMax(40);
    main().CanGatOut[1]->SetMax(40);
    editor().CmdP_Click();
    EXPECT_EQ(main().CanGatOut[0]->Value(), 5);
    EXPECT_EQ(main().CanGatOut[1]->Value(), 5);
    g().ChordListBusy = true;
    At(9, editors::kColChord1);
    editor().CmdP_Click();
    EXPECT_EQ(main().CanGatOut[0]->Value(), 5);
    g().ChordListBusy = false;

    editor().CmdS_Click();
    EXPECT_EQ(main().LblInName->Caption(), "Paused");

    // Closing the window only hides it, through the main window.
    editor().close();
    EXPECT_TRUE(g().HideChordEditorPending || !editor().isVisible());
    ActivateMain();
    EXPECT_FALSE(editor().isVisible());
}

}  // namespace
}  // namespace corvane::testing
