#include "frontend/editors/ui/chord_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

#include "platform/qt/caption_label.h"

namespace corvane::editors {
namespace {

constexpr double kTwipsPerPixel = 15.0;

int ShiftBits(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? ChordGrid::kShiftBit : 0) |
           (modifiers & Qt::ControlModifier ? ChordGrid::kCtrlBit : 0) |
           (modifiers & Qt::AltModifier ? ChordGrid::kAltBit : 0);
}

// The key code of a key-down: letters, digits and the space bar are their upper-case character
// codes. Other typing keys get none, so that "." (whose character code is the Delete key's
// code) types a full stop instead of clearing the cell.
int KeyCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
        case Qt::Key_Backspace:
            return ChordGrid::kKeyBack;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return ChordGrid::kKeyReturn;
        case Qt::Key_Delete:
            return ChordGrid::kKeyDelete;
        case Qt::Key_Escape:
            return 27;
        default: {
            const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
            const bool digit = key >= Qt::Key_0 && key <= Qt::Key_9;
            return letter || digit || key == Qt::Key_Space ? key : 0;
        }
    }
}

// The character a key types, with the control codes of Ctrl+letter, Enter (13, or 10 with
// Ctrl), Backspace and Escape; 0 when it types none.
int KeyAscii(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::AltModifier) return 0;
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return modifiers & Qt::ControlModifier ? 10 : 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Delete:
            return 0;
        default:
            break;
    }
    if (modifiers & Qt::ControlModifier) {
        const int key = event.key();
        return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 1 : 0;
    }
    const QString text = event.text();
    if (text.size() != 1 || text[0].unicode() < 0x20 || text[0].unicode() > 0xFF) return 0;
    return text[0].unicode();
}

bool MovesTheCursor(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            return false;
    }
}

}  // namespace

ChordGrid::ChordGrid(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The comments take what is left of the width.
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(20);
    verticalHeader()->setDefaultSectionSize(18);
    connect(this, &QTableWidget::cellClicked, this, [this] { emit Click(); });
}

void ChordGrid::SetRows(int rows) {
    setRowCount(std::max(rows, 1));
    setRowHidden(0, true);
    BlankRowLabels();
}

void ChordGrid::BlankRowLabels() {
    setVerticalHeaderLabels(QStringList(rowCount(), QString()));
}

void ChordGrid::SetCurrentCell(int row, int col) {
    setCurrentCell(row, col);
}

int ChordGrid::RowSel() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.size() != 1) return Row();
    const QTableWidgetSelectionRange& range = ranges.front();
    return Row() == range.topRow() ? range.bottomRow() : range.topRow();
}

int ChordGrid::ColSel() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.size() != 1) return Col();
    const QTableWidgetSelectionRange& range = ranges.front();
    return Col() == range.leftColumn() ? range.rightColumn() : range.leftColumn();
}

void ChordGrid::SetSelection(int rowSel, int colSel) {
    clearSelection();
    setRangeSelected(QTableWidgetSelectionRange(std::min(Row(), rowSel), std::min(Col(), colSel),
                                                std::max(Row(), rowSel), std::max(Col(), colSel)),
                     true);
}

int ChordGrid::TopRow() const {
    const int row = rowAt(0);
    return row < 0 ? std::min(1, rowCount() - 1) : row;
}

void ChordGrid::SetTopRow(int row) {
    if (row < 1 || row >= rowCount()) return;
    // Rows just added are laid out lazily; the scroll range must know them first.
    executeDelayedItemsLayout();
    updateGeometries();
    scrollTo(model()->index(row, std::max(Col(), 1)), QAbstractItemView::PositionAtTop);
}

QString ChordGrid::TextMatrix(int row, int col) const {
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->text() : QString();
}

void ChordGrid::SetTextMatrix(int row, int col, const QString& text) {
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount()) return;
    QTableWidgetItem* cell = item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        setItem(row, col, cell);
    }
    cell->setText(text);
    if (row == 0) {
        QTableWidgetItem* heading = horizontalHeaderItem(col);
        if (!heading) {
            heading = new QTableWidgetItem;
            setHorizontalHeaderItem(col, heading);
        }
        heading->setText(text);
    }
}

QString ChordGrid::TextArray(int index) const {
    if (columnCount() == 0 || index < 0) return {};
    return TextMatrix(index / columnCount(), index % columnCount());
}

void ChordGrid::SetTextArray(int index, const QString& text) {
    if (columnCount() == 0 || index < 0) return;
    SetTextMatrix(index / columnCount(), index % columnCount(), text);
}

void ChordGrid::ClearCells() {
    for (int row = 0; row < rowCount(); ++row) {
        for (int col = 0; col < columnCount(); ++col) {
            if (QTableWidgetItem* cell = item(row, col)) cell->setText(QString());
        }
    }
    for (int col = 0; col < columnCount(); ++col) {
        if (QTableWidgetItem* heading = horizontalHeaderItem(col)) heading->setText(QString());
    }
}

void ChordGrid::SetColWidth(int col, int twips) {
    setColumnWidth(col, static_cast<int>(std::lround(twips / kTwipsPerPixel)));
}

void ChordGrid::SetForeColor(Colour colour) {
    foreColor_ = colour;
    QPalette colours = palette();
    colours.setColor(QPalette::Text, platform::qt::ColourOf(colour));
    setPalette(colours);
}

void ChordGrid::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(KeyCode(*event), ShiftBits(event->modifiers()));
    if (const int ascii = KeyAscii(*event); ascii != 0) emit KeyPress(ascii);
    // Only moving keys go on to the table; a typed letter must not jump to a matching cell.
    if (MovesTheCursor(event->key())) {
        QTableWidget::keyPressEvent(event);
    } else {
        event->accept();
    }
}

void ChordGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton) emit RightMouseUp();
}

void ChordGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (previous.isValid()) emit LeaveCell(previous.row(), previous.column());
    QTableWidget::currentChanged(current, previous);
}

}  // namespace corvane::editors
