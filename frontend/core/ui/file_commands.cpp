#include "frontend/core/ui/file_commands.h"

#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

#include "frontend/app/app.h"
#include "frontend/core/file_dialog_rules.h"
#include "frontend/core/song_project.h"
#include "frontend/core/ui/ask_replace.h"
#include "frontend/core/ui/frm_select_file.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/vb_text.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/style_setting_file.h"
#include "platform/file.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/file_names.h"
#include "platform/qt/msg_box.h"

namespace corvane {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

const char* const kNoOutputText = "No Output to Save.\nPlease run Make to create an output.";
const char* const kNoSavePathText =
    "No Path Name to Save Output.\nPlease enter the Output Path Name for the output songs.";
const char* const kChordDataLengthText =
    "AcoDataLen Error: Cannot read chord data from file. The output not saved.";
const char* const kLengthText = "Fatal Error returned from Long-To-4Bytes()";
const char* const kBadProjectText = "Error: Bad File Description in the .qxs file";
const char* const kInvalidProjectText = "Error: The data in the .qxs file is invalid.";

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void Critical(const std::string& text) {
    MsgBox(Q(text), MsgIcon::kCritical);
}

}  // namespace

FileCommands::FileCommands(FrmMain& main) : main_(main) {
    QObject::connect(main_.CmdLoadSet, &QPushButton::clicked, &main_,
                     [this] { CmdLoadSet_Click(); });
}

// ---- Saving ---------------------------------------------------------------------------------

void FileCommands::SaveOutput(bool direct) {
    App& app = App::Get();
    if (!app.g.OutputReady) {
        MsgBox(kNoOutputText, MsgIcon::kInformation);
        return;
    }
    const std::string name = platform::qt::FileNameBytes(main_.TxtOutName->text());
    if (direct) {
        // A bare name is saved into the program folder.
        std::error_code ignored;
        std::filesystem::current_path(app.g.AppFolder, ignored);
        OutputSavePath = DirectSavePath(name);
        if (OutputSavePath.empty()) {
            MsgBox(kNoSavePathText, MsgIcon::kInformation);
            return;
        }
        if (const auto bytes = AgreedSave(OutputSavePath)) CreateOutName(*bytes);
        return;
    }
    FrmSelectFile& dialog = app.frmSelectFile();
    const bool project = dialog.OptQXs->isChecked();
    dialog.Prepare(SaveOutputSetup(project),
                   platform::qt::FileNameText(SaveDialogFileName(name, project)));
    dialog.ShowDialog();
}

std::optional<std::vector<std::uint8_t>> FileCommands::AgreedSave(const std::string& path) {
    CoreGlobals& g = App::Get().g;
    const std::vector<std::uint8_t>& output = g.Output.OutputBuf();
    std::vector<std::uint8_t> bytes;
    if (IsProjectPath(path)) {
        const styles::SlotTables& tables = App::Get().slotTables;
        std::array<int, styles::kEchoCount> voice{};
        std::array<int, styles::kEchoCount> setting{};
        for (int i = 0; i < styles::kEchoCount; ++i) {
            voice[i] = static_cast<int>(LeadingNumber(main_.LblEcho[i]->Caption().toStdString()));
            setting[i] = main_.CanGatEcho[i]->Value();
        }
        const auto chordData = platform::qt::ReadAtMost(InFolder("Data.aco"), kChordDataLimit);
        ProjectBytes project = SongProjectBytes(
            output, g.Output.OutputHeadLen(), g.MyVmCode,
            chordData ? std::span<const std::uint8_t>(*chordData) : std::span<const std::uint8_t>(),
            StyleBlockOf(styles::CaptureStyleSetting(tables, g.Styles.StyleFiles, voice, setting)));
        // Made before anything is asked: a project that cannot be made is refused at once, and
        // the destination stays as it was.
        if (project.error == ProjectWriteError::kLength) {
            Critical(kLengthText);
            return std::nullopt;
        }
        if (project.error == ProjectWriteError::kChordData) {
            Critical(kChordDataLengthText);
            return std::nullopt;
        }
        bytes = std::move(project.bytes);
    } else {
        bytes = output;
    }
    // The name offered is often the last song's: its file is replaced only on a clear yes.
    if (!MayReplace(path,
                    "File creation error: The destination file <" + path +
                        "> is read only, cannot overwrite.",
                    1)) {
        return std::nullopt;
    }
    return bytes;
}

void FileCommands::CreateOutName(std::span<const std::uint8_t> bytes) {
    const std::string& path = OutputSavePath;
    if (!platform::ReplaceFileAtomically(path, bytes) || !platform::qt::FileLength(path)) {
        Critical("Cannot save file:\n" + path + "\nPlease verify Output Path Name and try again.");
        return;
    }
    main_.PictSave->setEnabled(false);
}

// ---- Song projects --------------------------------------------------------------------------

