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

void Composer::UpdateVelocityFactor(float step) {
    const MeasureStat& st = Stat(curMeasure);
    const int stored = setup_.chords.measures[curMeasure].instCode;
    if (stored != 0 && stored != 5 && st.mainNote1 <= 0 && st.mainNote2 <= 0) {
        if (accompVelFactor < 1.0f) accompVelFactor += step;
        if (accompVelFactor > 1.0f) accompVelFactor = 1.0f;
    } else if (accompVelFactor > 0.85f) {
        accompVelFactor -= step;
    }
    baseVel = Clamp127(static_cast<int>(static_cast<float>(partVelocity) * accompVelFactor));
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
    for (const DrumHit& hit : drum0Evs) {
        if (!hit.released) SwOff(evCount, step, 0, hit.note, 0);
    }
    drum0Evs.clear();
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
    if (silenced && (((drumCode == 2 || drumCode == 7) && beg > 0) || playFromStart)) {
        silenced = false;
        mayStop = true;
    }
    SwOn(ev, beg, 0, kMarkerNote, kMarkerVelocity);
    SwOff(ev, beg, 0, kMarkerNote, 0);
    if (silenced) return ev;
    if (beg == 0) ev = DrumSectionEnd(0, ev);
    for (int s = beg; s < end; ++s) {
        for (int col = 0; col < kColumnCount; ++col) {
            const std::int32_t h = Low32(Cell(mode, s, col).whole);
            if (h > 0) {
                const int note = h % 1000 + partStyleValue;
                const int cellVel = h / 1000;
                int vel = Clamp127(baseVel + s * VelHsOf(mode) / 2 + DrumAccent(note));
                vel = ScaleByCellVelocity(vel, cellVel);
                SwOn(ev, s, 0, note, vel);
                AppendBounded(drum0Evs, kMaxDrum0Evs, {note, false},
                              "Error: Out of Drum0Evs[] buffers.");
            } else if (h < 0) {
                const int note =
                    static_cast<int>(-static_cast<std::int64_t>(h) % 1000) + partStyleValue;
                SwOff(ev, s, 0, note, 0);
                for (DrumHit& hit : drum0Evs) {
                    if (hit.note == note && !hit.released) {
                        hit.released = true;
                        break;
                    }
                }
            }
        }
    }
    if (!stoppedOnce && drumCode == 6 && StopMeasure(Stat(curMeasure)) && mayStop) {
        silenced = true;
        stoppedOnce = true;
    }
    return ev;
}

int Composer::DrumPartAlt(int drumCode, const std::string& /*chord*/, int beg, int end, int ev) {
    UpdateVelocityFactor(kAccompFactorStep);
    const int mode = GetInst31Mode(drumCode, beg, 1);
    if (silenced && (((drumCode == 2 || drumCode == 7) && beg > 0) || playFromStart)) {
        silenced = false;
        mayStop = true;
    }
    SwOn(ev, beg, 0, kMarkerNote, kMarkerVelocity);
    SwOff(ev, beg, 0, kMarkerNote, 0);
    if (silenced) return ev;
    const auto& measures = setup_.chords.measures;
    const bool pauseNext = curMeasure + 1 < static_cast<int>(measures.size()) &&
                           measures[curMeasure + 1].drumCode == 9;
    for (int s = beg; s < end; ++s) {
        AgeDrumHeld(s, ev);
        if (pauseNext && s != 0) continue;
        for (int col = 0; col < kColumnCount; ++col) {
            const std::int64_t v = Cell(mode, s, col).whole;
            if (v <= 0) continue;
            const int note = CellNote(v) + partStyleValue;
            int vel = Clamp127(baseVel + s * VelHsOf(mode) / 2 + DrumAccent(note));
            vel = ScaleByCellVelocity(vel, CellVelocity(v));
            const int offset = static_cast<int>(std::min<std::int64_t>(v / 1000000, 1 << 20));
            SwOn(ev, s, offset, note, vel);
            AddDrumHeld(note, offset, mode, s, col);
        }
    }
    if (!stoppedOnce && drumCode == 6 && StopMeasure(Stat(curMeasure)) && mayStop) {
        silenced = true;
        stoppedOnce = true;
    }
    return ev;
}

int Composer::DrumEnding(const std::string& /*chord*/, int beg, int end, int ev) {
    if (styleFlagLate) ReleaseDrumHeld(beg, 0, ev);
    const int mode = GetInst31Mode(1, beg, 1);
    const int v1 = std::max(1, partVelocity - 10);
    const int v2 = std::max(1, partVelocity - 20);
    int d = end - beg;
    if (d <= 0) d = 2;
    std::vector<int> notes;
    for (int col = 0; col < kColumnCount; ++col) {
        const std::int64_t v = Cell(mode, beg, col).whole;
        if (v > 0) notes.push_back(CellNote(v) + partStyleValue);
    }
    for (int note : notes) SwOn(ev, beg, 0, note, v1);
    for (int note : notes) SwOff(ev, end - 1, maxTickOffset, note, 0);
    for (int note : notes) SwOn(ev, beg + d, 0, note, v2);
    for (int note : notes) SwOff(ev, end + d, 0, note, 0);
    return ev;
}

