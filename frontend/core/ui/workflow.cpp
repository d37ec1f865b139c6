#include "frontend/core/ui/workflow.h"

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>

#include "frontend/app/app.h"
#include "frontend/core/command_lines.h"
#include "frontend/core/file_dialog_rules.h"
#include "frontend/core/make_output.h"
#include "frontend/core/name_without_path.h"
#include "frontend/core/section_table.h"
#include "frontend/core/ui/file_commands.h"
#include "frontend/core/ui/playback.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/ui/startup.h"
#include "frontend/core/vb_text.h"
#include "frontend/editors/chord_data.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/editors/ui/frm_keys.h"
#include "frontend/editors/ui/frm_quenby.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/frm_save_setting.h"
#include "frontend/styles/ui/frm_sections.h"
#include "platform/file.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/file_names.h"
#include "platform/qt/msg_box.h"
#include "platform/qt/worker_start.h"
#include "platform/qt/worker_timeout.h"

namespace corvane {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgButtons;
using platform::qt::MsgIcon;
using platform::qt::MsgResult;

constexpr Colour kBarListComposing = 0xC0FFC0;
constexpr Colour kGridSaved = 0x000000;
// The header line of Notes.aco is short; this much of the file is more than enough for it.
constexpr std::size_t kHeaderReadLimit = 4096;

const char* const kTimeOutText =
    "Time Out error. Command aborted.\n"
    "You may have an incorrect version of Ambrel, Tressil or Compose installed.";
const char* const kNoInputNameText =
    "No Input File Name to load.\n"
    " -Click <Browse> button to find a song you want to make an accompaniment. Or\n"
    " -Click <Start Melody Importer> to generate some testing music without melody.";
const char* const kProjectQuestionText =
    "When you load a .qxs file, the Chord Data and the Style Setting data already loaded from "
    "the file, so you may need not to create a new Chord Data automatically.\n"
    "-If you click <Ok> now, Orvella re-creates the new Chord Data for the song.\n"
    "-If you click <Cancel>, the loaded Chord Data will not be modified by Orvella.";
const char* const kChordDataRefusedText =
    "Load false. Invalid Chord Data. You may have an incorrect version of Tressil installed.";
const char* const kNoChordKeyText = "Fatal Error: MyVmCode = 0";
const char* const kCannotReadNotesText = "Cannot read Notes.aco";
const char* const kCParaInvalidText =
    "The data in <cPara.dat> is invalid.\n"
    "You may have an incorrect version of Compose installed.";

std::string CannotStart(const char* program) {
    return std::string("Cannot start ") + program;
}

// True when both paths name one existing file.
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// The header line of a song loader's "Notes.aco"; nothing when the file cannot be read.
std::optional<SongHeader> ReadSongHeader(const std::string& path) {
    const auto head = platform::qt::ReadAtMost(path, kHeaderReadLimit);
    if (!head) return std::nullopt;
    const std::string text(head->begin(), head->end());
    return ParseSongHeader(std::string_view(text).substr(0, text.find('\n')));
}

}  // namespace

// The scratch folder goes with the trial: the song loader's files of a project's song never
// meet the program folder's.
struct Workflow::ProjectTrial {
    SongProject project;
    std::string path;  // the project file Load In was asked for
    QTemporaryDir scratch;
    std::string Folder() const { return QFile::encodeName(scratch.path()).toStdString(); }
};

Workflow::Workflow(FrmMain& main) : main_(main) {
    QObject::connect(main_.CmdMessageWindow, &platform::qt::MessageWindow::KeyUp, &main_,
                     [this](int keyCode, int shift) { CmdMessage_KeyUp(keyCode, shift); });
    QObject::connect(main_.TimerMess, &QTimer::timeout, &main_, [this] { TimerMess_Timer(); });
}

Workflow::~Workflow() = default;

void Workflow::Caption(const char* text) {
    main_.LblInName->SetCaption(text);
}

std::uint32_t Workflow::FreshHandle() {
    return main_.CmdMessageWindow->Rebind();
}

