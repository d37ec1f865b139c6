#include "frontend/styles/ui/style_panel.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/vb_text.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_keys.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/shell/ui/visualiser.h"
#include "frontend/styles/track_records.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/msg_box.h"
#include "platform/qt/program_end.h"

namespace corvane::styles {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

// No style comes near this; a larger file is read only this far.
constexpr std::size_t kMaxStyleFileBytes = 16u << 20;
// The echo voice list opens here when the label's voice is out of range (053: Choir Aahs).
constexpr int kEchoFallbackRow = 52;

// The caption as a whole number, as a typed conversion reads it; nothing when it is not one.
std::optional<long> WholeNumber(const QString& caption) {
    bool ok = false;
    const long value = caption.trimmed().toLong(&ok);
    if (!ok) return std::nullopt;
    return value;
}

int ButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kLeftButton;
        case Qt::RightButton:
            return kRightButton;
        case Qt::MiddleButton:
            return kMiddleButton;
        default:
            return 0;
    }
}

template <std::size_t N, class Control>
int IndexOf(const std::array<Control*, N>& controls, const QObject* watched) {
    for (std::size_t i = 0; i < N; ++i) {
        if (controls[i] == watched) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

StylePanel::StylePanel(FrmMain& main) : main_(main) {
    Connect();
    // The make option's name is shown from the start, as the chord option's is.
    main_.LblMix->SetCaption(Q(MakeModeNames().at(App::Get().g.MakeOptMode)));
}

void StylePanel::Connect() {
    const auto options = main_.SlotOptions();
    for (int n = 1; n <= kSlotCount; ++n) {
        QObject::connect(options[n - 1], &QRadioButton::clicked, this,
                         [this, n] { OptSty_Click(n); });
        options[n - 1]->installEventFilter(this);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        connect(main_.LblStyle[i], &CaptionLabel::Change, this, [this, i] { LblStyle_Change(i); });
    }
    for (int p = 0; p < kPartCount; ++p) {
        connect(main_.LblProgNum[p], &CaptionLabel::Change, this,
                [this, p] { LblProgNum_Change(p); });
        main_.LblProgNum[p]->installEventFilter(this);
        main_.LblInstM[p]->installEventFilter(this);
    }
    for (int i = 0; i < 2; ++i) {
        connect(main_.LblEcho[i], &CaptionLabel::Change, this, [this, i] { LblEcho_Change(i); });
        connect(main_.LblBackLevel[i], &CaptionLabel::Change, this,
                [this, i] { LblBackLevel_Change(i); });
        main_.LblEcho[i]->installEventFilter(this);
        main_.LblVoice[i]->installEventFilter(this);
    }
    connect(main_.LstEcho, &QListWidget::itemDoubleClicked, this, [this] { LstEcho_DblClick(); });
    main_.LstEcho->installEventFilter(this);
    connect(main_.LblHa, &CaptionLabel::Change, this, &StylePanel::LblHa_Change);
    connect(main_.LstHa, &QListWidget::currentRowChanged, this, &StylePanel::LstHa_Click);
    connect(main_.LblInName, &CaptionLabel::Change, this, &StylePanel::LblInName_Change);
    connect(main_.LblMusicType, &CaptionLabel::Change, this, &StylePanel::LblMusicType_Change);
    main_.LblHsNen->installEventFilter(this);
    main_.LblMusicType->installEventFilter(this);
    connect(main_.TimerMidi, &platform::qt::TimerControl::Timer, this,
            &StylePanel::TimerMidi_Timer);
    connect(main_.CmdResetI, &QPushButton::clicked, this, &StylePanel::CmdResetI_Click);
    connect(main_.CmdResetM, &QPushButton::clicked, this, &StylePanel::CmdResetM_Click);
    connect(main_.CmdResetV, &QPushButton::clicked, this, &StylePanel::CmdResetV_Click);
    // A reset button never keeps the focus.
    for (QPushButton* reset : {main_.CmdResetI, main_.CmdResetM, main_.CmdResetV})
        connect(reset, &QPushButton::released, this, &StylePanel::FocusIcon);
}

bool StylePanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int button = ButtonCode(mouse->button());
        const bool press = type == QEvent::MouseButtonPress;
        const auto* widget = static_cast<QWidget*>(watched);
        const bool leftClick =
            !press && button == kLeftButton && widget->rect().contains(mouse->position().toPoint());
        if (int p = IndexOf(main_.LblProgNum, watched); p >= 0) {
            press ? LblProgNum_MouseDown(p, button) : LblProgNum_MouseUp(p, button);
        } else if (int m = IndexOf(main_.LblInstM, watched); m >= 0) {
            if (!press) LblInstM_MouseUp(m, button);
        } else if (int e = IndexOf(main_.LblEcho, watched); e >= 0) {
            if (leftClick) LblEcho_Click(e);
        } else if (int v = IndexOf(main_.LblVoice, watched); v >= 0) {
            if (leftClick) LblVoice_Click(v);
        } else if (watched == main_.LblHsNen) {
            if (press) LblHsNen_MouseDown();
        } else if (watched == main_.LblMusicType) {
            if (leftClick) LblMusicType_Click();
        } else if (int o = IndexOf(main_.SlotOptions(), watched); o >= 0) {
            if (!press) OptSty_MouseUp(o + 1);
        }
        return false;
    }
    if (watched == main_.LstEcho) {
        if (type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                LstEcho_KeyPress(13);
                return true;
            }
            if (key == Qt::Key_Escape) {
                main_.LstEcho->hide();
                return true;
            }
        } else if (type == QEvent::FocusOut) {
            // The voice list is a pop-up: it closes when the user turns elsewhere.
            main_.LstEcho->hide();
        }
    }
    return false;
}

