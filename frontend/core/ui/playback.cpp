#include "frontend/core/ui/playback.h"

#include <filesystem>
#include <system_error>

#include "frontend/app/app.h"
#include "frontend/core/playback_rules.h"
#include "frontend/core/ui/qt_text.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/file_names.h"
#include "platform/qt/msg_box.h"
#include "platform/qt/virtual_clock.h"

namespace corvane {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

constexpr int kInputUpdateMs = 200;
constexpr const char* kSilentOutputText = "No audio output: playing silently";
// How long the silent-output words stay before the playing status takes the line again.
constexpr std::int64_t kSilenceShownMs = 4000;

}  // namespace

Playback::Playback(FrmMain& main) : main_(main) {
    connect(main_.MMControl1, &platform::qt::MMControl::StatusUpdate, this,
            &Playback::MMControl1_StatusUpdate);
    connect(main_.MMControl2, &platform::qt::MMControl::StatusUpdate, this,
            &Playback::MMControl2_StatusUpdate);
    connect(main_.TimerOnLine, &platform::qt::TimerControl::Timer, this,
            &Playback::TimerOnLine_Timer);
}

void Playback::GreyBeatLeds() {
    for (platform::qt::CaptionLabel* led : main_.LblLed) main_.SetBackColour(led, kLedOff);
}

void Playback::EnableOutputTestButtons() {
    main_.CmdTestOut->setEnabled(true);
    main_.PictTest->setEnabled(true);
    main_.PictEndT->setEnabled(true);
}

void Playback::RestoreIdleState() {
    App::Get().g.TestOn = false;
    main_.CanGatOut[0]->SetEnabled(false);
    main_.LblHa->SetCaption("0");
    main_.LblPlayFrom->SetCaption("0");
    main_.PictTest->show();
    main_.PictEndT->hide();
    main_.PictTeIn->show();
    main_.PictTeIn->setEnabled(true);
    main_.PictStIn->hide();
    EnableOutputTestButtons();
}

// ---- The output -----------------------------------------------------------------------------

void Playback::CmdTestOut_Click() {
    CoreGlobals& g = App::Get().g;
    if (g.AnyBusy()) return;
    platform::qt::MMControl& player = *main_.MMControl1;
    player.Command("Close");
    main_.SwOfPlLed();
    GreyBeatLeds();
    g.LastShownMeasure = -1;
    if (g.TestOn) {
        main_.LblInName->SetCaption("");
        player.Command("Close");
        main_.SwOfPlLed();
        platform::qt::DeleteFile(g.PlayFilePath);
        RestoreIdleState();
        return;
    }
    if (!g.OutputReady) {
        MsgBox("No Output to Test.\nRun <3.Make Output> first to create an output data.",
               MsgIcon::kInformation);
        return;
    }
    g.TestOn = true;
    main_.CanGatOut[0]->SetEnabled(true);
    main_.CanGatOut[0]->SetValue(0);
    main_.CanGatOut[1]->SetValue(0);
    main_.LblHa->SetCaption("0");
    main_.LblPlayFrom->SetCaption("0");
    main_.PictTest->hide();
    main_.PictEndT->show();
    main_.PictTeIn->setEnabled(false);
    main_.LblInName->SetCaption("Opening Output MIDI Device, Please Wait...");
    main_.CmdTestOut->setEnabled(false);
    main_.PictPlay->setEnabled(false);
    main_.PictEndT->setEnabled(false);

    // Whatever happens from here, the test buttons and Play are usable at the end.
    struct EnableAtEnd {
        Playback& playback;
        ~EnableAtEnd() {
            playback.EnableOutputTestButtons();
            playback.main_.PictPlay->setEnabled(true);
        }
    } enableAtEnd{*this};

    if (!g.Output.WritePlayFile(g.PlayFilePath)) {
        main_.LblInName->SetCaption("");
        platform::qt::DeleteFile(g.PlayFilePath);
        RestoreIdleState();
        return;
    }
    player.SetFileName(platform::qt::FileNameText(g.PlayFilePath));
    player.Command("Open");
    if (player.DeviceID() == 0) {
        const int error = player.Error();
        main_.LblInName->SetCaption("");
        MsgBox(Q(OutputOpenErrorText(error)), MsgIcon::kCritical);
        player.Command("Close");
        main_.SwOfPlLed();
        RestoreIdleState();
        return;
    }
    g.OutMsCount = OutMsCountOf(player.Length(), g.MsUnits);
    if (!BarCountsMatch(g.OutMsCount, g.ChordMsCount)) {
        player.Command("Close");
        main_.SwOfPlLed();
        MsgBox(Q(BarMismatchText(g.OutMsCount, g.ChordMsCount)), MsgIcon::kCritical);
        RestoreIdleState();
        return;
    }
    main_.CanGatOut[0]->SetMax(g.OutMsCount);
    main_.CanGatOut[1]->SetMax(g.OutMsCount);
    main_.LblInName->SetCaption("Ready To Play Output.");
    main_.CanGatOut_Change(0);
    main_.LblHa->SetCaption("0");
    main_.LblPlayFrom->SetCaption("0");
}