bool Workflow::StartWorker(const std::string& commandLine, const std::string& workingFolder) {
    App::Get().g.CmdTimedOut = false;
    if (!platform::qt::StartHidden(commandLine, App::Get().g.AppFolder, &workerProcess_,
                                   workingFolder)) {
        return false;
    }
    main_.CmdMessageWindow->ExpectFrom(workerProcess_);
    return true;
}

void Workflow::StartTimeOut(int command) {
    App::Get().g.CmdRunning = command;
    main_.TimerMess->start(platform::qt::WorkerTimeoutMs());
}

void Workflow::EnableSteps(bool load, bool proceed, bool make) {
    if (load) main_.PictLoad->setEnabled(true);
    if (proceed) main_.PictProc->setEnabled(true);
    if (make) main_.PictMake->setEnabled(true);
}

void Workflow::EnableOutputButtons() {
    main_.PictMake->setEnabled(true);
    main_.CmdTestOut->setEnabled(true);
    main_.PictTest->setEnabled(true);
    main_.PictEndT->setEnabled(true);
}

// ---- Load In --------------------------------------------------------------------------------

void Workflow::CmdGetNote_Click() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    if (g.CmdRunning != kNoCommand) return;
    const bool songFromProject = g.SongFromProject;
    g.SongFromProject = false;
    bool project = false;
    const std::string path = platform::qt::FileNameBytes(main_.TxtInName->text());
    if (!(g.UseMelodyTitle && !g.InputFromLoadIn)) {
        if (path.empty()) {
            MsgBox(kNoInputNameText, MsgIcon::kInformation);
            return;
        }
        if (!platform::qt::FileLength(path)) {
            MsgBox(Q("Input file not found <" + path + ">."), MsgIcon::kCritical);
            Caption("");
            g.SongTitle.clear();
            return;
        }
        g.UseMelodyTitle = false;
        project = IsProjectPath(path);
    }
    if (g.AnyBusy()) return;
    // A project is read and checked whole, and tried, before anything of the song loaded now is
    // touched: a refused one leaves that song, its files and the steps done as they were.
    if (project && !g.MelodyWorkerBusy) {
        g.SongFromProject = songFromProject;
        if (auto read = main_.fileCommands().ReadProject())
            StartProjectTrial(std::move(*read), path);
        return;
    }
    StartLoadIn(path, nullptr);
}

void Workflow::StartLoadIn(const std::string& path, const SongProject* project) {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    if (main_.PictTeIn->isEnabled() && g.TestOn) main_.TestInput();

    main_.PictLoad->setEnabled(false);
    main_.PictProc->setEnabled(false);
    main_.PictMake->setEnabled(false);
    app.frmChord().hide();
    app.frmChord().LstTemp->clear();
    main_.LstHa->clear();
    main_.SetBarListColour(kBarListIdle);
    main_.LblTotalMCnt->SetCaption("000");
    g.LoadDone = false;
    g.ProceedDone = false;

    if (!g.MelodyWorkerBusy) {
        const std::string input = InFolder("InPut.bin");
        // A song chosen from the program folder under the input's own name is the input
        // already; deleting it first would lose it.
        const bool songIsInput = !path.empty() && SameFile(path, input);
        platform::qt::DeleteFile(InFolder("Error1.msg"));
        if (!songIsInput) platform::qt::DeleteFile(input);
        platform::qt::DeleteFile(InFolder("KeysData.Aco"));
        if (project) {
            if (!main_.fileCommands().UnpackProject(*project)) {
                Caption("");
                g.SongTitle.clear();
                EnableSteps(true, true, true);
                return;
            }
            g.SongFromProject = true;
            g.ProjectStylesRestored = false;
        } else if (!songIsInput && !platform::qt::CopyWholeFile(path, input)) {
            MsgBox("Cannot create input data.", MsgIcon::kCritical);
            Caption("");
            g.SongTitle.clear();
            EnableSteps(true, true, true);
            return;
        }
    }

    const std::uint32_t handle = FreshHandle();
    const std::string commandLine = AmbrelArgs(g.ChordOptMode, handle);
    if (main_.CmdTestOut->isEnabled() && g.TestOn) main_.CmdTestOut_Click();
    Caption("Creating Input Data...");
    app.frmQuenby().LblKeyFindInfo->SetCaption("");
    g.InputFromLoadIn = true;
    if (handle == 0 || !StartWorker(commandLine)) {
        MsgBox(Q(CannotStart(kSongLoaderProgram)), MsgIcon::kCritical);
        g.SongTitle.clear();
        EnableSteps(true, true, true);
        return;
    }
    StartTimeOut(kLoadInCommand);
}

