// The chord list grid's handlers: set-up, keys, the cell commit, copy and paste, the section
// names of the current row, keeping the current row on screen and the wizard openers.
#include <algorithm>

#include "frontend/app/app.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/vb_text.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_drfill.h"
#include "frontend/editors/ui/frm_taoac.h"
#include "frontend/editors/wizards.h"

namespace corvane::editors {
namespace {

std::string Text(const QString& cell) {
    return cell.toLatin1().toStdString();
}

bool IsChordColumn(int col) {
    return col == kColChord1 || col == kColChord2;
}

// The current row stays within this many rows from the top row.
constexpr int kRowsBelowTop = 7;

struct ColumnSetUp {
    const char* heading;
    int twips;
};
constexpr std::array<ColumnSetUp, kGridColumns> kColumns = {{
    {"", 300},
    {"MsNo", 600},
    {"Chord1", 840},
    {"Chord2", 840},
    {"Drum", 600},
    {"Inst", 600},
    {"Sty", 510},
    {"Comments", 1300},
}};

}  // namespace

int FrmChord::faIndex(int row, int col) const {
    return row * MSFlexGrid1->Cols() + col;
}

bool FrmChord::IndexToRowCol(int index, int& row, int& col) const {
    const int cols = MSFlexGrid1->Cols();
    if (cols == 0) {
        row = 0;
        col = 0;
        return false;
    }
    row = index / cols;
    col = index % cols;
    return true;
}

int FrmChord::IndexToRow(int index) const {
    int row = 0, col = 0;
    IndexToRowCol(index, row, col);
    return row;
}

int FrmChord::IndexToCol(int index) const {
    int row = 0, col = 0;
    IndexToRowCol(index, row, col);
    return col;
}

// ---- Set-up ----------------------------------------------------------------------------------

void FrmChord::SetBngColWidth() {
    ColMaxLen = editors::ColMaxLen();
}

void FrmChord::GridFormatAll() {
    ChordGrid& grid = *MSFlexGrid1;
    if (grid.Rows() < 2 || grid.Cols() < 2) return;
    for (int col = 0; col < kGridColumns; ++col) grid.SetColWidth(col, kColumns[col].twips);
    // The fixed column is the row header's place on screen.
    grid.setColumnHidden(kColFixed, true);
    for (int row = 1; row < grid.Rows(); ++row)
        grid.SetTextArray(faIndex(row, kColMsNo), Latin1(ZeroPad(row, 3)));
    SetGridHeadings();
}

void FrmChord::SetGridHeadings() {
    for (int col = 0; col < kGridColumns; ++col)
        MSFlexGrid1->SetTextArray(faIndex(0, col), kColumns[col].heading);
    MSFlexGrid1->SetCurrentCell(1, kColMsNo);
}

// ---- Keeping the current row in view ---------------------------------------------------------

void FrmChord::MakeSelCellVisible() {
    ChordGrid& grid = *MSFlexGrid1;
    if (grid.Rows() >= 3) {
        const int top = grid.TopRow();
        const int wanted = grid.Row() - kRowsBelowTop;
        if (top < wanted && wanted >= 1) {
            grid.SetTopRow(wanted);
        } else if (top > grid.Row()) {
            grid.SetTopRow(grid.Row());
        }
    }
    ShowSectionNames();
}

void FrmChord::MSFlexGrid1_Click() {
    if (!App::Get().g.ChordListBusy) MakeSelCellVisible();
}

void FrmChord::ShowSectionNames() {
    CoreGlobals& g = App::Get().g;
    if (g.ChordListBusy) return;
    const int row = MSFlexGrid1->Row();
    const std::string drum = Text(MSFlexGrid1->TextArray(faIndex(row, kColDrum)));
    const std::string inst = Text(MSFlexGrid1->TextArray(faIndex(row, kColInst)));
    LblDMode->SetCaption(QString::fromStdString(SectionName(drum)));
    LblMMode->SetCaption(QString::fromStdString(SectionName(inst)));
    if (FlashesSection(drum)) g.SectionFlash = true;
}

// ---- Keys ------------------------------------------------------------------------------------

void FrmChord::MSFlexGrid1_KeyDown(int keyCode, int shift) {
    if (App::Get().g.ChordListBusy) return;
    ChordGrid& grid = *MSFlexGrid1;
    const int row = grid.Row();
    const int col = grid.Col();
    if (col == kColMsNo) return;
    const bool plain = shift == 0;
    const bool ctrl = shift == ChordGrid::kCtrlBit;
    if (keyCode == ChordGrid::kKeyBack && plain) {
        if (!IsChordColumn(col) && col != kColComments) return;
        if (IsChordColumn(col) && row == LastRow()) return;
        const int index = faIndex(row, col);
        const std::string cell = Text(grid.TextArray(index));
        const std::string_view trimmed = TrimBlanks(cell);
        if (trimmed.empty()) return;
        grid.SetTextArray(index, Latin1(std::string(trimmed.substr(0, trimmed.size() - 1))));
        CellEdited = true;
    } else if (keyCode == ChordGrid::kKeyReturn && ctrl && row >= 1) {
        if (col == kColDrum || col == kColInst || col == kColSty) OpenDrumWizard(row, col);
        if (col == kColChord1) OpenChord1Builder(row);
        if (col == kColChord2) OpenChord2Builder(row);
    } else if (keyCode == ChordGrid::kKeyDelete && plain) {
        ClearCell();
    } else if (keyCode == 'C' && ctrl) {
        if (col == kColDrum) CopyDrumCell();
        if (col == kColInst) CopyInstCell();
        if (IsChordColumn(col)) CopyRow();
    } else if (keyCode == 'V' && ctrl) {
        if (IsChordColumn(col)) PasteRow();
        if (col == kColDrum) PasteDrumCell();
        if (col == kColInst) PasteInstCell();
    }
}

void FrmChord::MSFlexGrid1_KeyPress(int keyAscii) {
    if (App::Get().g.ChordListBusy) return;
    ChordGrid& grid = *MSFlexGrid1;
    const int row = grid.Row();
    const int col = grid.Col();
    if (col == kColMsNo) return;
    if (keyAscii == 13) return CommitCellEdit(row, col);
    if (keyAscii == ' ') return ClearCell();
    const int index = faIndex(row, col);
    const auto typed = FilterTypedKey(col, row, LastRow(), Text(grid.TextArray(index)), keyAscii);
    if (!typed) return;
    grid.SetTextArray(index, Latin1(typed->text));
    CellEdited = true;
    if (typed->refreshNames) ShowSectionNames();
}

void FrmChord::ClearCell() {
    ChordGrid& grid = *MSFlexGrid1;
    const int row = grid.Row();
    const int col = grid.Col();
    const int index = faIndex(row, col);
    if (col == kColDrum || col == kColInst) {
        grid.SetTextArray(index, "0");
        ShowSectionNames();
    } else if ((col == kColSty && row == 1) ||
               ((IsChordColumn(col) || col == kColSty) && row == LastRow())) {
        return;
    } else {
        grid.SetTextArray(index, QString());
    }
    CellEdited = true;
}

void FrmChord::CommitCellEdit(int row, int col) {
    if (!CellEdited || App::Get().g.ChordListBusy) return;
    SetGridForeColour(kGridEdited);
    CellEdited = false;
    CmdSaveUsr->setEnabled(false);
    if (!IsChordColumn(col)) return;
    const int index = faIndex(row, col);
    MSFlexGrid1->SetTextArray(index, Latin1(CheckedChordCell(Text(MSFlexGrid1->TextArray(index)))));
}

void FrmChord::MarkEdited() {
    SetGridForeColour(kGridEdited);
    CmdSaveUsr->setEnabled(false);
}

// ---- Copy and paste --------------------------------------------------------------------------

void FrmChord::CopyRow() {
    const ChordGrid& grid = *MSFlexGrid1;
    ClipChords.clear();
    ClipColumns = 0;
    const int firstRow = std::min(grid.Row(), grid.RowSel());
    const int lastRow = std::max(grid.Row(), grid.RowSel());
    const int firstCol = std::min(grid.Col(), grid.ColSel());
    const int lastCol = std::max(grid.Col(), grid.ColSel());
    if (firstCol < kColChord1 || lastCol > kColChord2 || firstRow < 1) return;
    ClipColumns = lastCol - firstCol + 1;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            if (static_cast<int>(ClipChords.size()) >= kClipChordCapacity) return;
            ClipChords.push_back(Text(grid.TextArray(faIndex(row, col))));
        }
    }
}

