#include "engine_fixture.h"

#include <algorithm>

namespace composer {

ComposeSetup SongSetup(int measures, int numerator, const std::string& style) {
    ComposeSetup s;
    s.runCode = 70;
    s.header.numerator = numerator;
    s.header.timeCode = numerator == 6 ? 3 : numerator;
    s.header.timeSigName = numerator == 6 ? "6/8" : std::to_string(numerator) + "/4";
    for (int i = 0; i < kSlotCount; ++i) {
        s.options.styleNames[i] = style;
        s.slotSettings[i] = SlotSettingsFromName(style);
        s.slotParams[i].sectVol = 100;
    }
    s.options.echoLevel1 = 65;
    s.options.echoLevel2 = 78;
    for (int m = 0; m < measures; ++m) {
        MeasureRecord r;
        r.chord1 = m % 2 ? "F...." : "C....";
        r.chord2 = r.chord1;
        s.chords.measures.push_back(r);
    }
    s.chords.measures.back().chord1 = "C....";  // the key chord
    s.songPitchClasses = {60, 0, 62, 0, 64, 65, 0, 67, 0, 69, 0, 71};
    s.beatPattern.fill(1);
    return s;
}

bool Engine::Aborts(const std::function<void()>& f) {
    try {
        f();
    } catch (const worker::WorkerFatal&) {
        return true;
    }
    return false;
}

int CountEvents(const Composer& c, int status, int data1, int data2) {
    return static_cast<int>(
        std::count_if(c.pass.events.begin(), c.pass.events.end(), [&](const MeasureEvent& e) {
            return e.status == status && (data1 < 0 || e.data1 == data1) &&
                   (data2 < 0 || e.data2 == data2);
        }));
}

void StartTrackInSlotOne(Engine& e, int track, const std::vector<std::uint8_t>& style) {
    e.c.LoadStyle(1, style);
    e.c.LoadStyle(2, style);
    e.c.pass.trackNumber = track;
    e.c.SwStyData(1, track - 1);
    e.c.pass.channel = e.c.part.trackChannel[track - 1];
    e.c.SelectStyleSlot(1);
    e.c.ChoosePartGenerator();
}

void PreparePart(Composer& c, int mode, const std::vector<std::pair<int, std::int64_t>>& rowCells) {
    c.pass.trackNumber = 2;
    c.pass.channel = 2;
    c.part.trackChannelMode[1] = mode;
    c.play.playFromStart = true;
    for (int mode = 0; mode < kModeCount; ++mode) {
        for (const auto& [row, value] : rowCells) {
            for (StyleCell& cell : c.part.work->RowToFill(mode, row)) {
                if (cell.whole == 0) {
                    cell.whole = value;
                    break;
                }
            }
        }
    }
    c.ResetPartFlags();
}

}  // namespace composer
