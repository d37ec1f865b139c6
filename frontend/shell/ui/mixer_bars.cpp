// The mixer bars as far as the skin painter needs them: their design ranges and the change
// handling that puts a volume or echo thumb on its value's place (and keeps the master volume
// of the shown slot and the echo level labels in step). Dragging the thumbs and the rest of
// the bars' handling belong to the sliders, which complete these definitions.
#include "frontend/app/app.h"
#include "frontend/shell/ui/frm_main.h"

namespace corvane {

void FrmMain::InitMixerBars() {
    for (int i = 0; i < 5; ++i) CanGatVol[i]->SetMax(127);
    CanGatVol[5]->SetMax(100);
    CanGatVol[5]->SetMin(20);
    CanGatVol[5]->SetValue(80);
    for (int i = 0; i < 6; ++i) {
        QObject::connect(CanGatVol[i], &platform::qt::ValueBar::Change, this,
                         [this, i] { CanGatVol_Change(i); });
    }
    for (int i = 0; i < 2; ++i) {
        QObject::connect(CanGatEcho[i], &platform::qt::ValueBar::Change, this,
                         [this, i] { CanGatEcho_Change(i); });
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

}  // namespace corvane
