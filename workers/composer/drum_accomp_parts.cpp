// The drum parts and the accompaniment chord parts: style rows turned into hits and chord notes
// for one half measure, with the shared velocity factor, the entry and stop rules and the
// deferred note-offs of a section change.
#include <algorithm>
#include <cstdlib>

#include "workers/composer/composer.h"
#include "workers/composer/part_math.h"

namespace composer {

namespace {

constexpr int kMarkerNote = 56;
constexpr int kMarkerVelocity = 5;
constexpr float kAccompFactorStep = 0.05f;

}  // namespace

void Loudness::FollowMelody(bool melodyRests, float step) {
    if (melodyRests) {
        if (accompVelFactor < 1.0f) accompVelFactor += step;
        if (accompVelFactor > 1.0f) accompVelFactor = 1.0f;
    } else if (accompVelFactor > 0.85f) {
        accompVelFactor -= step;
    }
    baseVel = Clamp127(static_cast<int>(static_cast<float>(partVelocity) * accompVelFactor));
}

void Composer::UpdateVelocityFactor(float step) {
    const MeasureStat& st = Stat(pass.curMeasure);
    const int stored = setup_.chords.measures[pass.curMeasure].instCode;
    loudness.FollowMelody(stored != 0 && stored != 5 && st.mainNote1 <= 0 && st.mainNote2 <= 0,
                          step);
}

int Composer::DrumAccent(int note) {
    switch (note) {
        case 35:
        case 36:
            return 20;
        case 38:
        case 40:
        case 41:
        case 43:
        case 45:
        case 47:
        case 48:
        case 50:
            return 10;
        case 52:
            return 15;
        default:
            return 0;
    }
}

int Composer::DrumSectionEnd(int step, int evCount) {
    for (const DrumHit& hit : held.drum0Evs) {
        if (!hit.released) SwOff(evCount, step, 0, hit.note, 0);
    }
    held.drum0Evs.clear();
    return evCount;
}

namespace {

bool StopMeasure(const MeasureStat& st) {
    return (st.mainNote1 > 0 || st.mainNote2 > 0) && !(st.position1 < 0 && st.position2 < 0);
}

}  // namespace

int Composer::DrumPart(int drumCode, const std::string& /*chord*/, int beg, int end, int ev) {
    UpdateVelocityFactor(kAccompFactorStep);
    const int mode = GetInst31Mode(drumCode, beg, 1);
    if (play.silenced && (((drumCode == 2 || drumCode == 7) && beg > 0) || play.playFromStart)) {
        play.silenced = false;
        play.mayStop = true;
    }
    SwOn(ev, beg, 0, kMarkerNote, kMarkerVelocity);
    SwOff(ev, beg, 0, kMarkerNote, 0);
    if (play.silenced) return ev;
    if (beg == 0) ev = DrumSectionEnd(0, ev);
    for (int s = beg; s < end; ++s) {
        const auto& cells = CellRow(mode, s);
        for (int col = 0; col < kColumnCount; ++col) {
            const std::int32_t h = Low32(cells[col].whole);
            if (h > 0) {
                const int note = h % 1000 + part.partStyleValue;
                const int cellVel = h / 1000;
                int vel = Clamp127(loudness.baseVel + s * VelHsOf(mode) / 2 + DrumAccent(note));
                vel = ScaleByCellVelocity(vel, cellVel);
                SwOn(ev, s, 0, note, vel);
                AppendBounded(held.drum0Evs, kMaxDrum0Evs, {note, false},
                              "Error: Out of Drum0Evs[] buffers.");
            } else if (h < 0) {
                const int note =
                    static_cast<int>(-static_cast<std::int64_t>(h) % 1000) + part.partStyleValue;
                SwOff(ev, s, 0, note, 0);
                for (DrumHit& hit : held.drum0Evs) {
                    if (hit.note == note && !hit.released) {
                        hit.released = true;
                        break;
                    }
                }
            }
        }
    }
    if (!play.stoppedOnce && drumCode == 6 && StopMeasure(Stat(pass.curMeasure)) && play.mayStop) {
        play.silenced = true;
        play.stoppedOnce = true;
    }
    return ev;
}

int Composer::DrumPartAlt(int drumCode, const std::string& /*chord*/, int beg, int end, int ev) {
    UpdateVelocityFactor(kAccompFactorStep);
    const int mode = GetInst31Mode(drumCode, beg, 1);
    if (play.silenced && (((drumCode == 2 || drumCode == 7) && beg > 0) || play.playFromStart)) {
        play.silenced = false;
        play.mayStop = true;
    }
    SwOn(ev, beg, 0, kMarkerNote, kMarkerVelocity);
    SwOff(ev, beg, 0, kMarkerNote, 0);
    if (play.silenced) return ev;
    const auto& measures = setup_.chords.measures;
    const bool pauseNext = pass.curMeasure + 1 < static_cast<int>(measures.size()) &&
                           measures[pass.curMeasure + 1].drumCode == 9;
    for (int s = beg; s < end; ++s) {
        AgeDrumHeld(s, ev);
        if (pauseNext && s != 0) continue;
        const auto& cells = CellRow(mode, s);
        for (int col = 0; col < kColumnCount; ++col) {
            const std::int64_t v = cells[col].whole;
            if (v <= 0) continue;
            const int note = CellNote(v) + part.partStyleValue;
            int vel = Clamp127(loudness.baseVel + s * VelHsOf(mode) / 2 + DrumAccent(note));
            vel = ScaleByCellVelocity(vel, CellVelocity(v));
            const int offset = static_cast<int>(std::min<std::int64_t>(v / 1000000, 1 << 20));
            SwOn(ev, s, offset, note, vel);
            AddDrumHeld(note, offset, mode, s, col);
        }
    }
    if (!play.stoppedOnce && drumCode == 6 && StopMeasure(Stat(pass.curMeasure)) && play.mayStop) {
        play.silenced = true;
        play.stoppedOnce = true;
    }
    return ev;
}

int Composer::DrumEnding(const std::string& /*chord*/, int beg, int end, int ev) {
    if (part.styleFlagLate) ReleaseDrumHeld(beg, 0, ev);
    const int mode = GetInst31Mode(1, beg, 1);
    const int v1 = std::max(1, loudness.partVelocity - 10);
    const int v2 = std::max(1, loudness.partVelocity - 20);
    int d = end - beg;
    if (d <= 0) d = 2;
    std::vector<int> notes;
    for (int col = 0; col < kColumnCount; ++col) {
        const std::int64_t v = Cell(mode, beg, col).whole;
        if (v > 0) notes.push_back(CellNote(v) + part.partStyleValue);
    }
    for (int note : notes) SwOn(ev, beg, 0, note, v1);
    for (int note : notes) SwOff(ev, end - 1, grid.maxTickOffset, note, 0);
    for (int note : notes) SwOn(ev, beg + d, 0, note, v2);
    for (int note : notes) SwOff(ev, end + d, 0, note, 0);
    return ev;
}

void Composer::DeferredOffsAtChord(const std::string& chord, int beg, int& ev) {
    bool allDone = true;
    for (DeferredOff& d : held.deferredOffs) {
        if (d.note <= 0) continue;
        const int c = NearestChordTone(chord, d.note, beg);
        if ((d.note - c) % 12 != 0 || pass.curMeasure - d.measure > 2) {
            SwOff(ev, beg, 0, d.note, 0);
            d.note = 0;
        } else {
            allDone = false;
        }
    }
    if (allDone) held.deferredOffs.clear();
}

// Notes whose switch-off was put off end here unless they are still a tone of the new chord
// (and not older than two measures).
void Composer::DeferredOffsOffChord(const std::string& chord, int beg, int& ev) {
    bool allDone = true;
    for (DeferredOff& d : held.deferredOffs) {
        if (d.note <= 0) continue;
        if (d.note != NearestChordTone(chord, d.note, beg) || pass.curMeasure - d.measure > 2) {
            SwOff(ev, beg, 0, d.note, 0);
            d.note = 0;
        } else {
            allDone = false;
        }
    }
    if (allDone) held.deferredOffs.clear();
}

// A busy half (more than eight cells) or a part that has been called often lifts the pedal.
void Composer::ReleaseSustainWhenBusy(int mode, int beg, int end, int& ev) {
    int cells = 0;
    for (int s = beg; s < end; ++s) {
        for (const StyleCell& cell : CellRow(mode, s)) cells += cell.whole > 0 ? 1 : 0;
    }
    if (cells > 8 || play.idleCalls > 5) SustainOff(ev, beg, 0, 0);
}

// What both accompaniment chord parts do first: take the half's mode, let a silenced part in
// again at a break, a fill or from the start, and build the chord's scale. Returns the mode.
int Composer::BeginAccompHalf(int drumCode, int instCode, const std::string& chord, int beg) {
    ++play.idleCalls;
    const int mode = GetInst31Mode(instCode, beg, 0);
    UpdateVelocityFactor(kAccompFactorStep);
    if (play.silenced && (drumCode == 2 || drumCode == 3 || drumCode == 7 || play.playFromStart)) {
        play.silenced = false;
        play.mayStop = true;
    }
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    BuildChordScale(r, chord);
    ApplyMayOnToScale(r, chord, beg);
    return mode;
}

int Composer::MakeAccompPart(int drumCode, int instCode, const std::string& chord, int beg, int end,
                             int ev) {
    const int mode = BeginAccompHalf(drumCode, instCode, chord, beg);
    const bool changed = chord != pass.genPrevChord;
    if (changed) {
        for (const AccompEntry& e : held.bngOnEvA0) {
            if (e.released || e.note <= 0) continue;
            if (e.note != NearestChordTone(chord, e.note, beg)) {
                SustainOff(ev, beg, 0, 0);
                break;
            }
        }
    }
    DeferredOffsOffChord(chord, beg, ev);
    if (!play.silenced) {
        if (part.pUseSust) ReleaseSustainWhenBusy(mode, beg, end, ev);
        if (changed || beg == 0) {
            if (beg > 0) {
                const int sounding = static_cast<int>(held.bngOnEvA0.size());
                for (AccompEntry& e : held.bngOnEvA0) {
                    if (e.released || e.note <= 0) continue;
                    SwOff(ev, beg, 0, e.note, 0);
                    const int note = PlaceOnValue(
                        0, scales.chordScale[e.degree] + part.partStyleValue + e.octave,
                        sounding + 1, part.partStyleValue, e.octave);
                    SwOn(ev, beg, 0, note, std::clamp(e.velocity, 20, 127));
                    e.note = note;
                }
            } else {
                for (const AccompEntry& e : held.bngOnEvA0) {
                    if (!e.released && e.note > 0) SwOff(ev, beg, 0, e.note, 0);
                }
                held.bngOnEvA0.clear();
            }
        }
        for (int s = beg; s < end; ++s) {
            AgeA3Held(s, ev);
            int n = 0;
            const auto& cells = CellRow(mode, s);
            for (const StyleCell& cell : cells) n += cell.whole > 0 ? 1 : 0;
            int stepVel = n <= 1 ? loudness.baseVel : loudness.baseVel - 7 * (n - 1);
            if (stepVel < loudness.baseVel * 4 / 5 || stepVel <= 0)
                stepVel = loudness.baseVel * 4 / 5;
            std::vector<int> started;
            for (int col = 0; col < kColumnCount; ++col) {
                const std::int64_t v = cells[col].whole;
                if (v == 0) continue;
                int degree = 0, octave = 0, shift = 0;
                SplitDegree(CellNote(v < 0 ? -v : v), degree, octave);
                if (degree == 0) continue;
                degree = ChordStepValue(beg, chord, degree, shift);
                octave += shift;
                if (v > 0) {
                    const int note =
                        PlaceOnValue(0, scales.chordScale[degree] + part.partStyleValue + octave,
                                     n + 1, part.partStyleValue, octave);
                    int vel = Clamp127(stepVel + s * VelHsOf(mode) / 2);
                    vel = ScaleByCellVelocity(vel, CellVelocity(v));
                    if (std::find(started.begin(), started.end(), note) != started.end()) continue;
                    started.push_back(note);
                    SwOn(ev, s, 0, note, vel);
                    AppendBounded(held.bngOnEvA0, kMaxAccompNotes, {note, 0, degree, octave, vel},
                                  "Error: Out of BngOnEvA0 buffer.");
                } else {
                    for (AccompEntry& e : held.bngOnEvA0) {
                        if (!e.released && e.degree == degree && e.octave == octave) {
                            e.released = 1;
                            SwOff(ev, s, 0, e.note, 0);
                            break;
                        }
                    }
                }
            }
        }
        if (!play.stoppedOnce && drumCode == 6 && play.mayStop) {
            const MeasureStat& st = Stat(pass.curMeasure);
            if ((st.mainNote1 > 0 || st.mainNote2 > 0) &&
                (st.position1 >= 0 || st.position2 >= 0)) {
                play.silenced = true;
                play.stoppedOnce = true;
            }
        }
    }
    pass.genPrevChord = chord;
    return ev;
}

int Composer::MakeAccompPartAlt(int variant, int drumCode, int instCode, const std::string& chord,
                                int beg, int end, int ev) {
    const int mode = BeginAccompHalf(drumCode, instCode, chord, beg);
    const int half = HalfIndex(beg);
    const bool changed = chord != pass.genPrevChord;
    if (changed) {
        const bool placement = part.trackTensFlag[pass.trackNumber - 1] != 0;
        // By index and on a copy: in one-note mode the note-on below ends and empties the list.
        for (std::size_t i = 0; i < held.s3A3.size(); ++i) {
            HeldNote h = held.s3A3[i];
            if (h.note <= 0) continue;
            const int c = NearestChordTone(chord, h.note, beg);
            const bool strange = h.note != c && IsNotMayOn(h.note, chord, half, 1) == 1;
            if (placement) {
                SwOff(ev, beg, 0, h.note, 0);
                if (strange) SustainOff(ev, beg, 0, 0);
                SwOn(ev, beg, 0, c, std::max(1, h.velocity));
                h.note = c;
                if (i >= held.s3A3.size()) {
                    // The one-note rule ended every held note and emptied the list, which ends
                    // the walk: the new note is held only as the pending note, which the next
                    // note-on ends.
                    play.loneNoteEntry = pass.onBff.size() - 1;
                    break;
                }
                held.s3A3[i] = h;
            } else if (strange) {
                SwOff(ev, beg, 0, h.note, 0);
                SustainOff(ev, beg, 0, 0);
                held.s3A3[i].note = 0;
            }
        }
        held.s3A3.erase(std::remove_if(held.s3A3.begin(), held.s3A3.end(),
                                       [](const HeldNote& h) { return h.note == 0; }),
                        held.s3A3.end());
    }
    DeferredOffsOffChord(chord, beg, ev);
    if (!play.silenced) {
        if (part.pUseSust) ReleaseSustainWhenBusy(mode, beg, end, ev);
        const auto& measures = setup_.chords.measures;
        const bool pauseNext = variant == 2 &&
                               pass.curMeasure + 1 < static_cast<int>(measures.size()) &&
                               measures[pass.curMeasure + 1].instCode == 9;
        const bool fitting = part.styleFlagNew || part.styleFlagLate;
        const int halfNo = beg > 0 ? 1 : 0;
        for (int s = beg; s < end; ++s) {
            AgeA3Held(s, ev);
            if (pauseNext && s != beg) continue;
            int n = 0;
            const auto& cells = CellRow(mode, s);
            for (const StyleCell& cell : cells) {
                const std::int64_t v = cell.whole;
                n += v > 0 && v / 1000000 == 0 && v % 1000000 > 0 ? 1 : 0;
            }
            int stepVel = n <= 1 ? loudness.baseVel : loudness.baseVel - 7 * (n - 1);
            if (stepVel < loudness.baseVel * 4 / 5 || stepVel <= 0)
                stepVel = loudness.baseVel * 4 / 5;
            std::vector<std::pair<int, int>> started;
            for (int col = 0; col < kColumnCount; ++col) {
                const std::int64_t v = cells[col].whole;
                if (v <= 0 || CellNote(v) == 0) continue;
                int note = 0;
                if (variant == 1) {
                    note = CellNote(v) + songKeyNote_ - 60;
                    while (note > 127) note -= 12;
                    while (note < 1) note += 12;
                    note = NearestChordTone(chord, note, beg);
                    if (fitting) {
                        const int f = FitNoteRegister(note, part.partStyleValue, 0, halfNo, halfNo);
                        if (f > 0) note = f;
                    }
                } else {
                    int degree = 0, octave = 0, shift = 0;
                    SplitDegree(CellNote(v), degree, octave);
                    degree = ChordStepValue(beg, chord, degree, shift);
                    octave += shift;
                    const int raw = scales.chordScale[degree] + part.partStyleValue + octave;
                    const int f =
                        fitting ? FitNoteRegister(raw, part.partStyleValue, octave, halfNo, halfNo)
                                : 0;
                    note = f > 0 ? f : PlaceOnValue(0, raw, n + 1, part.partStyleValue, octave);
                }
                int vel = Clamp127(stepVel + s * VelHsOf(mode) / 2);
                vel = ScaleByCellVelocity(vel, CellVelocity(v));
                const int offset = static_cast<int>(std::min<std::int64_t>(v / 1000000, 1 << 20));
                if (std::find(started.begin(), started.end(), std::make_pair(note, offset)) !=
                    started.end())
                    continue;
                started.emplace_back(note, offset);
                ReleaseA3Note(s, ev, note);
                SwOn(ev, s, offset, note, vel);
                AddA3Held(note, offset, mode, s, col, vel);
            }
        }
        if (!play.stoppedOnce && drumCode == 6 && play.mayStop) {
            const MeasureStat& st = Stat(pass.curMeasure);
            if ((st.mainNote1 > 0 || st.mainNote2 > 0) &&
                (st.position1 >= 0 || st.position2 >= 0)) {
                play.silenced = true;
                play.stoppedOnce = true;
            }
        }
    }
    pass.genPrevChord = chord;
    return ev;
}

}  // namespace composer
