// The note event core: every note, pedal and controller event of a composed track passes
// through here into the measure event buffer, with the note-on table, the sustain pedal, the
// one-note mode, the deferred note-offs and the two held-note lists.
#include <algorithm>

#include "workers/composer/composer.h"

namespace composer {

void Composer::AddMeasureEvent(int& evCount, int step, int tick, int status, int data1, int data2) {
    if (static_cast<int>(pass.events.size()) > evCount) pass.events.resize(evCount);
    AppendBounded(pass.events, kMaxMeasureEvents, {step, status, data1, data2, tick},
                  "Error: Out of event/measure buffer.");
    ++evCount;
}

void Composer::SwOn(int& evCount, int step, int tick, int note, int velocity) {
    if (note < 1 || note > 127 || velocity < 1 || velocity > 127) {
        log_.Printf(
            "SwOn() Error: invalid value(s) Ev=%d, OnVelo=%d, ChOnCode=%02X, MesuIdx=%d, "
            "InstCnt=%d,",
            note, velocity, NoteOnCode(), pass.curMeasure + 1, pass.trackNumber);
        AbortCompose(1);
    }
    if (pass.channel != kDrumChannel && !pass.onBff.empty() && pass.onBff.back().active &&
        pass.onBff.back().note == note)
        return;
    if (part.partIsDrumOrMode0 && pass.channel != kDrumChannel &&
        (part.pUseSust != 0 || part.partModeTens != 0)) {
        SustainOn(evCount, step, tick);
    }
    if (play.oneNoteMode) {
        if (part.styleFlagLate) ReleaseA3Notes(0, step, tick, evCount);
        std::vector<DeferredOff> offs;
        offs.swap(held.deferredOffs);
        for (const DeferredOff& d : offs) {
            if (d.note > 0) SwOff(evCount, step, tick, d.note, 0);
        }
        if (play.pendingNote > 0) SwOff(evCount, step, tick, play.pendingNote, 0);
        play.pendingNote = note;
    }
    AddMeasureEvent(evCount, step, tick, NoteOnCode(), note, velocity);
    ++pass.noteOnCount;
    play.idleCalls = 0;
    AppendBounded(pass.onBff, kOnBffSize, {note, true, pass.channel}, "Out of OnBff[][] buffer");
}

void Composer::SwOff(int& evCount, int step, int tick, int note, int velocity) {
    if (note < 1 || note > 127 || velocity < 0 || velocity > 127) {
        log_.Printf(
            "Sw-Off() Error: invalid value(s) Ev=%d, OffVelo=%d, ChOffCode=%02X, MesuIdx=%d\n",
            note, velocity, NoteOffCode(), pass.curMeasure + 1);
        pass.errorMark = true;
        return;
    }
    for (auto it = pass.onBff.rbegin(); it != pass.onBff.rend(); ++it) {
        if (it->active && it->note == note) {
            it->active = false;
            // The note ends on the channel it was started on.
            AddMeasureEvent(evCount, step, tick, 0x80 + it->channel, note, velocity);
            ++pass.noteOffCount;
            if (play.oneNoteMode) play.pendingNote = 0;
            if (play.sustainNotes > 2 * pass.channel + 8) SustainOff(evCount, step, tick, 0);
            return;
        }
    }
}

void Composer::SustainOn(int& evCount, int step, int tick) {
    if (play.oneNoteMode) SustainOff(evCount, step, tick, 0);
    if (!play.sustainDown) AddMeasureEvent(evCount, step, tick, ControlCode(), kCtlSustain, 127);
    ++play.sustainNotes;
    play.sustainDown = 1;
}

void Composer::SustainOff(int& evCount, int step, int tick, int force) {
    if (play.sustainDown || force) {
        AddMeasureEvent(evCount, step, tick, ControlCode(), kCtlSustain, 0);
        play.sustainNotes = 0;
        play.sustainDown = 0;
    }
}

namespace {

// The deferred list is bounded; a note that finds it full is switched off at once instead.
bool DeferOff(std::vector<DeferredOff>& list, int note, int measure) {
    if (static_cast<int>(list.size()) >= kMaxDeferredOffs) return false;
    list.push_back({note, measure});
    return true;
}

}  // namespace

void Composer::ReleaseAccompNotes(int defer, int step, int& evCount) {
    for (const AccompEntry& e : held.bngOnEvA0) {
        if (e.released == 0 && e.note >= 1 && e.note <= 127) {
            if (!(defer && DeferOff(held.deferredOffs, e.note, pass.curMeasure)))
                SwOff(evCount, step, 0, e.note, 0);
        }
    }
    held.bngOnEvA0.clear();
}

void Composer::ReleaseA3Notes(int defer, int step, int tick, int& evCount) {
    std::vector<HeldNote> taken;
    taken.swap(held.s3A3);
    for (const HeldNote& h : taken) {
        if (h.note < 1 || h.note > 127) continue;
        if (!(defer && DeferOff(held.deferredOffs, h.note, pass.curMeasure)))
            SwOff(evCount, step, tick, h.note, 0);
    }
}

void Composer::ReleaseDrumHeld(int step, int tick, int& evCount) {
    std::vector<HeldNote> taken;
    taken.swap(held.s3Dr3);
    for (const HeldNote& h : taken) {
        if (h.note > 0) SwOff(evCount, step, tick, h.note, 0);
    }
}

void Composer::AddDrumHeld(int note, int tick, int mode, int row, int column) {
    AppendBounded(held.s3Dr3, kMaxHeldNotes, {note, Cell(mode, row, column).extra, 0, tick, 0},
                  "Error: Out of S3OnEvsDr3[] buffer.");
}

void Composer::AddA3Held(int note, int tick, int mode, int row, int column, int velocity) {
    AppendBounded(held.s3A3, kMaxHeldNotes,
                  {note, Cell(mode, row, column).extra, 0, tick, velocity},
                  "Error: Out of S3OnEvsA3[] buffer.");
}

namespace {

template <typename Off>
void AgeList(std::vector<HeldNote>& list, Off off) {
    for (HeldNote& h : list) {
        if (h.note == 0) continue;
        bool expired = false;
        if (h.age > 98)
            expired = true;
        else
            ++h.age;
        if (h.age + 1 >= h.length || expired) {
            off(h.note);
            h.note = 0;
        }
    }
    list.erase(
        std::remove_if(list.begin(), list.end(), [](const HeldNote& h) { return h.note == 0; }),
        list.end());
}

}  // namespace

void Composer::AgeDrumHeld(int step, int& evCount) {
    AgeList(held.s3Dr3, [&](int note) { SwOff(evCount, step, 0, note, 0); });
}

void Composer::AgeA3Held(int step, int& evCount) {
    const bool had = !held.s3A3.empty();
    AgeList(held.s3A3, [&](int note) { SwOff(evCount, step, 0, note, 0); });
    if (had && held.s3A3.empty() && part.partModeTens == 0) SustainOff(evCount, step, 0, 0);
}

void Composer::ReleaseA3Note(int step, int& evCount, int note) {
    for (HeldNote& h : held.s3A3) {
        if (h.note == note) {
            SwOff(evCount, step, 0, note, 0);
            h.note = 0;
        }
    }
    held.s3A3.erase(std::remove_if(held.s3A3.begin(), held.s3A3.end(),
                                   [](const HeldNote& h) { return h.note == 0; }),
                    held.s3A3.end());
}

}  // namespace composer
