#include "frontend/editors/ui/frm_quenby.h"

#include <QGroupBox>
#include <QTimer>

#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/core/ui/make_control.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/core/vb_text.h"
#include "frontend/core/worker_control.h"
#include "frontend/editors/key_list.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/msg_box.h"

namespace corvane::editors {
namespace {

using platform::qt::CaptionLabel;
using platform::qt::MsgBox;
using platform::qt::MsgIcon;

constexpr const char* kGenerateTag = "1";
constexpr const char* kImportTag = "0";

const char* const kHelpText =
    "<Generate Music> makes random data for testing music; it needs no input MIDI file.\n"
    "<Load-in Melody> imports the melody track from the selected input MIDI file. You can "
    "adjust its tempo, key and time, add measures for an intro and an ending, and adjust the "
    "melody volume. \"x2 Melody\" makes the melody twice as long with a tempo twice as fast: "
    "when the melody is slow (tempo below 80) and its chords change often, this can make the "
    "accompaniment better.";

QLineEdit* NumberField(QWidget* parent, const char* name, const QRect& place, int maxLength,
                       const char* text) {
    auto* field = MakeControl<QLineEdit>(parent, name, place);
    field->setMaxLength(maxLength);
    field->setText(text);
    field->setAlignment(Qt::AlignRight);
    return field;
}

// A field's text replaced by its value within the field's limits.
void Limit(QLineEdit* field, int (*valueOf)(std::string_view)) {
    field->setText(QString::number(valueOf(field->text().toStdString())));
}

}  // namespace

FrmQuenby::FrmQuenby(QWidget* parent)
    : DeactivatingDialog("FrmQuenby", "Import melody from...", parent) {
    setFixedSize(620, 472);

    auto* tracks = MakeControl<QGroupBox>(this, "FraTracks", {12, 8, 596, 84});
    tracks->setTitle("From which Track / Channel to import");
    for (int i = 0; i < kTrackCount; ++i) {
        OptTrk[i] = MakeControl<QRadioButton>(tracks, ElementName("OptTrk", i),
                                              {12 + 72 * (i % 8), 24 + 26 * (i / 8), 72, 24});
        OptTrk[i]->setText(QString::fromStdString("Tr/Ch " + ZeroPad(i + 1, 2)));
        connect(OptTrk[i], &QRadioButton::clicked, this, [this, i] { OptTrk_Click(i); });
    }
    OptTrk[0]->setChecked(true);

    auto* music = MakeControl<QGroupBox>(this, "FraMusic", {12, 100, 596, 150});
    music->setTitle("How to set the music");
    StaticText(music, "LblKeyCaption", {12, 28, 88, 24}, "Overall Key:");
    CmbKey = MakeControl<QComboBox>(music, "CmbKey", {100, 26, 130, 28});
    for (int code = 0; code < kKeyCodeCount; ++code)
        CmbKey->addItem(QString::fromStdString(KeyNameTable()[code]));
    LblKey = MakeControl<CaptionLabel>(music, "LblKey", {234, 26, 40, 28});
    LblKey->setAlignment(Qt::AlignCenter);
    LblKey->setToolTip("Key signature: sharps (+) or flats (-)");
    StaticText(music, "LblTimeCaption", {292, 28, 40, 24}, "Time");
    CmbTime = MakeControl<QComboBox>(music, "CmbTime", {332, 26, 70, 28});
    CmbTime->addItems({"2/4", "3/4", "4/4", "6/8"});
    StaticText(music, "LblTempoCaption", {424, 28, 90, 24}, "Start Tempo");
    TxtTempo = NumberField(music, "TxtTempo", {516, 26, 64, 28}, 3, "120");
    StaticText(music, "LblInsertCaption", {12, 68, 214, 24}, "Number of measures to insert :");
    StaticText(music, "LblIntroCaption", {232, 68, 70, 24}, "For intro :");
    TxtIntro = NumberField(music, "TxtIntro", {302, 66, 44, 28}, 2, "0");
    StaticText(music, "LblEndingCaption", {364, 68, 82, 24}, "For ending :");
    TxtEnding = NumberField(music, "TxtEnding", {446, 66, 44, 28}, 2, "0");
    StaticText(music, "LblVolumeCaption", {12, 108, 110, 24}, "Set Volume to :");
    TxtScaleVol = NumberField(music, "TxtScaleVol", {122, 106, 54, 28}, 3, "100");
    StaticText(music, "LblPercent", {180, 108, 20, 24}, "%");
    ChkNhan2 = MakeControl<QCheckBox>(music, "ChkNhan2", {364, 106, 126, 28});
    ChkNhan2->setText("x2 Melody :");
    ChkNhan2->setLayoutDirection(Qt::RightToLeft);

    CmdKeyDetect = Button(this, "CmdKeyDetect", {12, 262, 184, 30}, "Detect the overall key");
    LblKeyFindInfo = MakeControl<CaptionLabel>(this, "LblKeyFindInfo", {206, 262, 402, 30});
    TxtHelp = MakeControl<QPlainTextEdit>(this, "TxtHelp", {12, 302, 596, 112});
    TxtHelp->setReadOnly(true);
    TxtHelp->setFocusPolicy(Qt::NoFocus);
    TxtHelp->setPlainText(kHelpText);

    runButtons_ = MakeControl<QWidget>(this, "FraRunButtons", {12, 428, 312, 32});
    CmdAutoMusic = Button(runButtons_, "CmdAutoMusic", {0, 0, 150, 32}, "Generate Music");
    CmdLoadIn = Button(runButtons_, "CmdLoadIn", {160, 0, 150, 32}, "Load-in Melody");
    CmdCancel = Button(this, "CmdCancel", {508, 428, 100, 32}, "Cancel");

    CreateWorkerControls(
        this, [this](int keyCode, int shift) { CmdMess_KeyUp(keyCode, shift); },
        [this] { TimerMlMess_Timer(); });

    connect(CmbKey, &QComboBox::currentIndexChanged, this, [this] { CmbKey_Click(); });
    connect(CmdKeyDetect, &QPushButton::clicked, this, [this] { CmdKeyDetect_Click(); });
    connect(CmdLoadIn, &QPushButton::clicked, this, [this] { CmdLoadIn_Click(); });
    connect(CmdAutoMusic, &QPushButton::clicked, this, [this] { CmdAutoMusic_Click(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
    for (QLineEdit* field : {TxtTempo, TxtIntro, TxtEnding, TxtScaleVol})
        field->installEventFilter(this);

    CmbTime->setCurrentIndex(2);
    CmbKey->setCurrentIndex(0);
    CmbKey_Click();
}

bool FrmQuenby::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field != nullptr && event->type() == QEvent::FocusIn) {
        // After the click that gave the focus has placed its cursor.
        QTimer::singleShot(0, field, [field] { field->selectAll(); });
    } else if (field != nullptr && LeftByUser(event)) {
        if (field == TxtTempo) TxtTempo_LostFocus();
        if (field == TxtIntro) TxtIntro_LostFocus();
        if (field == TxtEnding) TxtEnding_LostFocus();
        if (field == TxtScaleVol) TxtScaleVol_LostFocus();
    }
    return DeactivatingDialog::eventFilter(watched, event);
}

// ---- Showing and the fields -----------------------------------------------------------------

void FrmQuenby::Form_Activate() {
    Tag = kImportTag;
    OptTrk[TrackIdx]->setChecked(true);
}

void FrmQuenby::CmbKey_Click() {
    const int index = CmbKey->currentIndex();
    if (index >= 0) LblKey->SetCaption(QString::fromStdString(KeySigTable()[index]));
}

void FrmQuenby::OptTrk_Click(int) {
    // The detected key belonged to the song input, not to the track about to be imported.
    CmdKeyDetect->setEnabled(false);
    LblKeyFindInfo->SetCaption("");
}

void FrmQuenby::TxtTempo_LostFocus() {
    Limit(TxtTempo, TempoOf);
}

void FrmQuenby::TxtIntro_LostFocus() {
    Limit(TxtIntro, MeasuresToInsertOf);
}

void FrmQuenby::TxtEnding_LostFocus() {
    Limit(TxtEnding, MeasuresToInsertOf);
}

void FrmQuenby::TxtScaleVol_LostFocus() {
    Limit(TxtScaleVol, VolumePercentOf);
}

void FrmQuenby::CmdCancel_Click() {
    Deactivate();
}

// ---- Melody runs ----------------------------------------------------------------------------

void FrmQuenby::CmdLoadIn_Click() {
    Tag = kImportTag;
    StartMelodyWorker();
}

void FrmQuenby::CmdAutoMusic_Click() {
    Tag = kGenerateTag;
    StartMelodyWorker();
}

void FrmQuenby::EnableMainButtons() {
    FrmMain& main = App::Get().frmMain();
    main.PictMiVi->setEnabled(true);
    main.PictLoad->setEnabled(true);
}

void FrmQuenby::StartMelodyWorker() {
    if (pendingRun != DialogRun::kNone) return;
    CoreGlobals& g = App::Get().g;
    FrmMain& main = App::Get().frmMain();
    // A field still being typed in has not been limited yet.
    TxtTempo_LostFocus();
    TxtIntro_LostFocus();
    TxtEnding_LostFocus();
    TxtScaleVol_LostFocus();

    MelodyRun run;
    for (int i = 0; i < kTrackCount; ++i) {
        if (OptTrk[i]->isChecked()) {
            run.track = i + 1;
            TrackIdx = i;
            break;
        }
    }
    run.beats = BeatsCodeOf(CmbTime->currentText().toStdString());
    run.key = KeyTokensOf(CmbKey->currentText().toStdString());
    g.MelodyTitle.clear();
    run.tempo = TempoOf(TxtTempo->text().toStdString());
    run.doubled = ChkNhan2->isChecked();
    run.intro = MeasuresToInsertOf(TxtIntro->text().toStdString());
    run.ending = MeasuresToInsertOf(TxtEnding->text().toStdString());
    run.volume = VolumePercentOf(TxtScaleVol->text().toStdString());
    run.generate = Tag == kGenerateTag;

    // The next Load In takes the worker's song; a generated one has no file name to look at.
    g.UseMelodyTitle = run.generate;
    g.InputFromLoadIn = false;
    main.PictMiVi->setEnabled(false);
    main.PictLoad->setEnabled(false);
    main.LblInName->SetCaption("");
    main.update();
    hide();

    platform::qt::DeleteFile(InFolder("Error4.msg"));
    const auto commandLineFor = [run](std::uint32_t handle) mutable {
        run.handle = handle;
        return QuenbyArgs(run);
    };
    if (!StartWorker(DialogRun::kMelodyImport, commandLineFor)) {
        // Without a run there is no generated song for the next Load In to take.
        g.UseMelodyTitle = false;
        MsgBox(QString("Cannot start ") + kMelodyImporterProgram, MsgIcon::kCritical);
        EnableMainButtons();
        return;
    }
    main.LblInName->SetCaption("Import and Converting melody...");
    g.MelodyWorkerBusy = true;
}

void FrmQuenby::ShowMelodyError() {
    const auto head = platform::qt::ReadAtMost(InFolder("Error4.msg"), kWorkerErrorBytes);
    const WorkerErrorBox box =
        WorkerErrorMessage(head, WorkerErrorMode::kMelodyImport, App::Get().g.MelodyWorkerBusy);
    MsgBox(Latin1(box.text), MsgIcon::kCritical);
}

void FrmQuenby::FinishMelodyRun(bool failed) {
    CoreGlobals& g = App::Get().g;
    FrmMain& main = App::Get().frmMain();
    if (failed) {
        main.LblInName->SetCaption("<Quenby> command error.");
        g.MelodyWorkerBusy = false;
        // The worker's song is not to be loaded in place of the chosen one.
        g.UseMelodyTitle = false;
        ShowMelodyError();
    } else {
        main.LblInName->SetCaption("<Quenby> command complete.");
        main.CmdGetNote_Click();
    }
    EnableMainButtons();
}

// ---- Key detection --------------------------------------------------------------------------

void FrmQuenby::CmdKeyDetect_Click() {
    if (pendingRun != DialogRun::kNone) return;
    LblKeyFindInfo->SetCaption("Sorvik started...");
    LblKeyFindInfo->repaint();
    if (!StartWorker(DialogRun::kKeyDetection,
                     [](std::uint32_t handle) { return SorvikArgs(handle, 0); })) {
        LblKeyFindInfo->SetCaption(QString("Could not start ") + kKeyDetectorProgram);
        return;
    }
    runButtons_->setEnabled(false);
}

void FrmQuenby::FinishKeyDetection(bool failed) {
    runButtons_->setEnabled(true);
    if (failed) {
        LblKeyFindInfo->SetCaption("Sorry. Key not detected.");
        return;
    }
    LblKeyFindInfo->SetCaption("Key detection completed.");
    const auto code = ReadDetectedKeyCode();
    if (code) CmbKey->setCurrentIndex(*code);
    CmbKey->setFocus();
}

// ---- Completion and time-out ----------------------------------------------------------------

void FrmQuenby::CmdMess_KeyUp(int keyCode, int shift) {
    switch (ReceiveCompletion(keyCode)) {
        case DialogCompletion::kKeyDetection:
            FinishKeyDetection(shift != 0);
            break;
        case DialogCompletion::kMelodyImport:
            FinishMelodyRun(shift != 0);
            break;
        default:
            break;
    }
}

void FrmQuenby::TimerMlMess_Timer() {
    const DialogRun run = TimeOut();
    if (run == DialogRun::kNone) return;
    if (run == DialogRun::kKeyDetection) {
        // Only the dialog waited for the detector; the main window knows nothing of it.
        LblKeyFindInfo->SetCaption("Time Out error.");
        MsgBox(QString::fromStdString(TimeOutText(kKeyDetectorProgram)), MsgIcon::kCritical);
        runButtons_->setEnabled(true);
        return;
    }
    // The ended worker may have written "InPut.bin" already, so the next Load In must take the
    // user's chosen song again.
    CoreGlobals& g = App::Get().g;
    g.MelodyWorkerBusy = false;
    g.UseMelodyTitle = false;
    App::Get().frmMain().LblInName->SetCaption("<Quenby> command time out.");
    MsgBox(QString::fromStdString(TimeOutText(kMelodyImporterProgram)), MsgIcon::kCritical);
    EnableMainButtons();
}

}  // namespace corvane::editors
