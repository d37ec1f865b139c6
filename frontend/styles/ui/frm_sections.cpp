#include "frontend/styles/ui/frm_sections.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "frontend/app/app.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/vb_text.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/slot_tables.h"
#include "frontend/styles/style_manager.h"
#include "frontend/styles/style_setting_file.h"
#include "frontend/styles/ui/style_panel.h"
#include "platform/file.h"
#include "platform/qt/msg_box.h"
#include "platform/qt/program_end.h"

namespace corvane::styles {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

// The rows of the section list line up with the "--> N" buttons beside them.
constexpr int kSlotRowHeight = 26;
constexpr int kSlotListTop = 32;

const char* const kSwitchTips =
    "By default, styles will be switched automatically in sequence: 1,2,3,1,... You can modify "
    "Styles Switching as you want in Chords dialog";

const char* const kTips =
    "Tips: Orvella uses five styles to create an accompaniment.\n"
    "-The accompaniment always starts with style 1. \n"
    "-The style 2 may starts and ends at some measures. The accompaniment will switch to the \n"
    "style 3 when the style 2 ends, ... and so on. Styles 1, 2, 3, 4 and 5 may be the same.\n"
    "-User should choose identical styles, or use the same style, but with difference "
    "instrument \n"
    "parameters (GM Codes, Volumes, Modes) to create an accompaniment for a song.";

QString RowText(const QListWidget* list, int row) {
    const QListWidgetItem* item = list->item(row);
    return item ? item->text() : QString();
}

// Writing a row one past the end appends it, as the dialog's lists always did.
void SetRow(QListWidget* list, int row, const QString& text) {
    if (row < list->count()) {
        list->item(row)->setText(text);
        return;
    }
    while (list->count() <= row) {
        auto* item = new QListWidgetItem(list->count() == row ? text : QString());
        item->setSizeHint(QSize(0, kSlotRowHeight));
        list->addItem(item);
    }
}

void CopyRows(const QListWidget* from, QListWidget* to) {
    for (int row = 0; row < kSlotCount && row < from->count(); ++row) {
        SetRow(to, row, from->item(row)->text());
    }
}

QPushButton* MakeButton(QWidget* form, const QString& name, const QRect& place,
                        const QString& text) {
    auto* button = MakeControl<QPushButton>(form, name, place);
    button->setText(text);
    return button;
}

}  // namespace

FrmSections::FrmSections(QWidget* parent)
    : DeactivatingDialog("FrmSections", "Style Manager", parent) {
    setFixedSize(600, 500);
    LstStyIdx = MakeControl<platform::qt::SortedListBox>(this, "LstStyIdx");
    LstStyIdx->hide();
    LstStyles = MakeControl<QListWidget>(this, "LstStyles", {10, 10, 250, 300});
    LstStyles->setToolTip("Available styles");
    LstStyles->installEventFilter(this);

    TxtFind = MakeControl<QLineEdit>(this, "TxtFind", {10, 318, 166, 26});
    TxtFind->setToolTip("Text to search");
    TxtFind->installEventFilter(this);
    CmdFind = MakeButton(this, "CmdFind", {182, 318, 78, 26}, "Search");
    TxtFound = MakeControl<QLineEdit>(this, "TxtFound", {10, 350, 250, 26});
    TxtFound->setToolTip("Text found");
    TxtFound->setReadOnly(true);

    LblSlStyles = MakeControl<QLabel>(this, "LblSlStyles", {336, 10, 254, 20});
    LblSlStyles->setText("Selected Styles :");
    LstSectStyles = MakeControl<QListWidget>(
        this, "LstSectStyles", {336, kSlotListTop, 254, kSlotCount * kSlotRowHeight + 4});
    LstSectStyles->setToolTip("Selected styles");
    LstSectStyles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LstSectStyles->viewport()->installEventFilter(this);
    LstSectIdx = MakeControl<QListWidget>(this, "LstSectIdx");
    LstSectStylesOld = MakeControl<QListWidget>(this, "LstSectStylesOld");
    LstSectIdxOld = MakeControl<QListWidget>(this, "LstSectIdxOld");
    for (QListWidget* hidden : {LstSectIdx, LstSectStylesOld, LstSectIdxOld}) hidden->hide();
    for (QListWidget* list : {LstSectStyles, LstSectIdx, LstSectStylesOld, LstSectIdxOld}) {
        SetRow(list, kSlotCount - 1, QString());
    }

    QPushButton** picks[kSlotCount] = {&CmdGetSty1, &CmdGetSty2, &CmdGetSty3, &CmdGetSty4,
                                       &CmdGetSty5};
    for (int n = 1; n <= kSlotCount; ++n) {
        QPushButton* pick =
            MakeButton(this, "CmdGetSty" + QString::number(n),
                       {270, kSlotListTop + 2 + (n - 1) * kSlotRowHeight, 58, kSlotRowHeight - 2},
                       "--> " + QString::number(n));
        pick->setToolTip("Pick-Up Hi-Lighted style as Style " + QString::number(n));
        connect(pick, &QPushButton::clicked, this, [this, n] { CmdGetSty_Click(n); });
        *picks[n - 1] = pick;
    }

    ChkGhQ8 = MakeControl<QCheckBox>(this, "ChkGhQ8", {336, 176, 20, 20});
    LblGhQ8 = MakeControl<QLabel>(this, "LblGhQ8", {358, 176, 120, 20});
    LblGhQ8->setText("Auto-Octave");
    LblGhQ8->installEventFilter(this);
    LblSwitchTips = MakeControl<QLabel>(this, "LblSwitchTips", {336, 202, 254, 64});
    LblSwitchTips->setText(kSwitchTips);
    LblSwitchTips->setWordWrap(true);
    LblSwitchTips->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    CmdListStys = MakeButton(this, "CmdListStys", {336, 272, 254, 28},
                             "List my loaded styles to the text file");
    CmdOk = MakeButton(this, "CmdOk", {400, 348, 90, 28}, "Ok");
    CmdCancel = MakeButton(this, "CmdCancel", {500, 348, 90, 28}, "Cancel");
    TxtTips = MakeControl<QPlainTextEdit>(this, "TxtTips", {10, 386, 580, 104});
    TxtTips->setPlainText(kTips);
    TxtTips->setReadOnly(true);

    connect(CmdFind, &QPushButton::clicked, this, &FrmSections::CmdFind_Click);
    connect(CmdListStys, &QPushButton::clicked, this, &FrmSections::CmdListStys_Click);
    connect(CmdOk, &QPushButton::clicked, this, &FrmSections::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmSections::CmdCancel_Click);
}

