// The chord list editor's form, its loading and saving of the chord data, chord files, the
// export and the play, stop and close buttons. The grid's handlers are in frm_chord_grid.cpp,
// the automatic drum fills in frm_chord_drums.cpp.
#include "frontend/editors/ui/frm_chord.h"

#include <QCloseEvent>
#include <QHeaderView>

#include "frontend/app/app.h"
#include "frontend/core/ui/file_commands.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/vb_text.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/file.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/editor_font.h"
#include "platform/qt/file_names.h"
#include "platform/qt/msg_box.h"

namespace corvane::editors {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgButtons;
using platform::qt::MsgIcon;
using platform::qt::MsgResult;

// A chord file is read as far as the editor reads chord data: 260 records.
constexpr std::size_t kChordFileReadLimit = kMaxChordRecords * kChordRecordLength;

const char* const kNotApplicableText =
    "The Chord Data is invalid or not applicable for this song.\n"
    "Click <2.Proceed> to Re-Create Chord Data automaticaly.";
const char* const kExportFile = "ChordList.txt";

}  // namespace

FrmChord::FrmChord(QWidget* parent) : FormDialog("FrmChord", "Edit Chord List", parent) {
    CreateControls();
    SetBngColWidth();
    GridFormatAll();
    ConnectHandlers();
}

void FrmChord::CreateControls() {
    setFixedSize(640, 560);
    const QFont font = platform::qt::EditorFont();
    LstTemp = MakeControl<QListWidget>(this, "LstTemp", {0, 0, 10, 10});
    LstTemp->hide();

    LblGridCaption = MakeControl<QLabel>(this, "LblGridCaption", {8, 6, 200, 18});
    LblGridCaption->setText("Chord Data List.");
    MSFlexGrid1 = MakeControl<ChordGrid>(this, "MSFlexGrid1", {8, 26, 412, 400});
    MSFlexGrid1->setColumnCount(kGridColumns);
    MSFlexGrid1->SetRows(2);
    QFont gridFont = font;
    gridFont.setPixelSize(12);
    MSFlexGrid1->setFont(gridFont);
    MSFlexGrid1->horizontalHeader()->setFont(gridFont);

    const int x = 436;
    auto* keyCaption = MakeControl<QLabel>(this, "LblKeyCaption", {x, 6, 80, 18});
    keyCaption->setText("Overall Key:");
    LblKey = MakeControl<platform::qt::CaptionLabel>(this, "LblKey", {x + 84, 6, 110, 18});
    LblKey->SetCaption("A Key");

    auto* drumCaption = MakeControl<QLabel>(this, "LblDrumCaption", {x, 34, 96, 18});
    drumCaption->setText("Drum Mode");
    LblDMode = MakeControl<platform::qt::CaptionLabel>(this, "LblDMode", {x + 100, 34, 96, 18});
    LblDMode->SetCaption("Drum");
    auto* instCaption = MakeControl<QLabel>(this, "LblInstCaption", {x, 56, 96, 18});
    instCaption->setText("Instrum. Mode");
    LblMMode = MakeControl<platform::qt::CaptionLabel>(this, "LblMMode", {x + 100, 56, 96, 18});
    LblMMode->SetCaption("Instrument");
    for (platform::qt::CaptionLabel* name : {LblDMode, LblMMode}) {
        name->setFont(font);
        name->setFrameShape(QFrame::StyledPanel);
    }

    auto* fills = MakeControl<QLabel>(this, "LblAutoDrumFills", {x, 90, 196, 18});
    fills->setText("Auto Drum Fills");
    QPushButton** drumButtons[kDrumModeCount] = {&CmdNDrum, &CmdLdrum, &CmdMDrum, &CmdNormal};
    const char* drumNames[kDrumModeCount] = {"CmdNDrum", "CmdLdrum", "CmdMDrum", "CmdNormal"};
    const char* drumCaptions[kDrumModeCount] = {"No", "Less", "More", "Full"};
    for (int m = 0; m < kDrumModeCount; ++m) {
        LblDrMode[m] = MakeControl<platform::qt::CaptionLabel>(this, ElementName("LblDrMode", m),
                                                               {x + 6 + 49 * m, 112, 34, 6});
        *drumButtons[m] = MakeControl<QPushButton>(this, drumNames[m], {x + 49 * m, 122, 46, 26});
        (*drumButtons[m])->setText(drumCaptions[m]);
    }

    CmdP = MakeControl<QPushButton>(this, "CmdP", {x, 170, 94, 28});
    CmdP->setText("&Play");
    CmdS = MakeControl<QPushButton>(this, "CmdS", {x + 102, 170, 94, 28});
    CmdS->setText("&Stop");
    CmdAcceptData = MakeControl<QPushButton>(this, "CmdAcceptData", {x, 226, 196, 30});
    CmdAcceptData->setText("&Accept Data");
    CmdExport = MakeControl<QPushButton>(this, "CmdExport", {x, 264, 196, 28});
    CmdExport->setText("Export to text");
    CmdHide = MakeControl<QPushButton>(this, "CmdHide", {x, 300, 196, 28});
    CmdHide->setText("&Close");

    TxtUsrList = MakeControl<QLineEdit>(this, "TxtUsrList", {8, 436, 316, 26});
    TxtUsrList->setToolTip("PathName to Load/Save chord data");
    CmdBrowseUsr = MakeControl<QPushButton>(this, "CmdBrowseUsr", {332, 436, 88, 26});
    CmdBrowseUsr->setText("Brows");
    CmdLoadUsr = MakeControl<QPushButton>(this, "CmdLoadUsr", {x, 436, 94, 26});
    CmdLoadUsr->setText("Load");
    CmdSaveUsr = MakeControl<QPushButton>(this, "CmdSaveUsr", {x + 102, 436, 94, 26});
    CmdSaveUsr->setText("Save to file");
    CmdSaveUsr->setEnabled(false);

    TxtTips = MakeControl<QPlainTextEdit>(this, "TxtTips", {8, 472, 624, 80});
    TxtTips->setReadOnly(true);
    TxtTips->setPlainText(
        "Tips: Chord Data List is full screen editable\n"
        " -You can type in Chord/Drum/Instrument/Sty directly to the list,\n"
        " -You can press Ctrl-Enter on an item in a measure to activate wizards,\n"
        " -You can do Copy/Paste chords/drums/instruments from a measure to a measure.");

    // Enter belongs to the grid and the path box; no button of the form takes it.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    SetDrumLamps(DrumMode::kFull);
}