void FrmChord::PasteRow() {
    ChordGrid& grid = *MSFlexGrid1;
    const int startCol = grid.Col();
    if (ClipChords.empty() || !IsChordColumn(startCol)) return;
    std::size_t next = 0;
    const int cells = grid.Rows() * grid.Cols();
    for (int index = faIndex(grid.Row(), startCol); index < cells; ++index) {
        const int row = IndexToRow(index);
        const int col = IndexToCol(index);
        if (row >= LastRow()) break;
        if (!IsChordColumn(col) || (ClipColumns != 2 && col != startCol)) continue;
        // A copied cell may be one typed and not yet committed: it is checked as a commit would.
        grid.SetTextArray(index, Latin1(CheckedChordCell(ClipChords[next])));
        if (++next == ClipChords.size()) break;
    }
    // A paste is an edit like any other: the list must be accepted before it is kept as a file.
    if (next > 0) MarkEdited();
}

void FrmChord::CopyDrumCell() {
    CopyCodeCells(kColDrum);
}

void FrmChord::CopyInstCell() {
    CopyCodeCells(kColInst);
}

void FrmChord::CopyCodeCells(int column) {
    const ChordGrid& grid = *MSFlexGrid1;
    ClipCells.clear();
    ClipCellsValid = 0;
    if (grid.Col() != column || grid.ColSel() != column) return;
    const int firstRow = std::max(std::min(grid.Row(), grid.RowSel()), 1);
    const int lastRow = std::max(grid.Row(), grid.RowSel());
    for (int row = firstRow; row <= lastRow; ++row) {
        if (static_cast<int>(ClipCells.size()) >= kClipCellCapacity) break;
        ClipCells.push_back(Text(grid.TextArray(faIndex(row, column))));
    }
    ClipCellsValid = 1;
}

