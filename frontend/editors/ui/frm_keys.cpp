#include "frontend/editors/ui/frm_keys.h"

#include <QKeyEvent>
#include <QSignalBlocker>

#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/core/vb_text.h"
#include "frontend/editors/key_list.h"
#include "platform/file.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/editor_font.h"
#include "platform/qt/msg_box.h"

namespace corvane::editors {
namespace {

using platform::qt::CaptionLabel;

constexpr const char* kNoKeysTag = "NoKeysChInfo";
// The key-up codes that remove the selected key change: Delete and the keypad's decimal point.
constexpr int kDeleteKeyCode = 46;
constexpr int kKeypadDecimalKeyCode = 110;

const char* const kTipsText =
    "The chord progression is made from the keys in the Key List.\n"
    "- A song in one key needs just that key at measure number 001.\n"
    "- A song whose key changes needs a key at every measure where a new key starts.\n"
    "Click <Save> to continue: the chord progression is then made automatically.";

}  // namespace

FrmKeys::FrmKeys(QWidget* parent) : DeactivatingDialog("FrmKeys", "Key Manager", parent) {
    setFixedSize(620, 470);

    auto* heading = StaticText(this, "LblHowTo", {14, 10, 592, 20},
                               "How you can do to set key change points in the song");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    StaticText(this, "LblStep1", {24, 38, 420, 20},
               "1--You can click this button to run  Orvella Auto Key Detection");
    CmdKeyDetect = Button(this, "CmdKeyDetect", {452, 34, 152, 28}, "Auto Detect Keys");
    StaticText(this, "LblStep2", {24, 66, 580, 20},
               "2--And/Or you can define any key change point here, and then click <Add> "
               "button");
    StaticText(this, "LblStep3", {24, 88, 580, 38},
               "3--To delete an item in the Key List: select the item, and then click <Remove "
               "one>, or <Remove all>")
        ->setWordWrap(true);

    StaticText(this, "LblMsNoCaption", {14, 146, 170, 22}, "At the measure number :");
    TxtMsNo = MakeControl<QLineEdit>(this, "TxtMsNo", {186, 144, 52, 26});
    TxtMsNo->setMaxLength(3);
    TxtMsNo->setText("001");
    StaticText(this, "LblKeyCaption", {14, 182, 224, 22}, "the key will change to :");
    CmbKey = MakeControl<QComboBox>(this, "CmbKey", {14, 206, 150, 28});
    for (int code = 0; code < kKeyCodeCount; ++code)
        CmbKey->addItem(QString::fromStdString(KeyNameTable()[code]));
    LblKey = MakeControl<CaptionLabel>(this, "LblKey", {172, 206, 66, 28});
    LblKey->setAlignment(Qt::AlignCenter);
    LblKey->setToolTip("Key signature: sharps (+) or flats (-)");
    TxtKeyCode = MakeControl<QLineEdit>(this, "TxtKeyCode");
    TxtKeyCode->setMaxLength(2);
    TxtKeyCode->hide();
    TxtKeyName = MakeControl<QLineEdit>(this, "TxtKeyName");
    TxtKeyName->setMaxLength(8);
    TxtKeyName->hide();

    CmdAddLine = Button(this, "CmdAddLine", {254, 150, 126, 28}, "Add >>");
    CmdRemoveLine = Button(this, "CmdRemoveLine", {254, 188, 126, 28}, "Remove one <<");
    CmdRemoveAll = Button(this, "CmdRemoveAll", {254, 226, 126, 28}, "Remove all <<<");

    StaticText(this, "LblKeyList", {396, 126, 210, 18}, "Key List")->setFont(bold);
    const QFont listFont = platform::qt::EditorFont();
    auto* msNoHead = StaticText(this, "LblMsNoHead", {400, 146, 50, 16}, "MsNo");
    auto* keyHead = StaticText(this, "LblKeyHead", {446, 146, 100, 16}, "Key");
    msNoHead->setFont(listFont);
    keyHead->setFont(listFont);
    LstKeyChPoints = MakeControl<platform::qt::SortedListBox>(this, "LstKeyChPoints");
    LstKeyChPoints->hide();
    LstKeyChPoints->setEnabled(false);
    LstKeyUser = MakeControl<platform::qt::SortedListBox>(this, "LstKeyUser", {396, 164, 210, 150});
    LstKeyUser->setFont(listFont);

    LblKeyFindInfo = MakeControl<CaptionLabel>(this, "LblKeyFindInfo", {14, 324, 592, 20});
    TxtTips = MakeControl<QPlainTextEdit>(this, "TxtTips", {14, 350, 592, 72});
    TxtTips->setReadOnly(true);
    TxtTips->setPlainText(kTipsText);
    TxtTips->setFocusPolicy(Qt::NoFocus);
    CmdOk = Button(this, "CmdOk", {412, 430, 92, 30}, "Save");
    CmdCancel = Button(this, "CmdCancel", {512, 430, 92, 30}, "Cancel");

    CreateWorkerControls(
        this, [this](int keyCode, int shift) { CmdMess_KeyUp(keyCode, shift); },
        [this] { TimerMlMess_Timer(); });

    connect(CmbKey, &QComboBox::currentIndexChanged, this, [this] { CmbKey_Click(); });
    connect(TxtKeyCode, &QLineEdit::textChanged, this, [this] { TxtKeyCode_Change(); });
    connect(CmdAddLine, &QPushButton::clicked, this, [this] { CmdAddLine_Click(); });
    connect(CmdRemoveLine, &QPushButton::clicked, this, [this] { CmdRemoveLine_Click(); });
    connect(CmdRemoveAll, &QPushButton::clicked, this, [this] { CmdRemoveAll_Click(); });
    connect(CmdKeyDetect, &QPushButton::clicked, this, [this] { CmdKeyDetect_Click(); });
    connect(CmdOk, &QPushButton::clicked, this, [this] { CmdOk_Click(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
    connect(LstKeyUser, &QListWidget::itemSelectionChanged, this, [this] { LstKeyUser_Click(); });
    connect(LstKeyUser, &QListWidget::itemClicked, this, [this] { LstKeyUser_Click(); });
    TxtMsNo->installEventFilter(this);
    LstKeyUser->installEventFilter(this);

    CmbKey->setCurrentIndex(0);
    CmbKey_Click();
}

bool FrmKeys::eventFilter(QObject* watched, QEvent* event) {
    if (LeftByUser(event)) {
        if (watched == TxtMsNo) TxtMsNo_LostFocus();
        if (watched == LstKeyUser) LstKeyUser_LostFocus();
    } else if (event->type() == QEvent::KeyRelease && watched == LstKeyUser) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            LstKeyUser_KeyUp(kDeleteKeyCode);
        } else if ((key->modifiers() & Qt::KeypadModifier) &&
                   (key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma)) {
            LstKeyUser_KeyUp(kKeypadDecimalKeyCode);
        }
    }
    return DeactivatingDialog::eventFilter(watched, event);
}

// ---- Showing --------------------------------------------------------------------------------

void FrmKeys::Form_Activate() {
    LblKeyFindInfo->SetCaption("");
    if (Tag == kNoKeysTag) {
        LstKeyChPoints->clear();
        LstKeyUser->clear();
    } else {
        LoadKeysData();
    }
}

void FrmKeys::LoadKeysData() {
    LstKeyChPoints->clear();
    LstKeyUser->clear();
    const std::string path = InFolder("KeysData.Aco");
    const auto length = platform::qt::FileLength(path);
    if (!length) {
        LblKeyFindInfo->SetCaption("Error while trying to open key data file <KeysData.Aco>");
        return;
    }
    const auto bytes = platform::qt::ReadAtMost(path, static_cast<std::size_t>(*length));
    if (!bytes) {
        LblKeyFindInfo->SetCaption("Error while trying to read the key data file <KeysData.Aco>");
        return;
    }
    const KeysDataRead read = ParseKeysData(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    for (const KeyChange& change : read.changes) {
        AddKeyChange(QString::fromStdString(KeyChangeLine(change)),
                     QString::fromStdString(KeyUserItem(change)));
    }
    if (read.badLine) LblKeyFindInfo->SetCaption("Bad data in the key data file <KeysData.Aco>");
}

// Both lists get the change at one row: the stored lines decide the order, so a file with two
// changes at one measure still pairs each line with its own item.
int FrmKeys::AddKeyChange(const QString& line, const QString& userItem) {
    const int row = LstKeyChPoints->AddItem(line);
    LstKeyUser->insertItem(row, userItem);
    return row;
}

QString FrmKeys::KeyNameOf(int code) const {
    if (code < 0 || code >= kKeyCodeCount) return "No Key";
    return CmbKey->itemText(code);
}

void FrmKeys::DisableKeyButtons() {
    for (QPushButton* button :
         {CmdAddLine, CmdRemoveLine, CmdRemoveAll, CmdKeyDetect, CmdOk, CmdCancel}) {
        button->setEnabled(false);
    }
}

void FrmKeys::EnableKeyButtons() {
    for (QPushButton* button :
         {CmdAddLine, CmdRemoveLine, CmdRemoveAll, CmdKeyDetect, CmdOk, CmdCancel}) {
        button->setEnabled(true);
    }
}

// ---- Picking a key and a measure ------------------------------------------------------------

void FrmKeys::CmbKey_Click() {
    const int index = CmbKey->currentIndex();
    if (index < 0) return;
    TxtKeyCode->setText(QString::fromStdString(ZeroPad(index, 2)));
    LblKey->SetCaption(QString::fromStdString(KeySigTable()[index]));
}

void FrmKeys::TxtKeyCode_Change() {
    const QString code = TxtKeyCode->text();
    TxtKeyName->setText(code.isEmpty()
                            ? QString()
                            : KeyNameOf(static_cast<int>(LeadingNumber(code.toStdString()))));
}

void FrmKeys::TxtMsNo_LostFocus() {
    TxtMsNo->setText(QString::fromStdString(ZeroPad(MsNoOf(TxtMsNo->text().toStdString()), 3)));
}

// ---- Editing the list -----------------------------------------------------------------------

void FrmKeys::SelectRow(int row) {
    LstKeyChPoints->setCurrentRow(row);
    LstKeyUser->setCurrentRow(row);
}

void FrmKeys::CmdAddLine_Click() {
    LblKeyFindInfo->SetCaption("");
    // The field may still hold what was typed when Add is reached from the keyboard.
    TxtMsNo_LostFocus();
    const QString measure = TxtMsNo->text();
    const QString line = measure + ":" + TxtKeyCode->text() + ";" + TxtKeyName->text();
    const QString userItem = measure + ": " + TxtKeyName->text();
    int found = -1;
    for (int row = 0; row < LstKeyChPoints->count() && found < 0; ++row) {
        if (LstKeyChPoints->List(row).left(3) == measure) found = row;
    }
    if (found >= 0) {
        LstKeyChPoints->item(found)->setText(line);
        LstKeyUser->item(found)->setText(userItem);
        SelectRow(found);
    } else {
        SelectRow(AddKeyChange(line, userItem));
    }
    LstKeyUser->setFocus();
}

void FrmKeys::LstKeyUser_Click() {
    const QList<QListWidgetItem*> selected = LstKeyUser->selectedItems();
    if (selected.isEmpty()) return;
    const int row = LstKeyUser->row(selected.front());
    if (row >= LstKeyChPoints->count()) return;
    const QString measure = LstKeyUser->List(row).left(3);
    const int code =
        static_cast<int>(LeadingNumber(LstKeyChPoints->List(row).mid(4, 2).toStdString()));
    if (code < 0 || code >= kKeyCodeCount) return;
    CmbKey->setCurrentIndex(code);
    TxtMsNo->setText(measure);
    LblKeyFindInfo->SetCaption("At the Measure " + measure + " the key will change to <" +
                               CmbKey->itemText(code) + ">");
}

void FrmKeys::RemoveKeyLine() {
    const QList<QListWidgetItem*> selected = LstKeyUser->selectedItems();
    if (selected.isEmpty()) return;
    const int row = LstKeyUser->row(selected.front());
    {
        // The row that takes the removed one's place is not a choice of the user.
        const QSignalBlocker blocker(LstKeyUser);
        delete LstKeyUser->takeItem(row);
        delete LstKeyChPoints->takeItem(row);
        LstKeyUser->clearSelection();
    }
    LblKeyFindInfo->SetCaption("");
}

void FrmKeys::LstKeyUser_KeyUp(int keyCode) {
    if (keyCode == kDeleteKeyCode || keyCode == kKeypadDecimalKeyCode) RemoveKeyLine();
}

void FrmKeys::LstKeyUser_LostFocus() {
    LblKeyFindInfo->SetCaption("");
}

void FrmKeys::CmdRemoveLine_Click() {
    RemoveKeyLine();
}

void FrmKeys::CmdRemoveAll_Click() {
    LstKeyChPoints->clear();
    LstKeyUser->clear();
}

// ---- Save and Cancel ------------------------------------------------------------------------

void FrmKeys::CmdOk_Click() {
    if (LstKeyChPoints->count() == 0) {
        LblKeyFindInfo->SetCaption("There is nothing in the Key List.");
        return;
    }
    std::vector<std::string> lines;
    for (int row = 0; row < LstKeyChPoints->count(); ++row)
        lines.push_back(LstKeyChPoints->List(row).toStdString());
    const std::string text = KeysDataText(lines);
    // Through a temporary file: a write that fails halfway must leave the old list, not a cut
    // one that the next Proceed would load; nor may the chord maker run on a list not written.
    if (!platform::ReplaceFileAtomically(
            InFolder("KeysData.Aco"),
            {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) {
        LblKeyFindInfo->SetCaption("Error while trying to write the key data file <KeysData.Aco>");
        return;
    }
    App::Get().g.KeysChanged = true;
    hide();
}

void FrmKeys::CmdCancel_Click() {
    Deactivate();
}

// ---- Key detection --------------------------------------------------------------------------

void FrmKeys::CmdKeyDetect_Click() {
    if (pendingRun != DialogRun::kNone) return;
    DisableKeyButtons();
    LblKeyFindInfo->SetCaption("Sorvik started...");
    LblKeyFindInfo->repaint();
    if (!StartWorker(DialogRun::kKeyDetection,
                     [](std::uint32_t handle) { return SorvikArgs(handle, 1); })) {
        LblKeyFindInfo->SetCaption(QString("Could not start ") + kKeyDetectorProgram);
        EnableKeyButtons();
    }
}

void FrmKeys::CmdMess_KeyUp(int keyCode, int shift) {
    if (ReceiveCompletion(keyCode) != DialogCompletion::kKeyDetection) return;
    if (shift != 0) {
        LblKeyFindInfo->SetCaption("Sorry. Key not detected.");
    } else {
        LblKeyFindInfo->SetCaption("Key detection completed.");
        const auto code = ReadDetectedKeyCode();
        if (code) CmbKey->setCurrentIndex(*code);
        LoadKeysData();
    }
    EnableKeyButtons();
}

void FrmKeys::TimerMlMess_Timer() {
    if (TimeOut() == DialogRun::kNone) return;
    LblKeyFindInfo->SetCaption("Time Out error.");
    platform::qt::MsgBox(QString::fromStdString(TimeOutText(kKeyDetectorProgram)),
                         platform::qt::MsgIcon::kCritical);
    EnableKeyButtons();
}

}  // namespace corvane::editors
