// The chord list editor: one grid row per measure with the two half-measure chords, the drum
// and instrument section codes, the style switch and a comment. The workflow hides it and clears
// its line list at the start of Load In and Proceed and loads the chord maker's data into it
// after Proceed (DoCmdLoad); the user edits the grid, and "&Accept Data" writes it back to
// "Data.aco" for the composer. LstTemp mirrors the data last loaded or saved, the grid holds the
// edits; the grid's text is dark red while it holds edits that are not saved.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <string>
#include <vector>

#include "frontend/core/name_tables.h"
#include "frontend/core/ui/form_dialog.h"
#include "frontend/editors/chord_data.h"
#include "frontend/editors/drum_fills.h"
#include "frontend/editors/ui/chord_grid.h"
#include "platform/qt/caption_label.h"

namespace corvane::editors {

constexpr Colour kGridEdited = 128;  // dark red: edits not saved
constexpr Colour kGridSaved = 0;
constexpr Colour kLampOff = 0x808080;
constexpr Colour kLampOn = 0xFF00;

class FrmChord : public FormDialog {
    Q_OBJECT
  public:
    explicit FrmChord(QWidget* parent = nullptr);

    QListWidget* LstTemp = nullptr;  // hidden: one ChordListLine per measure
    ChordGrid* MSFlexGrid1 = nullptr;
    QPushButton* CmdAcceptData = nullptr;
    QPushButton* CmdExport = nullptr;
    QPushButton* CmdHide = nullptr;
    QPushButton* CmdP = nullptr;
    QPushButton* CmdS = nullptr;
    QLineEdit* TxtUsrList = nullptr;
    QPushButton* CmdBrowseUsr = nullptr;
    QPushButton* CmdLoadUsr = nullptr;
    QPushButton* CmdSaveUsr = nullptr;
    QPushButton* CmdNDrum = nullptr;
    QPushButton* CmdLdrum = nullptr;
    QPushButton* CmdMDrum = nullptr;
    QPushButton* CmdNormal = nullptr;
    std::array<platform::qt::CaptionLabel*, kDrumModeCount> LblDrMode{};
    platform::qt::CaptionLabel* LblDMode = nullptr;
    platform::qt::CaptionLabel* LblMMode = nullptr;
    platform::qt::CaptionLabel* LblKey = nullptr;
    QLabel* LblGridCaption = nullptr;
    QPlainTextEdit* TxtTips = nullptr;

    // Form state.
    ColumnLimits ColMaxLen{};
    KeptDigits KeptDigit{};
    bool CellEdited = false;
    std::array<bool, 5> DrumModeOn{};
    // The chord clipboard holds a whole list (260 measures of two chords); the code clipboard
    // one column.
    static constexpr int kClipChordCapacity = 520;
    static constexpr int kClipCellCapacity = 511;
    std::vector<std::string> ClipChords;
    int ClipColumns = 0;
    std::vector<std::string> ClipCells;
    int ClipCellsValid = 0;

    // Cells by index in the flat cell array.
    int faIndex(int row, int col) const;
    bool IndexToRowCol(int index, int& row, int& col) const;
    int IndexToRow(int index) const;
    int IndexToCol(int index) const;
    // The grid row of the last measure, locked for the chords and the style column.
    int LastRow() const { return MSFlexGrid1->Rows() - 1; }

    // Loading and saving (frm_chord.cpp).
    bool DoCmdLoad(bool useFixedKey);
    void ClearMsData();
    bool SaveChordData();
    void CmdAcceptData_Click();
    void CmdBrowseUsr_Click();
    void CmdLoadUsr_Click();
    void CmdSaveUsr_Click();
    bool CopyDataToChordFile(const std::string& path);
    void CmdExport_Click();
    void CmdHide_Click();
    void CmdP_Click();
    void CmdS_Click();
    void SetGridForeColour(Colour colour) { MSFlexGrid1->SetForeColor(colour); }
    Colour GridForeColour() const { return MSFlexGrid1->ForeColor(); }

    // The grid (frm_chord_grid.cpp).
    void SetBngColWidth();
    void GridFormatAll();
    void SetGridHeadings();
    void MakeSelCellVisible();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_KeyDown(int keyCode, int shift);
    void MSFlexGrid1_KeyPress(int keyAscii);
    void CommitCellEdit(int row, int col);
    void ClearCell();
    void ShowSectionNames();
    void CopyRow();
    void CopyDrumCell();
    void CopyInstCell();
    void PasteRow();
    void PasteDrumCell();
    void PasteInstCell();
    void OpenDrumWizard(int row, int col);
    void OpenChord1Builder(int row);
    void OpenChord2Builder(int row);
    // The mark of an edit that came from outside the grid (paste, wizards, drum fills).
    void MarkEdited();

    // Automatic drum fills (frm_chord_drums.cpp).
    void CmdNDrum_Click() { SwitchDrumMode(DrumMode::kNo); }
    void CmdLdrum_Click() { SwitchDrumMode(DrumMode::kLess); }
    void CmdMDrum_Click() { SwitchDrumMode(DrumMode::kMore); }
    void CmdNormal_Click() { SwitchDrumMode(DrumMode::kFull); }
    void SetDrumLamps(DrumMode mode);

  protected:
    // Closing the window or Escape only hides the editor, through "&Close".
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void CreateControls();
    void ConnectHandlers();
    // Fills row `row` (1 for the first measure) from one measure, adding the row when needed.
    void FillRow(int row, const ChordRecord& record);
    ChordGridRow GridRow(int row) const;
    void SwitchDrumMode(DrumMode mode);
    void CopyCodeCells(int column);
    void PasteCodeCells(int column);
    void GridTakesFocus();
};

}  // namespace corvane::editors