void FrmSections::MakeStyList() {
    const int count = App::Get().g.Styles.StyleCount();
    for (int row = 0; row < count && row < LstStyIdx->ListCount(); ++row) {
        LstStyles->addItem(LstStyIdx->List(row));
    }
}

void FrmSections::SetSlotStyles(int listRow, const QString& entry) {
    for (int slot = 0; slot < kSlotCount; ++slot) SetCommittedSlotStyle(slot, listRow, entry);
}

void FrmSections::SetCommittedSlotStyle(int slot, int listRow, const QString& entry) {
    const QString row = QString::fromStdString(ZeroPad(listRow, 4));
    for (QListWidget* list : {LstSectIdx, LstSectIdxOld}) SetRow(list, slot, row);
    for (QListWidget* list : {LstSectStyles, LstSectStylesOld}) SetRow(list, slot, entry);
}

std::vector<std::string> FrmSections::StyleRows() const {
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(LstStyles->count()));
    for (int row = 0; row < LstStyles->count(); ++row) {
        rows.push_back(Latin1Bytes(LstStyles->item(row)->text()));
    }
    return rows;
}

void FrmSections::KeepSectionLists() {
    CopyRows(LstSectStyles, LstSectStylesOld);
    CopyRows(LstSectIdx, LstSectIdxOld);
}

void FrmSections::Form_Activate() {
    const App& app = App::Get();
    ChkGhQ8->setChecked(app.slotTables.AutoOctave != 0);
    if (LstStyles->currentRow() < 0 && app.g.ListIndexArg >= 0 &&
        app.g.ListIndexArg < LstStyles->count()) {
        LstStyles->setCurrentRow(app.g.ListIndexArg);
    }
    if (QListWidgetItem* current = LstStyles->currentItem()) LstStyles->scrollToItem(current);
    KeepSectionLists();
}

void FrmSections::Form_Deactivate() {
    CopyRows(LstSectStylesOld, LstSectStyles);
    CopyRows(LstSectIdxOld, LstSectIdx);
}

bool FrmSections::FindStyle(int startRow) {
    const auto match = styles::FindStyle(StyleRows(), startRow, Latin1Bytes(TxtFind->text()));
    if (!match) {
        TxtFound->setText(QString());
        return false;
    }
    LstStyles->setCurrentRow(match->row);
    LstStyles->scrollToItem(LstStyles->item(match->row));
    TxtFound->setText(Latin1(match->part));
    return true;
}

void FrmSections::CmdFind_Click() {
    const int last = LstStyles->count() - 1;
    if (last < 0) return;
    const int highlighted = LstStyles->currentRow();
    // Repeated searches walk through the matches and wrap around to the top.
    if (highlighted < last && FindStyle(highlighted + 1)) return;
    FindStyle(0);
}