void Playback::MMControl1_PlayClick(bool& cancel) {
    // The player's own play never runs; PlayMCI1 starts it where the bar controls say.
    cancel = true;
    CoreGlobals& g = App::Get().g;
    int bar = main_.CanGatOut[0]->Value();
    if (bar == main_.CanGatOut[0]->Max()) bar = 0;
    g.LastShownMeasure = -1;
    main_.PlayMCI1(bar * g.MsUnits);
    main_.LblHa->SetCaption(QString::number(bar + 1));
    main_.LblPlayFrom->SetCaption(QString::number(bar + 1));
}

void Playback::MMControl1_StatusUpdate() {
    CoreGlobals& g = App::Get().g;
    platform::qt::MMControl& player = *main_.MMControl1;
    if (player.Error() != platform::qt::kErrorNone) {
        GreyBeatLeds();
        // The updates stop before the box, so the error is shown once; the device stays open
        // and Play can be pressed again.
        player.SetUpdateInterval(0);
        MsgBox(player.ErrorMessage(), MsgIcon::kCritical);
        main_.PictPlay->show();
        main_.PictPaus->hide();
        g.Playing = false;
        return;
    }
    if (player.Mode() != platform::qt::kModePlaying) {
        player.SetUpdateInterval(0);
        if (!g.Playing) return;
        // The song ran out while the user still wants it played: again from bar 1.
        GreyBeatLeds();
        main_.LblHa->SetCaption("1");
        main_.LblPlayFrom->SetCaption("1");
        main_.PlayMCI1(0);
        return;
    }
    if (g.MsUnits > 0) {
        const std::int64_t position = player.Position();
        main_.ShowBeatLed(position);
        const BarStep step = FollowPosition(position, g.MsUnits, g.HalfMsUnits, g.LastShownMeasure,
                                            SecondChordShown);
        if (step.secondChord) main_.ShowChordColour();
        if (step.newBar) {
            // The bar's change handler moves the thumb, LblHa and the chord list's row.
            main_.CanGatOut[0]->SetValue(step.bar);
            if (!main_.PosThumbPressed) main_.CanGatOut[1]->SetValue(step.bar);
            if (step.bar < g.ChordMsCount && !g.ChordsNewerThanOutput) ShowPlayingSection(step.bar);
        }
    }
    if (!g.ColorDemoOff) {
        if (g.SectionFlash) {
            g.SectionFlash = false;
            main_.SectionFlashWipe();
        }
        main_.DemoStep();
    }
}

std::vector<std::string> Playback::SectionLines() const {
    std::vector<std::string> lines;
    for (int row = 0; row < main_.LstSections->count(); ++row)
        lines.push_back(main_.LstSections->item(row)->text().toStdString());
    return lines;
}

void Playback::ShowPlayingSection(int bar) {
    CoreGlobals& g = App::Get().g;
    const PlayingSection section = LookUpSection(SectionLines(), bar, g.SongTitle);
    g.PlayingStyleSlot = section.slot;
    if (!SilenceShown()) {
        main_.LblInName->SetCaption(Q(section.caption));
        if (const auto colour = SlotColour(section.slot)) main_.LblInName->SetForeColor(*colour);
    }
    if (section.selectedRow >= 0) main_.LstSections->setCurrentRow(section.selectedRow);
}

void Playback::MMControl1_StopClick(bool& /*cancel*/) {
    main_.PictPlay->show();
    main_.PictPaus->hide();
    App::Get().g.Playing = false;
    main_.SwOfPlLed();
    main_.MMControl1->SetUpdateInterval(0);
}

// Pause and Stop begin alike: the stop procedure, the player stopped where it is, the play signs
// at rest and the Play face back.
void Playback::HaltOutput() {
    bool cancel = false;
    MMControl1_StopClick(cancel);
    main_.MMControl1->Command("Stop");
    main_.SwOfPlLed();
    main_.PictPlay->show();
    main_.PictPaus->hide();
}

void Playback::LblPaus_ClickPr() {
    HaltOutput();
    // The bar controls keep the bar, so the next Play starts again at its beginning.
    main_.LblInName->SetCaption("Paused");
}

void Playback::LblStop_ClickPr() {
    HaltOutput();
    App::Get().g.Playing = false;
    if (main_.CanGatOut[0]->Enabled()) {
        main_.CanGatOut[0]->SetValue(0);
        main_.CanGatOut[1]->SetValue(0);
    }
    main_.LblInName->SetCaption("Stoped");
}

void Playback::GoSectionBegin() {
    if (!main_.CanGatOut[0]->Enabled() || main_.LstHa->count() < 1) return;
    main_.CanGatOut[0]->SetValue(0);
    main_.CanGatOut[1]->SetValue(0);
}