void FrmChord::ConnectHandlers() {
    connect(MSFlexGrid1, &ChordGrid::LeaveCell, this, &FrmChord::CommitCellEdit);
    connect(MSFlexGrid1, &ChordGrid::KeyDown, this, &FrmChord::MSFlexGrid1_KeyDown);
    connect(MSFlexGrid1, &ChordGrid::KeyPress, this, &FrmChord::MSFlexGrid1_KeyPress);
    connect(MSFlexGrid1, &ChordGrid::Click, this, &FrmChord::MSFlexGrid1_Click);
    connect(MSFlexGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int, int old) {
        if (row != old) ShowSectionNames();
    });
    connect(MSFlexGrid1, &ChordGrid::RightMouseUp, this, [this] {
        if (!App::Get().g.ChordListBusy) GridTakesFocus();
    });
    connect(CmdAcceptData, &QPushButton::clicked, this, &FrmChord::CmdAcceptData_Click);
    connect(CmdExport, &QPushButton::clicked, this, &FrmChord::CmdExport_Click);
    connect(CmdHide, &QPushButton::clicked, this, &FrmChord::CmdHide_Click);
    connect(CmdP, &QPushButton::clicked, this, &FrmChord::CmdP_Click);
    connect(CmdS, &QPushButton::clicked, this, &FrmChord::CmdS_Click);
    connect(CmdBrowseUsr, &QPushButton::clicked, this, &FrmChord::CmdBrowseUsr_Click);
    connect(CmdLoadUsr, &QPushButton::clicked, this, &FrmChord::CmdLoadUsr_Click);
    connect(CmdSaveUsr, &QPushButton::clicked, this, &FrmChord::CmdSaveUsr_Click);
    connect(CmdNDrum, &QPushButton::clicked, this, &FrmChord::CmdNDrum_Click);
    connect(CmdLdrum, &QPushButton::clicked, this, &FrmChord::CmdLdrum_Click);
    connect(CmdMDrum, &QPushButton::clicked, this, &FrmChord::CmdMDrum_Click);
    connect(CmdNormal, &QPushButton::clicked, this, &FrmChord::CmdNormal_Click);
    // After the transport and drum fill buttons the keys go to the grid again.
    for (QPushButton* button : {CmdP, CmdS, CmdNDrum, CmdLdrum, CmdMDrum, CmdNormal})
        connect(button, &QPushButton::released, this, &FrmChord::GridTakesFocus);
}