void StylePanel::FocusIcon() {
    main_.PictIcon->setFocus();
}

void StylePanel::OptSty_Click(int n) {
    SlotTables& tables = App::Get().slotTables;
    const int s = n - 1;
    main_.SlotOptions().at(s)->setChecked(true);
    tables.SkipStyleLoad = true;
    tables.CurSlot = s;
    const QListWidgetItem* row = App::Get().frmSections().LstSectStyles->item(s);
    main_.LblStyle[s]->SetCaption(row ? row->text() : QString());
    // The label's handler cleared the flag when the caption changed; when it did not, nothing
    // did. Either way the next change of a slot label reads its style.
    tables.SkipStyleLoad = false;
    for (int i = 0; i < kSlotCount; ++i) main_.LblStyle[i]->setVisible(i == s);
    main_.LblVsNen[5]->setToolTip(QString(" Master Accompaniment Volume for style %1 ").arg(n));
    ShowSlotValues(s);
    main_.PaintPartRows(kSlotColours.at(s));
}

void StylePanel::ShowSlotValues(int s) {
    const SlotTables& tables = App::Get().slotTables;
    for (int p = 0; p < kPartCount; ++p) {
        main_.LblProgNum[p]->SetCaption(QString::number(tables.PartProgram(s, p)));
        main_.CanGatVol[p]->SetValue(tables.PartVol(s, p));
        main_.LblInstM[p]->SetCaption(QString::number(tables.PartMode(s, p)));
    }
    DisplaySusSetting(s);
    main_.CanGatVol[5]->SetValue(tables.SectVol.at(s));
}

void StylePanel::OptSty_MouseUp(int n) {
    FocusIcon();
    main_.LblStyle.at(n - 1)->setToolTip(Q(App::Get().slotTables.SlotStyleFiles.at(n - 1)));
}

void StylePanel::LblStyle_Change(int index) {
    // After a fatal message the program is ending: nothing more is read.
    if (platform::qt::ProgramEndCode()) return;
    // An empty caption is the first half of a forced reload; the name that follows does the work.
    if (main_.LblStyle.at(index)->Caption().isEmpty()) return;
    SlotTables& tables = App::Get().slotTables;
    if (tables.SkipStyleLoad) {
        tables.SkipStyleLoad = false;
        return;
    }
    ReadSlotStyleFile(index);
}