void Composer::DeferredOffsAtChord(const std::string& chord, int beg, int& ev) {
    bool allDone = true;
    for (DeferredOff& d : deferredOffs) {
        if (d.note <= 0) continue;
        const int c = NearestChordTone(chord, d.note, beg);
        if ((d.note - c) % 12 != 0 || curMeasure - d.measure > 2) {
            SwOff(ev, beg, 0, d.note, 0);
            d.note = 0;
        } else {
            allDone = false;
        }
    }
    if (allDone) deferredOffs.clear();
}

// Notes whose switch-off was put off end here unless they are still a tone of the new chord
// (and not older than two measures).
void Composer::DeferredOffsOffChord(const std::string& chord, int beg, int& ev) {
    bool allDone = true;
    for (DeferredOff& d : deferredOffs) {
        if (d.note <= 0) continue;
        if (d.note != NearestChordTone(chord, d.note, beg) || curMeasure - d.measure > 2) {
            SwOff(ev, beg, 0, d.note, 0);
            d.note = 0;
        } else {
            allDone = false;
        }
    }
    if (allDone) deferredOffs.clear();
}

// A busy half (more than eight cells) or a part that has been called often lifts the pedal.
void Composer::ReleaseSustainWhenBusy(int mode, int beg, int end, int& ev) {
    int cells = 0;
    for (int s = beg; s < end; ++s) {
        for (int col = 0; col < kColumnCount; ++col) cells += Cell(mode, s, col).whole > 0 ? 1 : 0;
    }
    if (cells > 8 || idleCalls > 5) SustainOff(ev, beg, 0, 0);
}