std::optional<SongProject> FileCommands::ReadProject() {
    const std::string path = platform::qt::FileNameBytes(main_.TxtInName->text());
    const auto length = platform::qt::FileLength(path);
    const auto file = length ? platform::qt::ReadAtMost(path, kMaxProjectBytes) : std::nullopt;
    UnpackedProject project = UnpackSongProject(file ? std::span<const std::uint8_t>(*file)
                                                     : std::span<const std::uint8_t>());
    if (project.error == ProjectReadError::kBadMagic) {
        Critical(kBadProjectText);
        return std::nullopt;
    }
    // A project cut anywhere is refused before any of its pieces replaces what the song loaded
    // before it left: that song stays whole.
    if (project.error != ProjectReadError::kNone) {
        Critical(kInvalidProjectText);
        return std::nullopt;
    }
    // A project read without error holds every piece.
    return SongProject{std::move(*project.input), *project.myVmCode, std::move(*project.chordData),
                       std::move(*project.settingText)};
}

bool FileCommands::UnpackProject(const SongProject& project) {
    main_.LblInName->SetCaption("Reading Midi Data from QXs-Data...");
    if (!platform::ReplaceFileAtomically(InFolder("InPut.bin"), project.input)) {
        Critical("Error: Could not create input data.");
        return false;
    }
    main_.LblInName->SetCaption("Reading Chord Data from QXs-Data...");
    App::Get().g.MyVmCode = project.myVmCode;
    if (!platform::ReplaceFileAtomically(InFolder("Data.aco"), project.chordData)) {
        Critical("Error: Could not create chord data.");
        return false;
    }
    main_.LblInName->SetCaption("Reading Style Settings from QXs-Data...");
    if (!platform::ReplaceFileAtomically(InFolder("QXsDataSet.dat"), Bytes(project.settingText))) {
        Critical("Error: Could not create StySetting data.");
        return false;
    }
    main_.LblInName->SetCaption("Read QXs-Data completed.");
    return true;
}

// ---- The file dialog's callers --------------------------------------------------------------

void FileCommands::BrowseInput() {
    App& app = App::Get();
    if (app.g.AnyBusy()) return;
    FrmSelectFile& dialog = app.frmSelectFile();
    dialog.Prepare(BrowseInputSetup(dialog.OptQXs->isChecked()), QString());
    dialog.ShowDialog();
}

void FileCommands::SetInputName(const QString& path) {
    main_.TxtInName->setText(path);
}

void FileCommands::CmdLoadSet_Click() {
    FrmSelectFile& dialog = App::Get().frmSelectFile();
    dialog.Prepare(UserStyleSetup(), QString());
    dialog.ShowDialog();
}

void FileCommands::BrowseUserChordFile() {
    FrmSelectFile& dialog = App::Get().frmSelectFile();
    dialog.Prepare(ChordFileSetup(), QString());
    dialog.ShowDialog();
}

// ---- The melody importer opener -------------------------------------------------------------

void FileCommands::OpenMelodyImporter() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    if (g.AnyBusy()) return;
    main_.MMControl1->Command("Close");
    main_.MMControl2->Command("Close");
    main_.SwOfPlLed();
    if (g.TestOn && main_.PictTeIn->isEnabled()) main_.TestInput();
    if (g.AnyBusy()) return;
    const std::string name = platform::qt::FileNameBytes(main_.TxtInName->text());
    const bool importable = !name.empty() && !IsProjectPath(name);
    if (g.TestOn && main_.CmdTestOut->isEnabled()) main_.CmdTestOut_Click();
    const std::string melody = InFolder("InpMel.bin");
    platform::qt::DeleteFile(melody);
    const std::int64_t inputLength = platform::qt::FileLength(InFolder("InPut.bin")).value_or(0);

    editors::FrmQuenby& importer = app.frmQuenby();
    if (importable) {
        if (!platform::qt::CopyWholeFile(name, melody)) {
            // Nothing of a half copy may be imported.
            platform::qt::DeleteFile(melody);
            MsgBox("Cannot get data from selected midi file.", MsgIcon::kCritical);
            return;
        }
        importer.CmdLoadIn->setEnabled(true);
        importer.setWindowTitle(Q("Generate/Import Melody from: " + name));
        const bool detect = !g.OpenedAfterLoadFailure && inputLength >= 1;
        importer.CmdKeyDetect->setEnabled(detect);
        if (!detect) importer.LblKeyFindInfo->SetCaption("");
    } else {
        importer.CmdLoadIn->setEnabled(false);
        importer.setWindowTitle("Auto Music Generatator");
        importer.CmdKeyDetect->setEnabled(false);
        importer.LblKeyFindInfo->SetCaption("");
    }
    for (QWidget* control :
         {static_cast<QWidget*>(importer.TxtScaleVol), static_cast<QWidget*>(importer.ChkNhan2),
          static_cast<QWidget*>(importer.TxtIntro), static_cast<QWidget*>(importer.TxtEnding)}) {
        control->setEnabled(importable);
    }
    for (QRadioButton* track : importer.OptTrk) track->setEnabled(importable);
    importer.show();
}

}  // namespace corvane

// ---- The main window's procedures -----------------------------------------------------------

namespace corvane {

void FrmMain::BrowseInput() {
    fileCommands().BrowseInput();
}

void FrmMain::SaveOutput(bool direct) {
    fileCommands().SaveOutput(direct);
}

void FrmMain::OpenMelodyImporter() {
    fileCommands().OpenMelodyImporter();
}

void FrmMain::SetInputName(const QString& path) {
    fileCommands().SetInputName(path);
}

}  // namespace corvane