void Workflow::StartProjectTrial(SongProject project, const std::string& path) {
    CoreGlobals& g = App::Get().g;
    auto trial = std::make_unique<ProjectTrial>();
    trial->project = std::move(project);
    trial->path = path;
    const std::string folder = trial->Folder();
    if (!trial->scratch.isValid() ||
        !platform::ReplaceFileAtomically(folder + "/InPut.bin", trial->project.input,
                                         platform::Durability::kNotSynced)) {
        MsgBox("Error: Could not create input data.", MsgIcon::kCritical);
        return;
    }
    const std::uint32_t handle = FreshHandle();
    if (handle == 0 || !StartWorker(AmbrelArgs(g.ChordOptMode, handle), folder)) {
        MsgBox(Q(CannotStart(kSongLoaderProgram)), MsgIcon::kCritical);
        return;
    }
    trial_ = std::move(trial);
    StartTimeOut(kLoadInCommand);
}

void Workflow::FinishProjectTrial(bool failed) {
    std::unique_ptr<ProjectTrial> trial = std::move(trial_);
    if (!ProjectPasses(*trial, failed)) return;
    const SongProject project = std::move(trial->project);
    const std::string path = trial->path;
    trial.reset();
    App::Get().g.SongFromProject = false;
    StartLoadIn(path, &project);
}

bool Workflow::ProjectPasses(const ProjectTrial& trial, bool failed) {
    // The boxes are those the Load In of the project would show, in the same order; only the
    // loaded song stays.
    const std::string folder = trial.Folder();
    if (failed) {
        if (ShowWorkerError(folder + "/Error1.msg", WorkerErrorMode::kLoadIn) == 2)
            OfferMelodyImporter();
        return false;
    }
    const std::optional<SongHeader> header = ReadSongHeader(folder + "/Notes.aco");
    if (!header || !header->keyCode) {
        MsgBox(header ? kKeyNotUnderstoodText : kCannotReadNotesText, MsgIcon::kCritical);
        return false;
    }
    // The chord data as the chord list would read it once the project is loaded.
    const SongProject& project = trial.project;
    if (project.myVmCode == 0) {
        MsgBox(kNoChordKeyText, MsgIcon::kCritical);
        return false;
    }
    const editors::ChordDataRead read = editors::ReadChordData(project.chordData, project.myVmCode);
    int makerMsCount = App::Get().g.MakerMsCount;
    if (read.error) {
        MsgBox(Latin1(*read.error), MsgIcon::kCritical);
    } else if (editors::CheckChordMeasureCount(static_cast<int>(read.records.size()), true,
                                               makerMsCount) == 0) {
        MsgBox(editors::kInvalidMeasureCountText, MsgIcon::kCritical);
    } else {
        return true;
    }
    MsgBox(kChordDataRefusedText, MsgIcon::kCritical);
    return false;
}

bool Workflow::ShowMusicType() {
    const std::optional<SongHeader> header = ReadSongHeader(InFolder("Notes.aco"));
    if (!header) {
        MsgBox(kCannotReadNotesText, MsgIcon::kCritical);
        main_.LblMusicType->SetCaption("");
        return false;
    }
    SongTimeSig = header->timeSig;
    SongTempo = header->tempo;
    if (!header->keyCode) {
        MsgBox(kKeyNotUnderstoodText, MsgIcon::kCritical);
        main_.LblMusicType->SetCaption("");
        return false;
    }
    main_.LblMusicType->SetCaption(Q(MusicTypeCaption(*header)));
    return true;
}

