#include "frontend/styles/ui/frm_save_setting.h"

#include <QKeyEvent>
#include <array>

#include "frontend/app/app.h"
#include "frontend/core/ui/ask_replace.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/vb_text.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/slot_tables.h"
#include "frontend/styles/style_setting_file.h"
#include "frontend/styles/ui/frm_sections.h"
#include "frontend/styles/ui/style_panel.h"
#include "platform/file.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/file_names.h"
#include "platform/qt/msg_box.h"
#include "platform/qt/program_end.h"

namespace corvane::styles {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

const char* const kSaveHelp =
    "Tips: The accompaniment result for a song depends so much on the \n"
    "Style Settings. You should save the settings when you have got a \n"
    "good result, so you can Re-Load them in the next time.\n"
    "-All current settings such as Style Names, GM Codes, Volumes, and \n"
    "Modes... will be saved to a file as your own style (User Style). \n"
    "-By this way, an User Style is a combination of Orvella styles with your own instrument "
    "settings.\n"
    "-You can load User Style later by clicking <Load User Style> button on the main panel.";

// The lines of the file up to its first empty line, read in pieces so that a file of any size
// is counted without being held; nothing when it cannot be opened or a read fails (a count of
// what came before the failure is no count of the file).
std::optional<int> CountLinesOfFile(const std::string& path) {
    // Only a regular file is opened (a pipe or a device of that name could block forever), by
    // its name's bytes, whatever they are.
    platform::File file;
    if (!file.Open(path, platform::FileMode::kReadBinary)) return std::nullopt;
    SettingLineCounter counter;
    std::array<std::uint8_t, 1 << 16> buffer;
    while (!counter.Finished()) {
        const std::size_t got = file.Read(buffer);
        if (file.ReadFailed()) return std::nullopt;
        if (got == 0) break;
        counter.Feed({buffer.data(), got});
    }
    return counter.Count();
}

bool EndsWithSet(const std::string& path) {
    return path.size() >= 4 && EqualsNoCase(std::string_view(path).substr(path.size() - 4), ".SET");
}

}  // namespace

FrmSaveSetting::FrmSaveSetting(QWidget* parent)
    : DeactivatingDialog("FrmSaveSetting", "Save as User Style (*.set)", parent) {
    setFixedSize(640, 250);
    TxtSaveHelp = MakeControl<QPlainTextEdit>(this, "TxtSaveHelp", {10, 10, 620, 128});
    TxtSaveHelp->setPlainText(kSaveHelp);
    TxtSaveHelp->setReadOnly(true);
    Label1 = MakeControl<QLabel>(this, "Label1", {10, 148, 620, 20});
    Label1->setText("Type in a new Pathname to save:");
    TxtSettingPathName = MakeControl<QLineEdit>(this, "TxtSettingPathName", {10, 172, 620, 26});
    TxtSettingPathName->installEventFilter(this);
    CmdSave = MakeControl<QPushButton>(this, "CmdSave", {440, 210, 90, 28});
    CmdSave->setText("Save");
    CmdCancel = MakeControl<QPushButton>(this, "CmdCancel", {540, 210, 90, 28});
    CmdCancel->setText("Cancel");
    connect(CmdSave, &QPushButton::clicked, this, &FrmSaveSetting::CmdSave_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmSaveSetting::CmdCancel_Click);
}