void FrmSections::TxtFind_KeyPress(int keyAscii) {
    if (keyAscii != 13) return;
    CmdFind->setFocus();
    CmdFind_Click();
}

void FrmSections::CmdGetSty_Click(int n) {
    const int row = LstStyles->currentRow();
    // Nothing is highlighted: nothing to pick.
    if (row < 0 || n < 1 || n > kSlotCount) return;
    const QString text = RowText(LstStyles, row);
    const QString index = QString::fromStdString(ZeroPad(row, 4));
    for (int k = LstSectStyles->count(); k < n - 1; ++k) {
        SetRow(LstSectStyles, k, text);
        SetRow(LstSectIdx, k, index);
    }
    SetRow(LstSectStyles, n - 1, text);
    SetRow(LstSectIdx, n - 1, index);
    LstStyles->setFocus();
}

void FrmSections::LstSectStyles_MouseUp(int button, int row) {
    if (button != kLeftButton || row < 0 || row >= kSlotCount) return;
    GetStyButtons()[row]->setFocus();
}

void FrmSections::LstStyles_KeyUp(int keyCode) {
    if (keyCode == 13) CmdOk_Click();
}

void FrmSections::CmdOk_Click() {
    App& app = App::Get();
    SlotTables& tables = app.slotTables;
    FrmMain& main = app.frmMain();
    const StyleLibrary& library = app.g.Styles;
    tables.SkipStyleLoad = false;
    const int saved = tables.CurSlot;
    tables.AutoOctave = ChkGhQ8->isChecked() ? 1 : 0;
    for (int s = 0; s < kSlotCount; ++s) {
        // The label's change reads the style into the current slot.
        tables.CurSlot = s;
        app.g.StyleListIdx = static_cast<int>(LeadingNumber(RowText(LstSectIdx, s).toStdString()));
        const QString name = RowText(LstStyles, app.g.StyleListIdx);
        const std::string text = Latin1Bytes(name);
        const auto found = std::find(library.StyleNames.begin(), library.StyleNames.end(), text);
        if (found == library.StyleNames.end()) continue;
        tables.SectStyleIdx[s] = static_cast<int>(found - library.StyleNames.begin());
        main.LblStyle[s]->SetCaption(name);
        // A style file that vanished ends the program: nothing more is done.
        if (platform::qt::ProgramEndCode()) return;
        tables.SlotStyleNames[s] = text;
    }
    for (int k = 0; k < kSlotCount; ++k) {
        // A loaded setting's title no longer describes slots the user changed.
        if (RowText(LstSectStylesOld, k) != RowText(LstSectStyles, k)) tables.SwPointsText.clear();
    }
    KeepSectionLists();
    main.stylePanel().OptSty_Click(saved + 1);
    // Hidden before the main window comes to the front, so the activation it gets finds nothing
    // left to cancel.
    hide();
    main.show();
    main.raise();
    main.activateWindow();
}

void FrmSections::CmdListStys_Click() {
    const StyleLibrary& library = App::Get().g.Styles;
    if (library.StyleCount() < 1) return;
    CmdCancel_Click();
    const int duplicate = FirstDuplicateRow(StyleRows());
    if (duplicate >= 0) {
        MsgBox(kDuplicateStylesNotice, MsgIcon::kInformation);
        LstStyles->setCurrentRow(duplicate);
    }
    const std::string& folder = App::Get().g.AppFolder;
    const std::string path = folder.empty() ? kStyleListFile : folder + "/" + kStyleListFile;
    const std::string text = StyleListText(library);
    const bool written = platform::ReplaceFileAtomically(
        path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (written) {
        MsgBox(QString::fromStdString(StyleListSavedText()), MsgIcon::kInformation);
    } else {
        MsgBox(QString::fromStdString(CannotCreateFileText(kStyleListFile)), MsgIcon::kCritical);
    }
    // The highlighted duplicate is shown to the user.
    if (duplicate >= 0) show();
}

bool FrmSections::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == LstStyles && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (type == QEvent::KeyRelease) LstStyles_KeyUp(13);
            return true;
        }
    } else if (watched == TxtFind && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TxtFind_KeyPress(13);
            return true;
        }
    } else if (watched == LstSectStyles->viewport() && type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int row = LstSectStyles->indexAt(mouse->position().toPoint()).row();
        LstSectStyles_MouseUp(mouse->button() == Qt::LeftButton ? kLeftButton : 0, row);
    } else if (watched == LblGhQ8 && type == QEvent::MouseButtonRelease) {
        // The label is the check box's caption: a click on it ticks the box.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) ChkGhQ8->toggle();
    }
    return DeactivatingDialog::eventFilter(watched, event);
}

}  // namespace corvane::styles