void Workflow::FinishLoadIn(bool failed) {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    int shown = 0;
    if (failed) shown = ShowWorkerError(InFolder("Error1.msg"), WorkerErrorMode::kLoadIn);
    g.MelodyWorkerBusy = false;
    const bool stepFailed = shown != 0 || !ShowMusicType();
    if (stepFailed) {
        g.SongTitle.clear();
        Caption("");
        if (shown == 2) OfferMelodyImporter();
        return;
    }
    g.SongTitle = g.UseMelodyTitle
                      ? g.MelodyTitle
                      : GetNameWithoutPath(platform::qt::FileNameBytes(main_.TxtInName->text()));
    g.LoadDone = true;
    if (!g.SongFromProject) return;
    Caption("Restore Chord Data List...");
    FinishProceed(false);
    app.frmChord().CmdSaveUsr->setEnabled(false);
    if (!g.SongFromProject) return;
    app.frmChord().SetGridForeColour(kGridSaved);
    if (!g.ProjectStylesRestored) {
        g.ProjectStylesRestored = true;
        Caption("Restore Style Settings...");
        // The project was unpacked into the program folder, which need not be the current one.
        App::Get().frmSaveSetting().LoadStySetting(InFolder("QXsDataSet.dat"), "QXsDataSet.dat");
        Caption("QXs-Data load completed.");
    }
}

void Workflow::OfferMelodyImporter() {
    CoreGlobals& g = App::Get().g;
    if (main_.PictMiVi->isEnabled()) {
        g.OpenedAfterLoadFailure = true;
        main_.OpenMelodyImporter();
        g.OpenedAfterLoadFailure = false;
    } else {
        Caption("Melody Importer is running...");
    }
}

// ---- Proceed --------------------------------------------------------------------------------

void Workflow::Proceed() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    if (g.CmdRunning != kNoCommand || g.AnyBusy()) return;
    main_.MMControl1->Command("Close");
    main_.SwOfPlLed();
    if (main_.CmdTestOut->isEnabled() && g.TestOn) main_.CmdTestOut_Click();
    app.frmChord().hide();
    if (!g.LoadDone) {
        MsgBox("Please run <1.Load> first.", MsgIcon::kInformation);
        EnableSteps(false, true, true);
        return;
    }
    if (g.SongFromProject && MsgBox(kProjectQuestionText, MsgIcon::kQuestion, MsgButtons::kOkCancel,
                                    1) != MsgResult::kOk) {
        return;
    }
    g.ProceedDone = false;
    g.ChordsNewerThanOutput = true;
    app.frmChord().LstTemp->clear();
    main_.LstHa->clear();
    main_.SetBarListColour(kBarListIdle);

    const auto keysLength = platform::qt::FileLength(InFolder("KeysData.Aco")).value_or(0);
    editors::FrmKeys& keys = app.frmKeys();
    keys.Tag = keysLength > 0 ? QString::number(keysLength) : QString("NoKeysChInfo");
    g.KeysChanged = false;
    Caption("");
    keys.exec();
    if (!g.KeysChanged) {
        Caption("<Proceed> command aborted.");
        return;
    }

    const std::uint32_t handle = FreshHandle();
    const std::string commandLine = TressilArgs(g.MakeOptMode, handle, g.SectLenIdx);
    Caption("Creating Chords Data...");
    platform::qt::DeleteFile(InFolder("Error2.msg"));
    if (handle == 0 || !StartWorker(commandLine)) {
        MsgBox(Q(CannotStart(kChordMakerProgram)), MsgIcon::kCritical);
        Caption("");
        EnableSteps(false, true, true);
        g.ProceedDone = false;
        return;
    }
    g.MyVmCode = 0;
    StartTimeOut(kProceedCommand);
    main_.SetBarListColour(kBarListIdle);
    app.frmChord().SetGridForeColour(kGridSaved);
    g.SongFromProject = false;
}

