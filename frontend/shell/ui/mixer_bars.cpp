// The mixer bars as far as the skin painter and playback need them: their design ranges and the
// change handling that puts a thumb on its value's place (and keeps the master volume of the
// shown slot, the echo level labels and the bar labels in step). Dragging the thumbs and the
// rest of the bars' handling belong to the sliders, which complete these definitions.
#include "frontend/app/app.h"
#include "frontend/shell/ui/frm_main.h"

namespace corvane {

void FrmMain::InitMixerBars() {
    for (int i = 0; i < 5; ++i) CanGatVol[i]->SetMax(127);
    CanGatVol[5]->SetMax(100);
    CanGatVol[5]->SetMin(20);
    CanGatVol[5]->SetValue(80);
    // The position bars span one bar until an output is opened.
    for (int i = 0; i < 2; ++i) CanGatOut[i]->SetMax(1);
    for (int i = 0; i < 6; ++i) {
        QObject::connect(CanGatVol[i], &platform::qt::ValueBar::Change, this,
                         [this, i] { CanGatVol_Change(i); });
    }
    for (int i = 0; i < 2; ++i) {
        QObject::connect(CanGatEcho[i], &platform::qt::ValueBar::Change, this,
                         [this, i] { CanGatEcho_Change(i); });
        QObject::connect(CanGatOut[i], &platform::qt::ValueBar::Change, this,
                         [this, i] { CanGatOut_Change(i); });
    }
}

void FrmMain::CanGatVol_Change(int index) {
    const platform::qt::ValueBar& bar = *CanGatVol.at(index);
    shell::SkinThumb& thumb = *PictVols.at(index);
    thumb.SetLeft(shell::ThumbLeftForValue(thumb.Track, bar.Value(), bar.Min(), bar.Max()));
    styles::SlotTables& tables = App::Get().slotTables;
    if (index == 5) tables.SectVol.at(tables.CurSlot) = bar.Value();
}

void FrmMain::CanGatEcho_Change(int index) {
    const platform::qt::ValueBar& bar = *CanGatEcho.at(index);
    shell::SkinThumb& thumb = *PictEchs.at(index);
    thumb.SetLeft(shell::ThumbLeftForValue(thumb.Track, bar.Value(), bar.Min(), bar.Max()));
    LblBackLevel.at(index)->SetCaption(QString::number(9 - bar.Value()));
}

void FrmMain::CanGatOut_Change(int index) {
    const platform::qt::ValueBar& bar = *CanGatOut.at(index);
    const int v = bar.Value();
    if (index == 0) {
        if (!PosThumbPressed)
            PictHScr->SetLeft(shell::ThumbLeftForValue(PictHScr->Track, v, bar.Min(), bar.Max()));
        // Back at the song's start the visualiser starts clean.
        if (v == 0) WipeVisualiser();
        LblHa->SetCaption(v < bar.Max() ? QString::number(v + 1) : QString("End"));
        return;
    }
    if (v >= bar.Max()) {
        LblPlayFrom->SetCaption("End");
    } else if (v < LstHa->count()) {
        LstHa->setCurrentRow(v);
        LblPlayFrom->SetCaption(QString::number(v + 1));
    }
}

}  // namespace corvane