void FrmChord::GridTakesFocus() {
    MSFlexGrid1->setFocus();
}

// ---- Loading ---------------------------------------------------------------------------------

void FrmChord::FillRow(int row, const ChordRecord& record) {
    if (row >= MSFlexGrid1->Rows()) MSFlexGrid1->SetRows(row + 1);
    const std::string cells[kGridColumns] = {"",
                                             record.msNo,
                                             record.chord1,
                                             record.chord2,
                                             std::string(1, record.drum),
                                             std::string(1, record.inst),
                                             std::string(1, record.sty),
                                             record.comment};
    for (int col = 0; col < kGridColumns; ++col)
        MSFlexGrid1->SetTextArray(faIndex(row, col), Latin1(cells[col]));
}

void FrmChord::ClearMsData() {
    CellEdited = false;
    MSFlexGrid1->SetRows(2);
    MSFlexGrid1->ClearCells();
    SetGridHeadings();
}

bool FrmChord::DoCmdLoad(bool useFixedKey) {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    FrmMain& main = app.frmMain();
    if (main.CmdTestOut->isEnabled() && g.TestOn) main.CmdTestOut_Click();
    g.OutputReady = false;
    main.PictSave->setEnabled(false);
    main.PictSOut->setEnabled(false);
    g.ChordMsCount = 0;
    main.LblTotalMCnt->SetCaption("000");

    MSFlexGrid1->hide();
    ClearMsData();
    LstTemp->clear();
    main.LstHa->clear();
    main.SetBarListColour(kBarListIdle);
    if (useFixedKey) g.MyVmCode = kFixedChordKey;

    // A missing file reads as an empty one: no measures.
    const std::string path = InFolder("Data.aco");
    const auto length = platform::qt::FileLength(path);
    const auto stored =
        platform::qt::ReadAtMost(path, length ? static_cast<std::size_t>(*length) : 0);
    const ChordDataRead read =
        ReadChordData(stored.value_or(std::vector<std::uint8_t>()), g.MyVmCode);
    const auto fail = [&] {
        ClearMsData();
        LstTemp->clear();
        // The bar list mirrors the line list; rows of refused data must not stay on show.
        main.LstHa->clear();
        MSFlexGrid1->show();
        return false;
    };
    if (read.error) {
        MsgBox(Latin1(*read.error), MsgIcon::kCritical);
        return fail();
    }
    const int count = static_cast<int>(read.records.size());
    KeptDigit.fill('0');
    MSFlexGrid1->SetRows(std::max(count, 1) + 1);
    for (int n = 0; n < count; ++n) {
        const ChordRecord& record = read.records[static_cast<std::size_t>(n)];
        KeptDigit[static_cast<std::size_t>(n)] = record.keptDigit;
        FillRow(n + 1, record);
        const QString line = Latin1(record.ChordListLine());
        LstTemp->addItem(line);
        main.LstHa->addItem(line.left(static_cast<int>(kBarListWidth)));
    }
    main.LblTotalMCnt->SetCaption(QString::fromStdString(ZeroPad(count, 3)));
    g.ChordMsCount = CheckChordMeasureCount(count, g.ChordFromMaker, g.MakerMsCount);
    if (g.ChordMsCount == 0) {
        fail();
        MsgBox(kInvalidMeasureCountText, MsgIcon::kCritical);
        return false;
    }
    MSFlexGrid1->SetCurrentCell(1, kColMsNo);
    main.LstHa->setCurrentRow(0);
    SetDrumLamps(DrumMode::kFull);
    CmdSaveUsr->setEnabled(false);
    MSFlexGrid1->show();
    return true;
}

// ---- Saving ----------------------------------------------------------------------------------

ChordGridRow FrmChord::GridRow(int row) const {
    const auto cell = [this, row](int col) {
        return MSFlexGrid1->TextArray(faIndex(row, col)).toLatin1().toStdString();
    };
    return {cell(kColChord1), cell(kColChord2), cell(kColDrum),
            cell(kColInst),   cell(kColSty),    cell(kColComments)};
}

