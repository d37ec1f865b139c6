// The style panel's program and mode labels: the audition on a right press, the instrument
// list on another click, the play-mode dialog (or the drum part's toggle), the program tooltip.
#include "frontend/app/app.h"
#include "frontend/core/name_tables.h"
#include "frontend/core/ui/playback.h"
#include "frontend/core/vb_text.h"
#include "frontend/shell/ui/frm_main.h"
#include "frontend/styles/ui/frm_inst_list.h"
#include "frontend/styles/ui/frm_opt3.h"
#include "frontend/styles/ui/style_panel.h"

namespace corvane::styles {

void StylePanel::LblProgNum_MouseDown(int index, int button) {
    if (button != kRightButton) return;
    // One audition at a time: the timer's running is the guard.
    if (main_.TimerMidi->Enabled()) return;
    const long program = LeadingNumber(main_.LblProgNum.at(index)->Caption().toStdString());
    // 0 is the style's own instrument, which has no program to play.
    if (program <= 0) return;
    const SlotTables& tables = App::Get().slotTables;
    const int s = tables.CurSlot;
    AuditionRequest request;
    request.program = static_cast<int>(program);
    request.channel = tables.StyChannel(s, index);
    request.noteBase = tables.StyNoteBase(s, index);
    request.pan = tables.StyPan(s, index);
    request.volume = main_.CanGatVol.at(index)->Value();
    if (!StartAudition(audition_, request)) return;
    main_.playback().SaySilentOutput(platform::qt::MidiOutAudible());
    main_.TimerMidi->SetEnabled(true);
    main_.TimerMidi->SetInterval(kAuditionStepMs);
}

void StylePanel::TimerMidi_Timer() {
    if (!StepAudition(audition_)) {
        main_.TimerMidi->SetEnabled(false);
        main_.TimerMidi->SetInterval(0);
        StopAudition(audition_);
        return;
    }
    main_.TimerMidi->SetInterval(kAuditionStepMs);
}

void StylePanel::LblProgNum_MouseUp(int index, int button) {
    if (button == kRightButton) {
        // Every right release silences, also when no audition was started.
        main_.TimerMidi->SetEnabled(false);
        main_.TimerMidi->SetInterval(0);
        StopAudition(audition_);
        return;
    }
    App& app = App::Get();
    const SlotTables& tables = app.slotTables;
    const int s = tables.CurSlot;
    app.g.InstListPart = index + 1;
    app.g.InstListChannel = tables.StyChannel(s, index);
    app.g.ListIndexArg = tables.PartProgram(s, index);
    FrmInstList& list = app.frmInstList();
    list.ShowPicture(app.g.InstListChannel == kDrumChannel ? 1 : 0);
    list.show();
}

void StylePanel::AllNotesOff() {
    styles::AllNotesOff(audition_.handle);
}

void StylePanel::LblProgNum_Change(int index) {
    CaptionLabel& label = *main_.LblProgNum.at(index);
    const long n = LeadingNumber(label.Caption().toStdString());
    if (n < 1 || n > 128) {
        label.setToolTip(QString());
        return;
    }
    const SlotTables& tables = App::Get().slotTables;
    if (tables.StyChannel(tables.CurSlot, index) == kDrumChannel) {
        label.setToolTip(" Drum " + QString::fromStdString(DrumKitNames()[n]) + " ");
    } else {
        label.setToolTip(" Instrument " + QString::fromStdString(InstrumentNames()[n]) + " ");
    }
}

void StylePanel::LblInstM_MouseUp(int index, int /*button*/) {
    App& app = App::Get();
    SlotTables& tables = app.slotTables;
    const int s = tables.CurSlot;
    if (tables.StyChannel(s, index) == kDrumChannel) {
        // The drum part knows two modes; the label toggles them without a dialog.
        std::int16_t& mode = tables.PartMode(s, index);
        mode = mode == 0 ? 1 : 0;
        main_.LblInstM[index]->SetCaption(QString::number(mode));
        return;
    }
    FrmOpt3& dialog = app.frmOpt3();
    dialog.Tag = QString("%1,%2,%3")
                     .arg(tables.PartMode(s, index))
                     .arg(index)
                     .arg(main_.LineMode[index]->isHidden() ? 0 : 1);
    dialog.show();
}

}  // namespace corvane::styles