void Workflow::FinishProceed(bool failed) {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    bool stepFailed = false;
    if (failed) {
        ShowWorkerError(InFolder("Error2.msg"), WorkerErrorMode::kProceed);
        stepFailed = true;
    }
    if (g.MyVmCode == 0) {
        MsgBox(kNoChordKeyText, MsgIcon::kCritical);
        stepFailed = true;
    }
    if (stepFailed) {
        g.ProceedDone = false;
    } else {
        g.ChordFromMaker = true;
        g.ChordListBusy = true;
        g.ProceedDone = true;
        const bool loaded = app.frmChord().DoCmdLoad(false);
        g.ChordListBusy = false;
        if (!loaded) {
            MsgBox(kChordDataRefusedText, MsgIcon::kCritical);
            Caption("");
            EnableSteps(false, true, true);
            g.ProceedDone = false;
            g.SongFromProject = false;
            return;
        }
        if (!g.FixedsysPresent && !FixedsysNoticeShown) {
            FixedsysNoticeShown = true;
            MsgBox(kFontMissing, MsgIcon::kInformation);
        }
    }
    main_.LstHa->setEnabled(true);
    if (!g.SectionStylesCommitted) {
        g.SectionStylesCommitted = true;
        App::Get().frmSections().CmdOk_Click();
    }
}

// ---- Make Output ----------------------------------------------------------------------------

void Workflow::CmdCompose_Click() {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    styles::SlotTables& tables = app.slotTables;
    if (tables.CurSlot >= 0 && tables.CurSlot < styles::kSlotCount)
        main_.SetBackColour(main_.LblGMCode[1], styles::kSlotColours[tables.CurSlot]);
    if (g.CmdRunning != kNoCommand || g.AnyBusy()) return;
    main_.MMControl1->Command("Close");
    main_.SwOfPlLed();
    if (g.AnyBusy()) return;
    main_.PictMake->setEnabled(false);
    g.ChordsNewerThanOutput = false;
    if (!g.LoadDone && !g.ProceedDone) {
        MsgBox("Please run <1.Load> and <2.Proceed> first.", MsgIcon::kInformation);
        main_.PictMake->setEnabled(true);
        return;
    }
    if (!g.ProceedDone) {
        MsgBox("Please run <2.Proceed> first.", MsgIcon::kInformation);
        main_.PictMake->setEnabled(true);
        return;
    }
    if (main_.PictTeIn->isEnabled() && g.TestOn) main_.TestInput();
    if (main_.CmdTestOut->isEnabled() && g.TestOn) main_.CmdTestOut_Click();
    main_.CmdTestOut->setEnabled(false);

    const int first = tables.SectStyleIdx[0];
    const std::string styleSig = first >= 0 && first < g.Styles.StyleCount()
                                     ? StyleTimeSignature(g.Styles.StyleNames[first])
                                     : std::string();
    if (styleSig != SongTimeSig) {
        MsgBox(Q(TimeSignatureRefusal(styleSig, SongTimeSig)), MsgIcon::kCritical);
        main_.PictMake->setEnabled(true);
        return;
    }
    const MeasureUnits units = MeasureUnitsOf(SongTimeSig);
    g.MsUnits = units.msUnits;
    g.HalfMsUnits = units.halfMsUnits;
    g.TicksPerBeatLed = units.ticksPerBeatLed;
    g.BeatLedCount = units.beatLedCount;

    const std::string options = VParaText(tables);
    if (!platform::ReplaceFileAtomically(
            InFolder("vPara.dat"),
            {reinterpret_cast<const std::uint8_t*>(options.data()), options.size()},
            platform::Durability::kNotSynced)) {
        // The composer would read what is left of the file as the play options.
        MsgBox("Cannot create vPara.dat.", MsgIcon::kCritical);
        main_.PictMake->setEnabled(true);
        return;
    }

    ComposeInputs inputs;
    inputs.songTempo = SongTempo;
    for (int i = 0; i < 2; ++i) {
        inputs.echoSlider[i] = main_.CanGatEcho[i]->Value();
        inputs.echoVoice[i] =
            static_cast<int>(LeadingNumber(main_.LblEcho[i]->Caption().toStdString()));
    }
    for (int slot = 0; slot < styles::kSlotCount; ++slot) {
        const int row = tables.SectStyleIdx[slot];
        if (row >= 0 && row < g.Styles.StyleCount())
            inputs.styleFiles[slot] = g.Styles.StyleFiles[row];
    }
    inputs.myVmCode = g.MyVmCode;
    inputs.autoOctave = tables.AutoOctave;
    inputs.handle = FreshHandle();
    const std::string commandLine = ComposeArgs(inputs);
    if (const auto refusal = ComposeArgsRefusal(commandLine)) {
        platform::qt::DeleteFile(g.ComposeOutPath);
        platform::qt::DeleteFile(InFolder("Temp.dat"));
        MsgBox(Q(*refusal), MsgIcon::kCritical);
        main_.PictMake->setEnabled(true);
        return;
    }
    Caption("Creating Output Data...");
    main_.LstSections->clear();
    platform::qt::DeleteFile(InFolder("Error3.msg"));
    if (inputs.handle == 0 || !StartWorker(commandLine)) {
        MsgBox(Q(CannotStart(kComposerProgram)), MsgIcon::kCritical);
        Caption("");
        main_.PictMake->setEnabled(true);
        return;
    }
    g.OutputRunCode = 0;
    StartTimeOut(kMakeCommand);
    main_.CmdTestOut->setEnabled(false);
    main_.SetBarListColour(kBarListComposing);
}