bool FrmChord::SaveChordData() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    FrmMain& main = app.frmMain();
    const int rows = MSFlexGrid1->Rows() - 1;
    if (rows < 1) return false;
    std::vector<ChordGridRow> grid;
    for (int k = 1; k <= rows; ++k) grid.push_back(GridRow(k));

    // Every record is built before the file is touched, and the file is replaced whole, so a
    // failure leaves the chord data the composer reads as it was.
    const ChordDataWrite write = BuildChordData(grid, KeptDigit);
    bool saved = false;
    if (write.error) {
        MsgBox(Latin1(*write.error), MsgIcon::kCritical);
    } else {
        saved = platform::ReplaceFileAtomically(InFolder("Data.aco"),
                                                EncodeChordData(write.plain, kFixedChordKey));
    }
    if (!saved) {
        MsgBox("An error found. Chord data not accepted.", MsgIcon::kCritical);
        MSFlexGrid1->viewport()->update();
        CmdSaveUsr->setEnabled(false);
        return false;
    }

    LstTemp->clear();
    main.LstHa->clear();
    main.SetBarListColour(kBarListIdle);
    for (const std::string& line : write.lines) {
        LstTemp->addItem(Latin1(line));
        main.LstHa->addItem(Latin1(line.substr(0, kBarListWidth)));
    }
    g.MyVmCode = kFixedChordKey;
    CmdSaveUsr->setEnabled(true);
    SetGridForeColour(kGridSaved);
    CmdHide_Click();
    return true;
}

void FrmChord::CmdAcceptData_Click() {
    CoreGlobals& g = App::Get().g;
    if (g.ChordListBusy) return;
    CommitCellEdit(MSFlexGrid1->Row(), MSFlexGrid1->Col());
    g.ChordListBusy = true;
    if (TrimBlanks(GridRow(1).chord1).empty()) {
        MsgBox(
            "The Chord1 in the measure 001 cannot be empty. Please enter some valid chord string "
            "here.",
            MsgIcon::kCritical);
        MSFlexGrid1->SetCurrentCell(1, kColChord1);
        MakeSelCellVisible();
        g.ChordListBusy = false;
        return;
    }
    std::vector<std::string> styles;
    for (int row = 1; row <= g.ChordMsCount && row < MSFlexGrid1->Rows(); ++row)
        styles.push_back(GridRow(row).sty);
    DeduplicateStyles(styles);
    for (std::size_t i = 0; i < styles.size(); ++i)
        MSFlexGrid1->SetTextArray(faIndex(static_cast<int>(i) + 1, kColSty), Latin1(styles[i]));
    SaveChordData();
    g.ChordListBusy = false;
}

// ---- Chord files -----------------------------------------------------------------------------

void FrmChord::CmdBrowseUsr_Click() {
    App::Get().frmMain().fileCommands().BrowseUserChordFile();
}

void FrmChord::CmdLoadUsr_Click() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    FrmMain& main = app.frmMain();
    const std::string typed = platform::qt::FileNameBytes(TxtUsrList->text());
    if (TrimBlanks(typed).empty()) {
        MsgBox(
            "No Path Name to load Chord Data File *.chd\n"
            "Please, click <Browse> to find a file name to load.",
            MsgIcon::kInformation);
        MSFlexGrid1->viewport()->update();
        return;
    }
    const std::string path = ChordFileLoadPath(typed);
    // The file is read and checked before anything is replaced: a file that cannot be read, is
    // damaged or belongs to another song leaves the chord data, the list and the steps done as
    // they were.
    const auto stored = platform::qt::ReadAtMost(path, kChordFileReadLimit);
    const auto cannotLoad = [&] {
        MsgBox(QString::fromStdString("Error loading Chord data from " + path + ", " +
                                      "Please check the Path Name and try again. "),
               MsgIcon::kCritical);
        MSFlexGrid1->viewport()->update();
        g.ChordListBusy = false;
    };
    if (!stored) return cannotLoad();
    const ChordFileCheck check = CheckChordFile(*stored, g.MakerMsCount);
    if (check.error) {
        MsgBox(Latin1(*check.error), MsgIcon::kCritical);
        MsgBox(kNotApplicableText, MsgIcon::kCritical);
        return;
    }
    if (!platform::ReplaceFileAtomically(
            InFolder("Data.aco"), std::span<const std::uint8_t>(stored->data(), check.length))) {
        return cannotLoad();
    }

    g.ChordFromMaker = false;
    g.ChordListBusy = true;
    g.SongFromProject = false;
    if (DoCmdLoad(true)) {
        main.PictMake->setEnabled(true);
        SetGridForeColour(kGridEdited);
        CmdSaveUsr->setEnabled(false);
    } else {
        // Only a chord data file that changed after the check can get here.
        g.ProceedDone = false;
        main.MMControl1->Command("Close");
        main.SwOfPlLed();
        main.LstHa->clear();
        main.SetBarListColour(kBarListIdle);
        main.LblTotalMCnt->SetCaption("000");
        MsgBox(kNotApplicableText, MsgIcon::kCritical);
        hide();
    }
    g.ChordListBusy = false;
}

