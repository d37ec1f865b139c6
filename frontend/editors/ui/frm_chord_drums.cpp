// The automatic drum fills: four buttons that rebuild the grid and the main window's bar list
// from the line list with every measure's drum code rewritten, and their lamps.
#include "frontend/app/app.h"
#include "frontend/editors/ui/frm_chord.h"
#include "frontend/shell/ui/frm_main.h"

namespace corvane::editors {
namespace {

void SetLamp(platform::qt::CaptionLabel* lamp, Colour colour) {
    lamp->setProperty("BackColor", static_cast<uint>(colour));
    lamp->setStyleSheet("background-color: " + platform::qt::ColourOf(colour).name());
}

}  // namespace

void FrmChord::SetDrumLamps(DrumMode mode) {
    DrumModeOn.fill(false);
    for (platform::qt::CaptionLabel* lamp : LblDrMode) SetLamp(lamp, kLampOff);
    const auto on = static_cast<std::size_t>(mode);
    SetLamp(LblDrMode.at(on), kLampOn);
    DrumModeOn[on] = true;
}

void FrmChord::SwitchDrumMode(DrumMode mode) {
    if (DrumModeOn.at(static_cast<std::size_t>(mode))) return;
    SetDrumLamps(mode);
    if (LstTemp->count() == 0) return;

    App& app = App::Get();
    CoreGlobals& g = app.g;
    QListWidget& bars = *app.frmMain().LstHa;
    bars.clear();
    app.frmMain().SetBarListColour(kBarListIdle);
    g.ChordListBusy = true;
    ClearMsData();
    std::vector<std::string> lines;
    for (int i = 0; i < LstTemp->count(); ++i)
        lines.push_back(LstTemp->item(i)->text().toLatin1().toStdString());
    const std::vector<std::string> rewritten = ApplyDrumMode(mode, lines);
    MSFlexGrid1->SetRows(static_cast<int>(rewritten.size()) + 1);
    for (std::size_t i = 0; i < rewritten.size(); ++i) {
        const int index = static_cast<int>(i);
        FillRow(index + 1, SplitChordListLine(rewritten[i], index));
        bars.addItem(QString::fromLatin1(rewritten[i].substr(0, kBarListWidth).c_str()));
    }
    MSFlexGrid1->SetCurrentCell(1, kColMsNo);
    g.ChordListBusy = false;
    bars.setCurrentRow(0);
    MarkEdited();
}

}  // namespace corvane::editors
