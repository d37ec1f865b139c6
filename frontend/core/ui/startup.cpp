#include "frontend/core/ui/startup.h"

#include <QApplication>

#include "frontend/core/last_style.h"
#include "frontend/core/name_tables.h"
#include "frontend/core/style_library.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/user_settings.h"
#include "frontend/core/vb_text.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_keys.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/editors/ui/frm_taoac.h"
#include "frontend/shell/ui/frm_about.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/frm_opt1.h"
#include "frontend/styles/ui/frm_opt2.h"
#include "frontend/styles/ui/frm_opt3.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/completion.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/editor_font.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/msg_box.h"
#include "platform/qt/private_folder.h"
#include "platform/qt/random_source.h"
#include "platform/qt/single_instance.h"

namespace corvane {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

MsgIcon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kCritical:
            return MsgIcon::kCritical;
        case MessageIcon::kInformation:
            return MsgIcon::kInformation;
        case MessageIcon::kQuestion:
            return MsgIcon::kQuestion;
        case MessageIcon::kNone:
            break;
    }
    return MsgIcon::kNone;
}

// Without the private folder no instance lock can be taken and no worker's completion can
// arrive, so nothing would work: the user is told which folder it is and what it must be.
std::string PrivateFolderRefusedText(const std::string& folder) {
    return "Orvella cannot use its private folder " + folder +
           ": the folder must belong to you and be closed to other users.\n"
           "Please have it removed, or made yours with mode 700, then start Orvella again.";
}

const char* const kBadScale =
    "Your screen is in a bad scale mode for Orvella's Graphical Interface. The program will "
    "continue normally.\n"
    "To have the best graphical interface please do:\n"
    " 1. Open your desktop's display settings,\n"
    " 2. Set the scale to 100 % (96 dpi)";

}  // namespace

const char* const kFontMissing =
    "FixedSys font not installed on your system. Editing Chord List disabled. Please install the "
    "fonts-dejavu-core package or start Orvella from Vessane.";

StartupOutcome Startup::Form_Initialize() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    if (!platform::qt::PrivateFolder()) {
        MsgBox(Q(PrivateFolderRefusedText(platform::CompletionFolder())), MsgIcon::kCritical);
        return StartupOutcome::kFatal;
    }
    app.instanceLock =
        std::make_unique<platform::qt::InstanceLock>("Corvane", platform::qt::CurrentFolder());
    if (app.instanceLock->anotherRunning()) return StartupOutcome::kAnotherInstance;
    g.HelpCookie = platform::qt::HelpInitialize();
    g.SongTitle.clear();
    app.slotTables.SwPointsText.clear();

    if (!Form_Load()) return StartupOutcome::kFatal;

    main_.PaintSkin();
    g.ColorDemoOff = true;
    // The key list editor needs the key signature table that the importer dialog fills when it
    // loads, so the importer comes before it.
    app.frmChord();
    app.frmSections();
    app.frmTaoAc();
    app.frmOpt1();
    app.frmOpt2();
    app.frmOpt3();
    app.frmQuenby();
    app.frmKeys();
    app.frmQuenby().LblKeyFindInfo->SetCaption("");
    app.frmSections().MakeStyList();

    main_.show();
    if (QGuiApplication::platformName() != "offscreen") main_.raise();
    main_.activateWindow();
    // Without a window manager no activation may ever come; the first activation's work is due
    // once the window is shown either way.
    if (!firstActivationDone_) Form_Activate();
    // The main window took the activation, which ends the loading notice; without a window
    // manager no deactivation event says so.
    shell::FrmAbout& about = app.frmAbout();
    if (about.isVisible() && !about.isActiveWindow()) about.Form_Deactivate();
    return StartupOutcome::kShown;
}

bool Startup::Form_Load() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    main_.setWindowTitle(main_.LblVersion->Caption());
    main_.CanGatOut[0]->SetEnabled(false);

    main_.DemoDefaultColour = shell::kVisualiserBackColour;
    main_.SetBackColour(main_.Picture1, main_.DemoDefaultColour);
    main_.SetBackColour(main_.PictIcon, main_.DemoDefaultColour);
    main_.DemoBackColours = DemoBackColours(main_.DemoDefaultColour);

    shell::FrmAbout& about = app.frmAbout();
    const QString aboutCaption = about.windowTitle();
    about.setWindowTitle("Loading, Please wait ...");
    about.show();
    about.repaint();

    g.AppFolder = platform::qt::CurrentFolder();
    g.PlayFilePath = g.AppFolder + "/Play.sti";

    platform::qt::AddEditorFont(g.AppFolder);
    main_.TxtTestFixedsysFont->setFont(platform::qt::EditorFont());
    g.FixedsysPresent = platform::qt::EditorFontPresent();
    if (!g.FixedsysPresent) MsgBox(kFontMissing, MsgIcon::kInformation);

    if (!ScanStyles()) return false;

    g.ComposeOutPath = g.AppFolder + "/ComposeOut.bin";
    g.LoadDone = false;
    g.ProceedDone = false;
    g.MakeOptMode = kDefaultMakeOptMode;
    g.RegAppName = RegAppName();
    if (!RestoreStyleOfSlots()) return false;

    g.ChordOptMode = kDefaultChordOptMode;
    main_.LblMode->SetCaption(Q(ChordModeNames()[g.ChordOptMode]));

    main_.LstEcho->clear();
    for (int p = 1; p <= 128; ++p) main_.LstEcho->addItem(Q(InstrumentNames()[p]));
    main_.ChordColours = ChordColours();
    main_.BeatLedColours = BeatLedColours();
    main_.LitBeatLed = kFirstLitBeatLed;

    about.setWindowTitle(aboutCaption);
    ApplyUserSettings();

    app.slotTables.SkipStyleLoad = false;
    main_.ClearOutName();
    main_.ShapeCtl1->SetVisible(true);
    return true;
}

