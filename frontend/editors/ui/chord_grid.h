// The chord list's grid: a QTableWidget that speaks the grid vocabulary the editor is written
// in. Row 0 is the fixed heading row (kept hidden, its texts shown by the horizontal header so
// they stay on screen while the rows scroll) and column 0 the fixed, empty column (kept
// hidden, the vertical header standing in for it), so grid row k is table row k and no fixed
// cell ever becomes current. The current cell is `Row`, `Col`; `RowSel`, `ColSel` is the other
// corner of the selection; `TopRow` the first row on screen. Cells are addressed by row and
// column or by their index in the flat cell array (row x columns + column). The grid never
// edits a cell itself: keys reach the editor as KeyDown (key code and shift bits) and KeyPress
// (the character), and LeaveCell names the cell being left before another becomes current.
#pragma once

#include <QTableWidget>

#include "frontend/core/name_tables.h"

namespace corvane::editors {

class ChordGrid : public QTableWidget {
    Q_OBJECT
  public:
    explicit ChordGrid(QWidget* parent = nullptr);

    int Rows() const { return rowCount(); }
    int Cols() const { return columnCount(); }
    // Rows added are empty; the heading row stays fixed.
    void SetRows(int rows);

    int Row() const { return currentRow(); }
    int Col() const { return currentColumn(); }
    // Moving the current cell collapses the selection onto it.
    void SetCurrentCell(int row, int col);
    int RowSel() const;
    int ColSel() const;
    // Selects from the current cell to (rowSel, colSel).
    void SetSelection(int rowSel, int colSel);

    int TopRow() const;
    void SetTopRow(int row);

    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);
    QString TextArray(int index) const;
    void SetTextArray(int index, const QString& text);
    // Every cell emptied, the headings included.
    void ClearCells();

    void SetColWidth(int col, int twips);
    Colour ForeColor() const { return foreColor_; }
    void SetForeColor(Colour colour);

    // Key codes and shift bits of the key events.
    static constexpr int kKeyBack = 8;
    static constexpr int kKeyReturn = 13;
    static constexpr int kKeyDelete = 46;
    static constexpr int kShiftBit = 1;
    static constexpr int kCtrlBit = 2;
    static constexpr int kAltBit = 4;

  signals:
    void LeaveCell(int row, int col);
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void Click();
    void RightMouseUp();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    void BlankRowLabels();

    Colour foreColor_ = 0;
};

}  // namespace corvane::editors
