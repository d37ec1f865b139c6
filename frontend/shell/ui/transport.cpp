// The transport of the main window: the Play, Pause and Stop commands of the skinned buttons
// (also the chord list editor's), the start of the output player, the beat LEDs that follow the
// playing position and the switch of the play signs' blinking; beside them the faces' way into
// the output and input tests and the seek buttons.
#include "frontend/app/app.h"
#include "frontend/core/playback_rules.h"
#include "frontend/core/ui/playback.h"
#include "frontend/shell/ui/frm_main.h"
#include "platform/qt/msg_box.h"

namespace corvane {
namespace {

using platform::qt::MsgBox;
using platform::qt::MsgIcon;

constexpr int kPlayingUpdateMs = 100;

}  // namespace

void FrmMain::CmdTestOut_Click() {
    playback().CmdTestOut_Click();
}

void FrmMain::TestInput() {
    playback().TestInput();
}

void FrmMain::GoSectionBegin() {
    playback().GoSectionBegin();
}

void FrmMain::GoSectionEnd() {
    playback().GoSectionEnd();
}

void FrmMain::TryToPlay() {
    if (!CanGatOut[0]->Enabled()) {
        MsgBox(QString("The Output MIDI Device is not opened.\n") +
                   (App::Get().g.TestOn ? "Click <Stop Testing Input>, " : "") +
                   "Click <Test Out>, then try again.",
               MsgIcon::kInformation);
        return;
    }
    if (CanGatOut[0]->Max() > 0) {
        bool cancel = false;
        playback().MMControl1_PlayClick(cancel);
    }
}

void FrmMain::TryToPause() {
    playback().LblPaus_ClickPr();
}

void FrmMain::TryToStop() {
    playback().LblStop_ClickPr();
    WipeVisualiser();
    if (MMControl2->DeviceID() != 0 && PictStIn->isEnabled()) playback().TestInput();
}

void FrmMain::PlayMCI1(std::int64_t startPos) {
    CoreGlobals& g = App::Get().g;
    platform::qt::MMControl& player = *MMControl1;
    if (player.DeviceID() == 0) {
        ResetRipple();
        MsgBox("The MIDI device is not opened.\nPlease click <3.Make Output> to try again.",
               MsgIcon::kCritical);
        LblInName->SetCaption("");
        PictPlay->show();
        PictPaus->hide();
        g.Playing = false;
        return;
    }
    // Always from the song's start first, then moved: a start at 0 plays once.
    player.SetUpdateInterval(0);
    player.SetFrom(0);
    player.Command("Play");
    SwOnPlLed();
    if (startPos > 0) {
        player.SetFrom(startPos);
        player.Command("Play");
        SwOnPlLed();
    }
    player.SetUpdateInterval(kPlayingUpdateMs);
    LblInName->SetCaption(QString::fromStdString(g.SongTitle));
    PictPlay->hide();
    PictPaus->show();
    g.Playing = true;
    playback().SaySilentOutput(player.Audible());
}

void FrmMain::ShowBeatLed(std::int64_t position) {
    const CoreGlobals& g = App::Get().g;
    const int beat = BeatLedAt(position, g.TicksPerBeatLed, g.BeatLedCount);
    if (beat < 0 || beat == LitBeatLed) return;
    SetBackColour(LblLed.at(static_cast<std::size_t>(LitBeatLed)), kLedOff);
    SetBackColour(LblLed.at(static_cast<std::size_t>(beat)),
                  BeatLedColours.at(static_cast<std::size_t>(beat)));
    LitBeatLed = beat;
}

void FrmMain::SwOfPlLed() {
    TimerOnLine->SetEnabled(false);
    ImgPlSign1->show();
    ImgPlSign0->hide();
    for (platform::qt::CaptionLabel* led : LblStyLeds) SetBackColour(led, kLedOff);
}

void FrmMain::SwOnPlLed() {
    TimerOnLine->SetEnabled(true);
}

}  // namespace corvane