void FrmChord::CmdSaveUsr_Click() {
    const std::string typed = platform::qt::FileNameBytes(TxtUsrList->text());
    if (TrimBlanks(typed).empty()) {
        MsgBox(
            "No Path Name to save Chord Data.\n"
            "Please enter Path Name to save your Chord Data List.",
            MsgIcon::kCritical);
        return;
    }
    const std::optional<std::string> path = ChordFileSavePath(typed);
    if (!path) {
        MsgBox(QString("Please use extension ") + kChordFileExtension +
                   " for the filename to be saved. You can leave it blank to accept default "
                   "extension.",
               MsgIcon::kInformation);
        return;
    }
    if (platform::qt::FileLength(*path).value_or(0) > 0) {
        const MsgResult answer = MsgBox(QString::fromStdString("Overwrite " + *path + " ?"),
                                        MsgIcon::kQuestion, MsgButtons::kOkCancel);
        MSFlexGrid1->viewport()->update();
        if (answer != MsgResult::kOk) return;
    }
    if (!CopyDataToChordFile(*path)) {
        MsgBox(QString::fromStdString("Cannot save chord data as " + *path), MsgIcon::kCritical);
    }
}

bool FrmChord::CopyDataToChordFile(const std::string& path) {
    const std::string data = InFolder("Data.aco");
    const auto length = platform::qt::FileLength(data);
    if (!length) return false;
    const auto bytes = platform::qt::ReadAtMost(data, static_cast<std::size_t>(*length));
    // A read-only chord file is the user's to keep.
    if (!bytes || platform::qt::IsReadOnly(path)) return false;
    return platform::ReplaceFileAtomically(path, *bytes);
}

// ---- Export, play, close ---------------------------------------------------------------------

void FrmChord::CmdExport_Click() {
    CoreGlobals& g = App::Get().g;
    if (MSFlexGrid1->Rows() < 2) return;
    g.ChordListBusy = true;
    std::string text;
    for (int row = 1; row < MSFlexGrid1->Rows(); ++row) {
        const std::string msNo =
            MSFlexGrid1->TextArray(faIndex(row, kColMsNo)).toLatin1().toStdString();
        text += ChordListExportLine(msNo, GridRow(row));
    }
    const bool written = platform::ReplaceFileAtomically(
        InFolder(kExportFile),
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                      text.size()));
    g.ChordListBusy = false;
    if (written) {
        MsgBox(QString("Chord list exported to the file named ") + kExportFile,
               MsgIcon::kInformation);
    } else {
        MsgBox(QString("Cannot export chord list to the file ") + kExportFile, MsgIcon::kCritical);
    }
    MSFlexGrid1->viewport()->update();
}

void FrmChord::CmdP_Click() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    FrmMain& main = app.frmMain();
    if (g.AnyBusy() || g.ChordListBusy || main.MMControl1->Mode() == platform::qt::kModePlaying)
        return;
    const int bar = MSFlexGrid1->Row() - 1;
    if (!main.CanGatOut[0]->Enabled() || bar < 0) return;
    main.CanGatOut[0]->SetValue(bar);
    main.CanGatOut[1]->SetValue(bar);
    main.TryToPlay();
}

void FrmChord::CmdS_Click() {
    App& app = App::Get();
    if (app.g.AnyBusy()) return;
    app.frmMain().TryToPause();
}

void FrmChord::CmdHide_Click() {
    App& app = App::Get();
    if (app.g.ProgramClosing) return;
    // The main window hides the editor when it becomes active, so the user lands on it rather
    // than on whatever window lies below the editor.
    app.g.HideChordEditorPending = true;
    FrmMain& main = app.frmMain();
    main.setWindowState(main.windowState() & ~Qt::WindowMinimized);
    main.show();
    main.raise();
    main.activateWindow();
    main.update();
}

void FrmChord::closeEvent(QCloseEvent* event) {
    event->ignore();
    CmdHide_Click();
}

void FrmChord::reject() {
    CmdHide_Click();
}

}  // namespace corvane::editors