void StylePanel::ReadSlotStyleFile(int s) {
    App& app = App::Get();
    SlotTables& tables = app.slotTables;
    const auto& files = app.g.Styles.StyleFiles;
    const int row = tables.SectStyleIdx.at(s);
    const std::string file =
        row >= 0 && row < static_cast<int>(files.size()) ? files[row] : std::string();
    for (int p = 0; p < kPartCount; ++p) tables.SetPartStyle(s, p, DefaultPartStyle(p));

    const std::string path = app.g.AppFolder.empty() ? file : app.g.AppFolder + "/" + file;
    const auto length = platform::qt::FileLength(path);
    if (!length || *length < static_cast<std::int64_t>(kMinStyleFileBytes)) {
        main_.hide();
        MsgBox(length
                   ? "Fatal error: The StyFileName <" + Q(file) + "> is invalid. Cannot continue."
                   : "Fatal Error: The file <" + Q(file) + "> not found. Cannot continue.",
               MsgIcon::kCritical);
        platform::qt::EndProgram(kFatalExitCode);
        return;
    }
    const auto bytes = platform::qt::ReadAtMost(path, kMaxStyleFileBytes);
    SlotStyleRead read;
    if (bytes) {
        read = ReadSlotStyle(*bytes, s);
        for (int p = 0; p < kPartCount; ++p) tables.SetPartStyle(s, p, read.parts[p]);
    }
    if (!bytes || read.failed) {
        MsgBox("Error getting Style Parameters in " + Q(file), MsgIcon::kCritical);
    }
    tables.SlotStyleFiles.at(s) = file;
    main_.LblStyle[s]->setToolTip(Q(file));
    ResetPartVols(s);
    ResetPartModes(s);
    ResetPartPrograms(s);
}

void StylePanel::LblEcho_Click(int index) {
    QListWidget& list = *main_.LstEcho;
    long n = 0;
    if (const auto voice = WholeNumber(main_.LblEcho.at(index)->Caption())) n = *voice - 1;
    if (n < 0 || n >= 128) n = kEchoFallbackRow;
    list.setProperty("Tag", QString::number(index + 1));
    list.setCurrentRow(static_cast<int>(n));
    list.setVisible(true);
    list.raise();
    list.setToolTip(QString("Select Echo %1 Voice").arg(index + 1));
    list.setFocus();
}

void StylePanel::LstEcho_KeyPress(int keyAscii) {
    if (keyAscii != 13) return;
    QListWidget& list = *main_.LstEcho;
    const int row = list.currentRow() < 0 ? kEchoFallbackRow : list.currentRow();
    CaptionLabel* target =
        list.property("Tag").toString() == "1" ? main_.LblEcho[0] : main_.LblEcho[1];
    target->SetCaption(Q(ZeroPad(row + 1, 3)));
}

void StylePanel::LblEcho_Change(int index) {
    QString name;
    if (const auto voice = WholeNumber(main_.LblEcho.at(index)->Caption())) {
        const QListWidgetItem* item = main_.LstEcho->item(static_cast<int>(*voice - 1));
        if (*voice >= 1 && item) name = item->text();
    }
    main_.LblEcho[index]->setToolTip(QString(" Echo%1 %2 ").arg(index + 1).arg(name));
}

void StylePanel::LblBackLevel_Change(int index) {
    main_.LblBackLevel.at(index)->setToolTip(
        QString(" Echo%1 Level = %2 ").arg(index + 1).arg(main_.LblBackLevel[index]->Caption()));
}

