#include "workers/songloader/measure_writer.h"

#include <algorithm>
#include <array>
#include <vector>

#include "formats/key_table.h"

namespace songloader {
namespace {

using worker::CurNote;
using worker::kTicksPerQuarter;
using worker::QuantMode;

constexpr int kStepsPerMeasureWindow = 48;  // the quantised writer's end of a measure, every meter

bool TickMode(const SongState& state) {
    return state.quantMode == QuantMode::kTick;
}

int PositionForStats(const SongState& state, int start) {
    return TickMode(state) ? start * 8 / kTicksPerQuarter : start;
}

struct PickerWindow {
    int w;       // minimum weight
    int m;       // margin
    int h;       // half point
    int e;       // end of the second half
    int accept;  // weight a main note must reach
};

PickerWindow WindowFor(const SongState& state) {
    if (TickMode(state)) {
        const int w = kTicksPerQuarter / 4;
        return {w, 2 * w, SplitPoint(state), static_cast<int>(state.meter.ticksPerMeasure), w};
    }
    int h = 24;
    if (state.meter.beatsPerMeasure == 3) h = state.meter.tripleFlag == 1 ? 32 : 18;
    return {3, 6, h, kStepsPerMeasureWindow, 1};
}

}  // namespace

int SplitPoint(const SongState& state) {
    const auto& meter = state.meter;
    if (TickMode(state)) {
        return static_cast<int>(meter.tripleFlag == 1 ? meter.twoThirdsMeasure : meter.halfMeasure);
    }
    return meter.tripleFlag == 1 ? meter.quantSplitTriple : meter.quantSplit;
}

void SetNoteLengths(SongState& state) {
    const int s = SplitPoint(state);
    const bool tick = TickMode(state);
    auto& list = state.curNotes;
    for (int i = 0; i < list.count; ++i) {
        CurNote& n = list.entries[static_cast<std::size_t>(i)];
        int length = 0;
        if (n.start == -1) {
            length = n.end;
        } else if (n.end == -1) {
            length = tick ? static_cast<int>(state.meter.ticksPerMeasure) - n.start
                          : kStepsPerMeasureWindow - n.start;
            if (tick && n.start < s) length = std::min(length, s - n.start);
        } else {
            length = n.end - n.start;
            if (tick && n.start < s) length = std::min(length, s - n.start);
        }
        n.length = static_cast<std::int16_t>(std::max(length, 0));
    }
}

std::string NoteName(int note, int songKeySign) {
    const int pitchClass = worker::FoldToMiddleOctave(note) - 60;
    const auto& names = songKeySign < 0 ? formats::FlatNoteNames : formats::SharpNoteNames;
    return std::string(names[static_cast<std::size_t>(pitchClass)]);
}

MainNote PickHalfMeasureNote(const SongState& state, Half half) {
    const auto& list = state.curNotes;
    if (list.count == 0) return {};
    const PickerWindow win = WindowFor(state);
    const bool first = half == Half::kFirst;
    const int lo = first ? 0 : win.h - win.m;
    const int hi = first ? win.h + win.m : win.e;
    const auto entries = std::span(list.entries).first(static_cast<std::size_t>(list.count));

    int chosen = 0;
    int best = 0;
    // Onset pass: a note struck right at the start of the half.
    for (const CurNote& n : entries) {
        const bool inWindow =
            first ? (lo <= n.start && n.start < lo + 2) : (lo - 10 <= n.start && n.start < lo - 5);
        if (inWindow && n.length > best) {
            chosen = n.note;
            best = n.length;
        }
    }
    // End pass: a note that reaches into the half.
    if (chosen == 0 || best == 0) {
        best = 0;
        for (const CurNote& n : entries) {
            const bool inWindow = first ? n.end < hi - 8 : n.end > lo - 4;
            if (inWindow && n.length > best) {
                chosen = n.note;
                best = n.length;
            }
        }
    }
    // Sum pass: the note that sounds longest in the half, over all its strikes.
    if (state.quantMode != QuantMode::kQuantisedOneNote || best <= win.w) {
        std::vector<std::pair<int, int>> sums;  // note, summed length, in order of appearance
        for (const CurNote& n : entries) {
            const bool inWindow =
                first ? n.start <= hi - 8 : (lo - 8 <= n.start && n.start <= hi - 4);
            if (!inWindow) continue;
            auto found = std::find_if(sums.begin(), sums.end(),
                                      [&](const auto& s) { return s.first == n.note; });
            if (found == sums.end()) {
                sums.emplace_back(n.note, n.length);
            } else {
                found->second += n.length;
            }
        }
        int top = 0;
        int topNote = 0;
        for (const auto& [note, sum] : sums) {
            if (sum > top) {
                top = sum;
                topNote = note;
            }
        }
        if (top > win.w) {
            chosen = topNote;
            best = top;
        }
    }
    if (chosen != 0 && best >= win.accept)
        return {NoteName(chosen, state.songKeySign), chosen, best};
    return {};
}

void MeasureWriter::WriteMeasure(SongState& state) {
    auto& list = state.curNotes;
    SetNoteLengths(state);
    const int s = SplitPoint(state);

    std::vector<int> halves[2];
    std::array<bool, 12> pitchClasses{};
    for (int i = 0; i < list.count; ++i) {
        const CurNote& n = list.entries[static_cast<std::size_t>(i)];
        if (n.end - n.start > 1) {
            auto& target = halves[n.start < s ? 0 : 1];
            if (target.size() < kMaxHalfNotes) target.push_back(worker::FoldToMiddleOctave(n.note));
        }
        if (n.note > 0)
            pitchClasses[static_cast<std::size_t>(worker::FoldToMiddleOctave(n.note) - 60)] = true;
    }
    for (const auto& notes : halves) {
        if (notes.empty()) {
            notesDat_.Write("000;");
        } else {
            for (int note : notes) notesDat_.Printf("%03d;", note);
        }
        notesDat_.Write("\n");
    }

    MainNote picks[2] = {PickHalfMeasureNote(state, Half::kFirst),
                         PickHalfMeasureNote(state, Half::kSecond)};
    if (state.quantMode == QuantMode::kQuantisedOneNote) {
        if (picks[0].weight >= picks[1].weight) {
            picks[1] = picks[0];
        } else {
            picks[0] = picks[1];
        }
    }
    temps_.Printf("%s;%s\n", picks[0].name.c_str(), picks[1].name.c_str());

    int noteNumber[2] = {0, 0};
    int position[2] = {0, 0};
    int velocity[2] = {0, 0};
    for (int h = 0; h < 2; ++h) {
        if (picks[h].name.empty()) continue;
        noteNumber[h] = picks[h].note;
        for (int i = 0; i < list.count; ++i) {
            const CurNote& n = list.entries[static_cast<std::size_t>(i)];
            if (n.note == picks[h].note) {
                position[h] = PositionForStats(state, n.start);
                velocity[h] = n.velocity;
                break;
            }
        }
    }
    const int measureVelocity = !picks[1].name.empty()   ? velocity[1]
                                : !picks[0].name.empty() ? velocity[0]
                                                         : 0;
    const int distinct =
        static_cast<int>(std::count(pitchClasses.begin(), pitchClasses.end(), true));
    temps2_.Printf("%03d;%02d;%03d;%02d;%03d;%03d\n", noteNumber[0], position[0], noteNumber[1],
                   position[1], distinct, measureVelocity);
    ++measuresWritten_;
    for (const auto& pick : picks) {
        if (!pick.name.empty()) ++mainNoteCount_;
    }

    if (list.count > 0) {
        int latest = -1;
        int latestNote = list.entries[static_cast<std::size_t>(list.count - 1)].note;
        for (int i = 0; i < list.count; ++i) {
            const CurNote& n = list.entries[static_cast<std::size_t>(i)];
            if (n.start >= 0 && n.start >= latest) {
                latest = n.start;
                latestNote = n.note;
            }
        }
        lastNoteName_ = NoteName(latestNote, state.songKeySign);
    }
}

void MeasureWriter::WriteEmptyMeasure() {
    temps_.Write(";\n");
    temps2_.Printf("%03d;%02d;%03d;%02d;%03d;%03d\n", 0, 0, 0, 0, 0, 0);
    notesDat_.Write("000;\n000;\n");
}

worker::ReadStatus MeasureWriter::FlushMeasure(SongState& state, MeasureIndex newMeasure) {
    WriteMeasure(state);
    while (measuresWritten_ < newMeasure) {
        WriteEmptyMeasure();
        ++measuresWritten_;
    }
    worker::ResetMeasureNotes(state.curNotes);
    return worker::ReadStatus::Ok();
}

}  // namespace songloader