// What both accompaniment chord parts do first: take the half's mode, let a silenced part in
// again at a break, a fill or from the start, and build the chord's scale. Returns the mode.
int Composer::BeginAccompHalf(int drumCode, int instCode, const std::string& chord, int beg) {
    ++idleCalls;
    const int mode = GetInst31Mode(instCode, beg, 0);
    UpdateVelocityFactor(kAccompFactorStep);
    if (silenced && (drumCode == 2 || drumCode == 3 || drumCode == 7 || playFromStart)) {
        silenced = false;
        mayStop = true;
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
    const bool changed = chord != genPrevChord;
    if (changed) {
        for (const AccompEntry& e : bngOnEvA0) {
            if (e.released || e.note <= 0) continue;
            if (e.note != NearestChordTone(chord, e.note, beg)) {
                SustainOff(ev, beg, 0, 0);
                break;
            }
        }
    }
    DeferredOffsOffChord(chord, beg, ev);
    if (!silenced) {
        if (pUseSust) ReleaseSustainWhenBusy(mode, beg, end, ev);
        if (changed || beg == 0) {
            if (beg > 0) {
                const int held = static_cast<int>(bngOnEvA0.size());
                for (AccompEntry& e : bngOnEvA0) {
                    if (e.released || e.note <= 0) continue;
                    SwOff(ev, beg, 0, e.note, 0);
                    const int note =
                        PlaceOnValue(0, chordScale[e.degree] + partStyleValue + e.octave, held + 1,
                                     partStyleValue, e.octave);
                    SwOn(ev, beg, 0, note, std::clamp(e.velocity, 20, 127));
                    e.note = note;
                }
            } else {
                for (const AccompEntry& e : bngOnEvA0) {
                    if (!e.released && e.note > 0) SwOff(ev, beg, 0, e.note, 0);
                }
                bngOnEvA0.clear();
            }
        }
        for (int s = beg; s < end; ++s) {
            AgeA3Held(s, ev);
            int n = 0;
            for (int col = 0; col < kColumnCount; ++col) n += Cell(mode, s, col).whole > 0 ? 1 : 0;
            int stepVel = n <= 1 ? baseVel : baseVel - 7 * (n - 1);
            if (stepVel < baseVel * 4 / 5 || stepVel <= 0) stepVel = baseVel * 4 / 5;
            std::vector<int> started;
            for (int col = 0; col < kColumnCount; ++col) {
                const std::int64_t v = Cell(mode, s, col).whole;
                if (v == 0) continue;
                int degree = 0, octave = 0, shift = 0;
                SplitDegree(CellNote(v < 0 ? -v : v), degree, octave);
                if (degree == 0) continue;
                degree = ChordStepValue(beg, chord, degree, shift);
                octave += shift;
                if (v > 0) {
                    const int note = PlaceOnValue(0, chordScale[degree] + partStyleValue + octave,
                                                  n + 1, partStyleValue, octave);
                    int vel = Clamp127(stepVel + s * VelHsOf(mode) / 2);
                    vel = ScaleByCellVelocity(vel, CellVelocity(v));
                    if (std::find(started.begin(), started.end(), note) != started.end()) continue;
                    started.push_back(note);
                    SwOn(ev, s, 0, note, vel);
                    AppendBounded(bngOnEvA0, kMaxAccompNotes, {note, 0, degree, octave, vel},
                                  "Error: Out of BngOnEvA0 buffer.");
                } else {
                    for (AccompEntry& e : bngOnEvA0) {
                        if (!e.released && e.degree == degree && e.octave == octave) {
                            e.released = 1;
                            SwOff(ev, s, 0, e.note, 0);
                            break;
                        }
                    }
                }
            }
        }
        if (!stoppedOnce && drumCode == 6 && mayStop) {
            const MeasureStat& st = Stat(curMeasure);
            if ((st.mainNote1 > 0 || st.mainNote2 > 0) &&
                (st.position1 >= 0 || st.position2 >= 0)) {
                silenced = true;
                stoppedOnce = true;
            }
        }
    }
    genPrevChord = chord;
    return ev;
}

int Composer::MakeAccompPartAlt(int variant, int drumCode, int instCode, const std::string& chord,
                                int beg, int end, int ev) {
    const int mode = BeginAccompHalf(drumCode, instCode, chord, beg);
    const int half = HalfIndex(beg);
    const bool changed = chord != genPrevChord;
    if (changed) {
        const bool placement = trackTensFlag[trackNumber - 1] != 0;
        // By index and on a copy: in one-note mode the note-on below ends and empties the list.
        for (std::size_t i = 0; i < s3A3.size(); ++i) {
            HeldNote h = s3A3[i];
            if (h.note <= 0) continue;
            const int c = NearestChordTone(chord, h.note, beg);
            const bool strange = h.note != c && IsNotMayOn(h.note, chord, half, 1) == 1;
            if (placement) {
                SwOff(ev, beg, 0, h.note, 0);
                if (strange) SustainOff(ev, beg, 0, 0);
                SwOn(ev, beg, 0, c, std::max(1, h.velocity));
                h.note = c;
                if (i >= s3A3.size()) {
                    // The one-note rule ended every other held note; the new one stays held,
                    // so that its length still ends it.
                    s3A3.push_back(h);
                    break;
                }
                s3A3[i] = h;
            } else if (strange) {
                SwOff(ev, beg, 0, h.note, 0);
                SustainOff(ev, beg, 0, 0);
                s3A3[i].note = 0;
            }
        }
        s3A3.erase(
            std::remove_if(s3A3.begin(), s3A3.end(), [](const HeldNote& h) { return h.note == 0; }),
            s3A3.end());
    }
    DeferredOffsOffChord(chord, beg, ev);
    if (!silenced) {
        if (pUseSust) ReleaseSustainWhenBusy(mode, beg, end, ev);
        const auto& measures = setup_.chords.measures;
        const bool pauseNext = variant == 2 && curMeasure + 1 < static_cast<int>(measures.size()) &&
                               measures[curMeasure + 1].instCode == 9;
        const bool fitting = styleFlagNew || styleFlagLate;
        const int halfNo = beg > 0 ? 1 : 0;
        for (int s = beg; s < end; ++s) {
            AgeA3Held(s, ev);
            if (pauseNext && s != beg) continue;
            int n = 0;
            for (int col = 0; col < kColumnCount; ++col) {
                const std::int64_t v = Cell(mode, s, col).whole;
                n += v > 0 && v / 1000000 == 0 && v % 1000000 > 0 ? 1 : 0;
            }
            int stepVel = n <= 1 ? baseVel : baseVel - 7 * (n - 1);
            if (stepVel < baseVel * 4 / 5 || stepVel <= 0) stepVel = baseVel * 4 / 5;
            std::vector<std::pair<int, int>> started;
            for (int col = 0; col < kColumnCount; ++col) {
                const std::int64_t v = Cell(mode, s, col).whole;
                if (v <= 0 || CellNote(v) == 0) continue;
                int note = 0;
                if (variant == 1) {
                    note = CellNote(v) + songKeyNote_ - 60;
                    while (note > 127) note -= 12;
                    while (note < 1) note += 12;
                    note = NearestChordTone(chord, note, beg);
                    if (fitting) {
                        const int f = FitNoteRegister(note, partStyleValue, 0, halfNo, halfNo);
                        if (f > 0) note = f;
                    }
                } else {
                    int degree = 0, octave = 0, shift = 0;
                    SplitDegree(CellNote(v), degree, octave);
                    degree = ChordStepValue(beg, chord, degree, shift);
                    octave += shift;
                    const int raw = chordScale[degree] + partStyleValue + octave;
                    const int f =
                        fitting ? FitNoteRegister(raw, partStyleValue, octave, halfNo, halfNo) : 0;
                    note = f > 0 ? f : PlaceOnValue(0, raw, n + 1, partStyleValue, octave);
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
        if (!stoppedOnce && drumCode == 6 && mayStop) {
            const MeasureStat& st = Stat(curMeasure);
            if ((st.mainNote1 > 0 || st.mainNote2 > 0) &&
                (st.position1 >= 0 || st.position2 >= 0)) {
                silenced = true;
                stoppedOnce = true;
            }
        }
    }
    genPrevChord = chord;
    return ev;
}

}  // namespace composer