bool Workflow::FinishMake(bool failed) {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    if (failed) ShowWorkerError(InFolder("Error3.msg"), WorkerErrorMode::kMake);
    const bool ok = !failed && g.OutputRunCode > 0 &&
                    g.Output.LoadComposeOutput(g.ComposeOutPath, g.OutputRunCode);
    if (!ok) {
        Caption("Error while making output.");
        return false;
    }
    g.OutputReady = true;
    main_.PictSave->setEnabled(true);
    main_.PictSOut->setEnabled(true);
    platform::qt::DeleteFile(g.ComposeOutPath);
    platform::qt::DeleteFile(InFolder("Temp.dat"));
    for (int k = 0; k < styles::kSlotCount; ++k) SlotNames[k] = app.slotTables.SlotStyleNames[k];
    ReadCPara();
    const std::string& points = app.slotTables.SwPointsText;
    main_.LblSwPoints->SetCaption(points.empty() ? QString("Style switch points") : Q(points));
    return true;
}

void Workflow::ReadCPara() {
    App& app = App::Get();
    const std::string path = InFolder("cPara.dat");
    const auto length = platform::qt::FileLength(path);
    const auto bytes =
        length ? platform::qt::ReadAtMost(path, static_cast<std::size_t>(*length)) : std::nullopt;
    if (!bytes) {
        MsgBox("Cannot open data file <cPara.dat> for reading.", MsgIcon::kCritical);
        return;
    }
    const auto table = ParseSectionTable(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (!table) {
        MsgBox(kCParaInvalidText, MsgIcon::kCritical);
        return;
    }
    styles::SlotTables& tables = app.slotTables;
    for (int slot = 0; slot < styles::kSlotCount; ++slot) {
        for (int part = 0; part < styles::kPartCount; ++part) {
            tables.PartProgram(slot, part) = table->programs[slot][part];
            tables.PartVol(slot, part) = table->volumes[slot][part];
        }
    }
    for (const std::string& line : table->switchLines)
        main_.LstSections->addItem(Latin1(SectionListEntry(line, SlotNames)));
    const int shown =
        tables.CurSlot >= 0 && tables.CurSlot < styles::kSlotCount ? tables.CurSlot : 0;
    for (int part = 0; part < styles::kPartCount; ++part) {
        main_.LblProgNum[part]->SetCaption(QString::number(tables.PartProgram(shown, part)));
        main_.CanGatVol[part]->SetValue(tables.PartVol(shown, part));
    }
}

// ---- Completion and time-out ----------------------------------------------------------------

void Workflow::CmdMessage_KeyUp(int keyCode, int shift) {
    App& app = App::Get();
    CoreGlobals& g = app.g;
    main_.TimerMess->stop();
    const CompletionRoute route = RouteCompletion(keyCode, g.CmdRunning, g.CmdTimedOut);
    if (route == CompletionRoute::kNobodyWaits) return;
    // The worker has answered; nothing more may arrive for its command.
    main_.CmdMessageWindow->Close();
    workerProcess_ = 0;
    if (route == CompletionRoute::kTimedOutWorker) {
        g.CmdTimedOut = false;
        return;
    }
    if (trial_) {
        // The song loader tried a project's song in its scratch folder: the loaded song is no
        // part of this answer, so none of the steps below may touch it.
        g.CmdRunning = kNoCommand;
        if (route == CompletionRoute::kLoadIn) {
            FinishProjectTrial(shift != 0);
        } else {
            trial_.reset();
            Caption("Executed command return bad.");
        }
        return;
    }
    // Pending events are left to the event loop: running them here could deliver another
    // completion inside this one.
    const bool failed = shift != 0;
    g.OutputReady = false;
    main_.PictSave->setEnabled(false);
    main_.PictSOut->setEnabled(false);
    switch (route) {
        case CompletionRoute::kLoadIn:
            Caption(failed ? "<Load In> command error." : "<Load In> command complete.");
            FinishLoadIn(failed);
            EnableSteps(true, true, true);
            break;
        case CompletionRoute::kProceed:
            Caption(failed ? "<Proceed> command error." : "<Proceed> command complete.");
            if (!failed) g.MyVmCode = keyCode;
            FinishProceed(failed);
            EnableSteps(false, true, true);
            break;
        case CompletionRoute::kMake:
            Caption(failed ? "<Make> command error." : "<Make> command complete.");
            if (!failed) g.OutputRunCode = static_cast<std::int16_t>(keyCode + 1);
            g.OutputReady = FinishMake(failed);
            if (main_.playback().InputTestRunning()) main_.TestInput();
            EnableOutputButtons();
            if (g.Playing && g.OutputReady) main_.CmdTestOut_Click();
            break;
        default:
            Caption("Executed command return bad.");
            g.OutputReady = false;
            main_.PictProc->setEnabled(false);
            main_.PictMake->setEnabled(false);
            // Load In switched its own button off too; without it no step could run again.
            main_.PictLoad->setEnabled(true);
            break;
    }
    g.CmdRunning = kNoCommand;
}

void Workflow::TimerMess_Timer() {
    CoreGlobals& g = App::Get().g;
    main_.TimerMess->stop();
    if (g.CmdRunning == kNoCommand) return;
    g.CmdTimedOut = true;
    // A worker left running could still write its files under the next step: a late chord
    // maker over the chord list being edited, a late composer over the next Make's output.
    platform::qt::EndWorker(workerProcess_);
    workerProcess_ = 0;
    switch (g.CmdRunning) {
        case kLoadInCommand:
            Caption("<Load In> command time out.");
            // A project's trial changed nothing, so nothing needs making usable again.
            if (trial_) {
                trial_.reset();
            } else {
                EnableSteps(true, true, true);
            }
            break;
        case kProceedCommand:
            Caption("<Proceed> command time out.");
            EnableSteps(false, true, true);
            break;
        default:
            Caption("<Make> command time out.");
            g.OutputRunCode = 1;
            if (main_.playback().InputTestRunning()) main_.TestInput();
            EnableOutputButtons();
            break;
    }
    g.CmdRunning = kNoCommand;
    MsgBox(kTimeOutText, MsgIcon::kCritical);
}

int Workflow::ShowWorkerError(const std::string& path, WorkerErrorMode mode) {
    const auto head = platform::qt::ReadAtMost(path, kWorkerErrorBytes);
    const WorkerErrorBox box = WorkerErrorMessage(head, mode, App::Get().g.MelodyWorkerBusy);
    if (box.result == 1) MsgBox(Latin1(box.text), MsgIcon::kCritical);
    return box.result;
}

}  // namespace corvane