void Playback::GoSectionEnd() {
    if (!main_.CanGatOut[0]->Enabled() || main_.LstHa->count() < 1) return;
    const int last = main_.LstHa->count() - 1;
    main_.CanGatOut[0]->SetValue(last);
    main_.CanGatOut[1]->SetValue(last);
}

void Playback::TimerOnLine_Timer() {
    const bool playing = main_.MMControl1->Mode() == platform::qt::kModePlaying;
    const int slot = App::Get().g.PlayingStyleSlot;
    if (!main_.ImgPlSign1->isHidden()) {
        main_.ImgPlSign1->hide();
        main_.ImgPlSign0->show();
        const auto colour = SlotColour(slot);
        if (playing && colour) main_.SetBackColour(main_.LblStyLeds.at(slot - 1), *colour);
    } else {
        main_.ImgPlSign1->show();
        main_.ImgPlSign0->hide();
        if (playing) {
            for (platform::qt::CaptionLabel* led : main_.LblStyLeds)
                main_.SetBackColour(led, kLedOff);
        }
    }
}

// ---- The input ------------------------------------------------------------------------------

void Playback::TestInput() {
    CoreGlobals& g = App::Get().g;
    const QString path = main_.TxtInName->text();
    // A running test ends whatever the box holds now; only a start needs a song.
    if (path.isEmpty() && !g.TestOn) {
        MsgBox(
            "No Input File To Test.\nClick Browse button to find an input midi file you want "
            "to Test.",
            MsgIcon::kInformation);
        return;
    }
    // A relative path names a song of the program folder.
    std::error_code ignored;
    std::filesystem::current_path(g.AppFolder, ignored);
    platform::qt::MMControl& player = *main_.MMControl2;
    if (g.TestOn) {
        EndInputTest();
        return;
    }
    g.TestOn = true;
    main_.PictTeIn->hide();
    main_.PictStIn->show();
    main_.PictStIn->setEnabled(true);
    main_.CmdTestOut->setEnabled(false);
    main_.PictTest->setEnabled(false);
    main_.PictEndT->setEnabled(false);
    main_.LblInName->SetCaption("Opening Input MIDI Device, Please Wait...");
    main_.PictTeIn->setEnabled(false);
    player.SetFileName(path);
    player.Command("Open");
    if (player.DeviceID() == 0) {
        MsgBox(player.ErrorMessage(), MsgIcon::kCritical);
        EndInputTest();
        main_.PictTest->show();
        main_.PictEndT->hide();
    } else {
        bool cancel = false;
        MMControl2_PlayClick(cancel);
        player.Command("Play");
        main_.SwOnPlLed();
        SaySilentOutput(player.Audible());
    }
    // Hidden while the test runs, but enabled: the status update ends the test through it.
    main_.PictTeIn->setEnabled(true);
}

// The input player closed and the test off, every test button back.
void Playback::EndInputTest() {
    main_.MMControl2->Command("Close");
    main_.SwOfPlLed();
    main_.LblInName->SetCaption("");
    App::Get().g.TestOn = false;
    main_.PictTeIn->show();
    main_.PictStIn->hide();
    EnableOutputTestButtons();
    main_.PictTeIn->setEnabled(true);
}

void Playback::MMControl2_PlayClick(bool& /*cancel*/) {
    main_.MMControl2->SetFrom(0);
    main_.MMControl2->SetUpdateInterval(kInputUpdateMs);
}

void Playback::MMControl2_StatusUpdate() {
    CoreGlobals& g = App::Get().g;
    platform::qt::MMControl& player = *main_.MMControl2;
    if (player.Error() != platform::qt::kErrorNone) {
        player.SetUpdateInterval(0);
        const QString message = player.ErrorMessage();
        player.Command("Close");
        main_.SwOfPlLed();
        main_.LblInName->SetCaption("");
        MsgBox(message, MsgIcon::kCritical);
        if (main_.PictStIn->isEnabled()) TestInput();
        return;
    }
    if (player.Mode() != platform::qt::kModePlaying) {
        // The input plays once: its end ends the test.
        if (g.TestOn && main_.PictTeIn->isEnabled()) TestInput();
        return;
    }
    if (!SilenceShown()) main_.LblInName->SetCaption("Testing input...");
}

void Playback::MMControl2_StopClick(bool& /*cancel*/) {
    main_.MMControl2->SetUpdateInterval(0);
}

bool Playback::InputTestRunning() const {
    return App::Get().g.TestOn && !main_.PictStIn->isHidden();
}

// ---- Silent output --------------------------------------------------------------------------

void Playback::SaySilentOutput(bool audible) {
    if (audible || silenceShownUntilMs_ != 0) return;
    silenceShownUntilMs_ = platform::qt::NowMs() + kSilenceShownMs;
    main_.LblInName->SetCaption(kSilentOutputText);
}

bool Playback::SilenceShown() const {
    return platform::qt::NowMs() < silenceShownUntilMs_ &&
           main_.LblInName->Caption() == kSilentOutputText;
}

}  // namespace corvane