void FrmChord::PasteDrumCell() {
    PasteCodeCells(kColDrum);
}

void FrmChord::PasteInstCell() {
    PasteCodeCells(kColInst);
}

void FrmChord::PasteCodeCells(int column) {
    ChordGrid& grid = *MSFlexGrid1;
    if (ClipCellsValid == 0 || grid.Col() != column) return;
    int row = grid.Row();
    for (const std::string& code : ClipCells) {
        if (row > LastRow()) break;
        grid.SetTextArray(faIndex(row, column), Latin1(code));
        ++row;
    }
    MarkEdited();
    ShowSectionNames();
}

// ---- Wizards ---------------------------------------------------------------------------------

void FrmChord::OpenDrumWizard(int row, int col) {
    if (App::Get().g.ChordListBusy) return;
    FrmDrFill& wizard = App::Get().frmDrFill();
    // An open wizard serves another cell; it reads its request when it is shown.
    wizard.Deactivate();
    wizard.Tag = QString::fromStdString(DrumWizardTag(row, col));
    wizard.setWindowTitle(QString::fromStdString(DrumWizardCaption(row, col)));
    wizard.show();
    wizard.raise();
    wizard.activateWindow();
}

namespace {

void OpenChordBuilder(int column, int row) {
    if (row >= App::Get().g.ChordMsCount) return;
    FrmTaoAc& builder = App::Get().frmTaoAc();
    builder.Deactivate();
    builder.Tag = QString::fromStdString(ChordBuilderTag(column, row));
    builder.setWindowTitle(QString::fromStdString(ChordBuilderCaption(column, row)));
    builder.show();
    builder.raise();
    builder.activateWindow();
}

}  // namespace

void FrmChord::OpenChord1Builder(int row) {
    OpenChordBuilder(1, row);
}

void FrmChord::OpenChord2Builder(int row) {
    OpenChordBuilder(2, row);
}

}  // namespace corvane::editors