void StylePanel::LblHa_Change() {
    // While the position thumb is held the bar label follows the pointer; the chord list and
    // the visualiser wait for the release.
    if (main_.PosThumbPressed) return;
    App& app = App::Get();
    shell::Visualiser& visualiser = main_.visualiser();
    visualiser.NextDrawMode();
    const QString caption = main_.LblHa->Caption();
    const bool demoOff = app.g.ColorDemoOff;
    shell::VisualiserBox& box = *main_.Picture1;
    if (caption == "0" || caption == "End") {
        if (demoOff) {
            main_.SetBackColour(main_.Picture1, main_.DemoDefaultColour);
            main_.SetBackColour(main_.PictIcon, main_.DemoDefaultColour);
        } else {
            box.ForeColor = main_.DemoDefaultColour;
            main_.Ripple.RippleRadius = 20;
        }
        return;
    }
    const long bar = LeadingNumber(caption.toStdString());
    if (bar < 1 || bar > app.g.ChordMsCount) return;
    if (!app.g.ChordListBusy) {
        editors::FrmChord& editor = app.frmChord();
        QTableWidget& grid = *editor.MSFlexGrid1;
        if (bar < grid.rowCount()) {
            grid.setCurrentCell(static_cast<int>(bar), std::max(grid.currentColumn(), 1));
            editor.MakeSelCellVisible();
        }
    }
    const int root = visualiser.ChordRootIndex(0);
    if (root < 0) return;
    const Colour colour = main_.ChordColours.at(static_cast<std::size_t>(root));
    if (demoOff) {
        main_.SetBackColour(main_.Picture1, colour);
        main_.SetBackColour(main_.PictIcon, colour);
    } else {
        box.ForeColor = colour;
        main_.Ripple.RippleRadius = 20;
        visualiser.RandomFillStyle();
    }
}

void StylePanel::LstHa_Click() {
    QListWidget& list = *main_.LstHa;
    const int top = list.indexAt(QPoint(0, 0)).row();
    if (top < 0 || list.currentRow() <= top + 3) return;
    if (QListWidgetItem* next = list.item(top + 1))
        list.scrollToItem(next, QAbstractItemView::PositionAtTop);
}

void StylePanel::LblInName_Change() {
    main_.LblInName->repaint();
}

void StylePanel::LblHsNen_MouseDown() {
    // The position in twips, as the form keeps it.
    main_.LblInName->SetCaption("Left = " + QString::number(main_.LblInName->x() * 15));
}

void StylePanel::LblMusicType_Change() {
    const std::string caption = main_.LblMusicType->Caption().toStdString();
    const std::string key(TrimBlanks(caption).substr(0, 8));
    App::Get().frmChord().LblKey->SetCaption(Q(key));
}

void StylePanel::LblMusicType_Click() {
    App::Get().frmKeys().show();
}

void StylePanel::CmdResetI_Click() {
    SlotTables& tables = App::Get().slotTables;
    for (int p = 0; p < kPartCount; ++p) {
        tables.PartProgram(tables.CurSlot, p) = 0;
        main_.LblProgNum[p]->SetCaption("0");
    }
    DisplaySusSetting(tables.CurSlot);
    FocusIcon();
}

void StylePanel::CmdResetM_Click() {
    ResetPartModes(App::Get().slotTables.CurSlot);
    FocusIcon();
}

void StylePanel::CmdResetV_Click() {
    SlotTables& tables = App::Get().slotTables;
    for (int p = 0; p < kPartCount; ++p) {
        tables.PartVol(tables.CurSlot, p) = 0;
        main_.CanGatVol[p]->SetValue(0);
    }
    tables.PartVol(tables.CurSlot, kMasterVolumePart) = kDefaultSectVol;
    main_.CanGatVol[kMasterVolumePart]->SetValue(kDefaultSectVol);
    FocusIcon();
}

void StylePanel::ResetPartPrograms(int slot) {
    App::Get().slotTables.ResetPartPrograms(slot);
    for (CaptionLabel* label : main_.LblProgNum) label->SetCaption("0");
}

void StylePanel::ResetPartVols(int slot) {
    App::Get().slotTables.ResetPartVols(slot);
    for (int p = 0; p < kPartCount; ++p) main_.CanGatVol[p]->SetValue(0);
    main_.CanGatVol[kMasterVolumePart]->SetValue(kDefaultSectVol);
}

void StylePanel::ResetPartModes(int slot) {
    SlotTables& tables = App::Get().slotTables;
    tables.ResetPartModes(slot);
    for (int p = 0; p < kPartCount; ++p)
        main_.LblInstM[p]->SetCaption(QString::number(tables.PartMode(slot, p)));
    DisplaySusSetting(slot);
}

void StylePanel::DisplaySusSetting(int slot) {
    const SlotTables& tables = App::Get().slotTables;
    for (int p = 0; p < kPartCount; ++p)
        main_.LineMode[p]->setVisible(tables.PartSustain(slot, p) == 1);
}

}  // namespace corvane::styles