void FrmSaveSetting::CmdSave_Click() {
    const std::string path =
        SettingSavePath(platform::qt::FileNameBytes(TxtSettingPathName->text()));
    if (path.empty()) return;
    // Whatever comes of it, a save ends the dialog, before any of its boxes.
    hide();
    if (!MayReplace(path, SettingReadOnlyText(path), 0)) return;
    App& app = App::Get();
    const FrmMain& main = app.frmMain();
    std::array<int, kEchoCount> voice{};
    std::array<int, kEchoCount> setting{};
    for (int i = 0; i < kEchoCount; ++i) {
        voice[i] = static_cast<int>(LeadingNumber(main.LblEcho[i]->Caption().toStdString()));
        setting[i] = main.CanGatEcho[i]->Value();
    }
    const std::string text = StyleSettingText(
        CaptureStyleSetting(app.slotTables, app.g.Styles.StyleFiles, voice, setting));
    // Written whole under a temporary name first: a failed save leaves the old file as it was.
    const bool written = platform::ReplaceFileAtomically(
        path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (!written) MsgBox(Q(CannotCreateFileText(path)), MsgIcon::kCritical);
}

bool FrmSaveSetting::LoadStySetting(const std::string& path, const std::string& title) {
    const auto lines = CountLinesOfFile(path);
    if (!lines) {
        MsgBox(Q(SettingOpenFailureText(path, false)), MsgIcon::kCritical);
        return false;
    }
    if (*lines == kOlderSettingLines) return ReadStyleSettingV416(path, title);
    if (*lines == kSettingLines) return ReadStyleSettingV418(path, title);
    MsgBox(Q(SettingLineCountText(path, *lines)), MsgIcon::kCritical);
    return false;
}

bool FrmSaveSetting::ReadStyleSettingV418(const std::string& path, const std::string& title) {
    return ReadStyleSetting(path, title, false);
}

bool FrmSaveSetting::ReadStyleSettingV416(const std::string& path, const std::string& title) {
    return ReadStyleSetting(path, title, true);
}

bool FrmSaveSetting::ReadStyleSetting(const std::string& path, const std::string& title,
                                      bool olderLayout) {
    App& app = App::Get();
    SlotTables& tables = app.slotTables;
    FrmMain& main = app.frmMain();
    FrmSections& sections = app.frmSections();
    const StyleLibrary& library = app.g.Styles;
    const auto fail = [&](const std::string& text) {
        MsgBox(Q(text), MsgIcon::kCritical);
        main.LblInName->SetCaption(Q(SettingStatusText(olderLayout, false)));
        return false;
    };

    const int remembered = tables.CurSlot;
    const auto bytes = platform::qt::FileLength(path)
                           ? platform::qt::ReadAtMost(path, kMaxSettingFileBytes)
                           : std::nullopt;
    if (!bytes) return fail(SettingOpenFailureText(path, olderLayout));
    const auto setting =
        ParseStyleSetting(*bytes, olderLayout ? kOlderSettingLines : kSettingLines);
    // Nothing has changed yet.
    if (!setting) return fail(SettingReadFailureText(title, olderLayout));

    const int slotCount = setting->slotCount;
    for (int k = 0; k < slotCount; ++k) main.LblStyle[k]->setToolTip(QString());
    const auto styles = LookUpSettingStyles(*setting, library, sections.StyleRows());
    bool complete = true;  // every style found and listed
    for (int k = 0; k < slotCount; ++k) {
        if (!styles[k].found) complete = false;
        if (styles[k].listRow < 0) {
            complete = false;
            continue;
        }
        sections.SetCommittedSlotStyle(k, styles[k].listRow, Latin1(styles[k].name));
    }
    tables.AutoOctave = setting->autoOctave == 1 ? 1 : 0;
    sections.ChkGhQ8->setChecked(tables.AutoOctave == 1);

    for (int s = 0; s < slotCount; ++s) {
        // Emptying the label first reads the slot's style again even when it is unchanged;
        // that read resets the slot's part values, which the file's values then replace.
        tables.CurSlot = s;
        main.LblStyle[s]->SetCaption(QString());
        tables.SectStyleIdx[s] = styles[s].libraryIndex;
        const QListWidgetItem* row = sections.LstSectStyles->item(s);
        const QString name = row ? row->text() : QString();
        main.LblStyle[s]->SetCaption(name);
        // A style file that vanished ends the program: nothing more is done.
        if (platform::qt::ProgramEndCode()) return false;
        tables.SlotStyleNames[s] = Latin1Bytes(name);
    }
    bool good = ApplySettingValues(*setting, tables);

    tables.CurSlot = remembered;
    main.stylePanel().ShowSlotValues(remembered);
    for (int i = 0; i < kEchoCount; ++i) {
        if (EchoVoiceInRange(setting->echoVoice[i])) {
            main.LblEcho[i]->SetCaption(Q(ZeroPad(setting->echoVoice[i], 3)));
        } else {
            good = false;
        }
    }
    for (int i = 0; i < kEchoCount; ++i) {
        if (EchoSettingInRange(setting->echoSetting[i])) {
            main.CanGatEcho[i]->SetValue(setting->echoSetting[i]);
        } else {
            good = false;
        }
    }
    // The save dialog offers a loaded user style file; a project's unpacked settings are not one.
    TxtSettingPathName->setText(EndsWithSet(path) ? platform::qt::FileNameText(path) : QString());
    tables.SwPointsText = ShortSettingTitle(title);
    for (int k = 0; k < slotCount; ++k) {
        const int index = tables.SectStyleIdx[k];
        const std::string file = index >= 0 && index < static_cast<int>(library.StyleFiles.size())
                                     ? library.StyleFiles[index]
                                     : std::string();
        main.LblStyle[k]->setToolTip(Q(file));
        tables.SlotStyleFiles[k] = file;
    }

    main.LblInName->SetCaption(Q(SettingStatusText(olderLayout, true)));
    const std::vector<std::string> missing = MissingStyleFiles(*setting, styles);
    if (!good || !complete) {
        MsgBox(Q(SettingSummaryText(title, missing, olderLayout)), MsgIcon::kInformation);
    }
    return true;
}

bool FrmSaveSetting::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TxtSettingPathName &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (event->type() == QEvent::KeyRelease) CmdSave_Click();
            return true;
        }
    }
    return DeactivatingDialog::eventFilter(watched, event);
}

}  // namespace corvane::styles