bool Startup::ScanStyles() {
    App& app = App::Get();
    StyleScan scan = ScanStyleLibrary(app.g.AppFolder, app.g.AppFolder);
    for (const UserMessage& message : scan.messages) MsgBox(Q(message.text), IconOf(message.icon));
    if (scan.fatal) return false;
    app.g.Styles = std::move(scan.library);
    platform::qt::SortedListBox& sorted = *app.frmSections().LstStyIdx;
    for (const std::string& entry : app.g.Styles.StyleNames) sorted.AddItem(Latin1(entry));
    return true;
}

bool Startup::RestoreStyleOfSlots() {
    App& app = App::Get();
    const StyleLibrary& library = app.g.Styles;
    std::vector<std::string> sortedRows;
    const platform::qt::SortedListBox& sorted = *app.frmSections().LstStyIdx;
    for (int row = 0; row < sorted.ListCount(); ++row)
        sortedRows.push_back(Latin1Bytes(sorted.List(row)));

    const RestoredStyle restored = RestoreLastStyle(
        ReadLastStyleFile(app.settings()), library.StyleFiles, library.StyleNames, sortedRows);
    if (restored.fatalText) {
        MsgBox(Latin1(*restored.fatalText), MsgIcon::kCritical);
        return false;
    }
    app.g.StyleListIdx = restored.styleListIdx;
    app.frmSections().SetSlotStyles(restored.styleListIdx, Latin1(restored.entry));
    for (int slot = 0; slot < styles::kSlotCount; ++slot) {
        app.slotTables.SectStyleIdx[slot] = restored.sectStyleIdx;
        app.slotTables.SlotStyleNames[slot] = restored.entry;
    }
    return true;
}

void Startup::ApplyUserSettings() {
    App& app = App::Get();
    const UserSettings settings = ReadUserSettings(app.settings());
    for (int i = 0; i < 2; ++i) {
        main_.LstEcho->setCurrentRow(settings.EchoVoice(i) - 1);
        main_.LblEcho[i]->SetCaption(Q(settings.EchoCaption(i)));
    }
    for (int i = 0; i < 2; ++i) {
        main_.LblBackLevel[i]->SetCaption(Q(settings.LevelCaption(i)));
        main_.CanGatEcho[i]->SetValue(EchoSliderForLevel(settings.echoLevel[i]));
    }
    for (int slot = 0; slot < styles::kSlotCount; ++slot)
        app.slotTables.SectVol[slot] = settings.sectVol;
    app.g.SectLenIdx = settings.sectLenIdx;
}

void Startup::Form_Activate() {
    App& app = App::Get();
    app.g.MainActivated = true;
    if (!firstActivationDone_) {
        firstActivationDone_ = true;
        FirstActivation();
    } else {
        main_.PicStyNo->update();
        main_.ImgTitle->update();
    }
    main_.DemoColourStep = static_cast<int>(platform::qt::Rnd() * 66 + 8);

    if (app.g.InstListPart > 0) {
        const int part = app.g.InstListPart - 1;
        app.g.InstListPart = 0;
        const long program = LeadingNumber(app.g.InstListSel);
        app.slotTables.PartProgram(app.slotTables.CurSlot, part) =
            static_cast<std::int16_t>(program);
        main_.LblProgNum.at(part)->SetCaption(QString::number(program));
    }
    if (app.g.HideChordEditorPending) {
        app.g.HideChordEditorPending = false;
        app.frmChord().hide();
    }
}

void Startup::FirstActivation() {
    App& app = App::Get();
    if (!main_.ScreenAtNormalScale()) {
        main_.ShapeCtl1->SetVisible(false);
        main_.LblInName->SetCaption("Bad scale mode");
        MsgBox(kBadScale, MsgIcon::kInformation);
    } else {
        main_.ShapeCtl1->SetVisible(true);
    }
    // Emptying a label first makes its change handler read the slot's style even when the
    // name is the same; the handler ignores the empty caption.
    for (int slot = styles::kSlotCount - 1; slot >= 0; --slot) {
        app.slotTables.CurSlot = slot;
        main_.LblStyle[slot]->SetForeColor(styles::kSlotColours[slot]);
        main_.LblStyle[slot]->SetCaption("");
        const QString name = app.frmSections().LstSectStyles->item(slot)->text();
        main_.LblStyle[slot]->SetCaption(name);
        app.slotTables.SlotStyleNames[slot] = Latin1Bytes(name);
    }
}

void Startup::SaveUserSetting() {
    App& app = App::Get();
    SettingsToSave values;
    for (int i = 0; i < 2; ++i) {
        values.echoCaption[i] = main_.LblEcho[i]->Caption().toStdString();
        values.levelCaption[i] = main_.LblBackLevel[i]->Caption().toStdString();
    }
    values.sectLenIdx = app.g.SectLenIdx;
    const int row = app.slotTables.SectStyleIdx[0];
    if (row >= 0 && row < app.g.Styles.StyleCount())
        values.styleFile = app.g.Styles.StyleFiles[row];
    corvane::SaveUserSetting(app.settings(), values);
}

}  // namespace corvane
