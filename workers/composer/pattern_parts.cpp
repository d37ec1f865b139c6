// The pattern parts B1 and B3 and the silent pre-pass that plays the B3 logic over the song's
// chords to learn which pitch classes are still held at each half measure's start.
#include <algorithm>
#include <cstdlib>

#include "workers/composer/composer.h"
#include "workers/composer/part_math.h"

namespace composer {

namespace {

constexpr float kPatternFactorStep = 0.05f;
constexpr int kVolumeFloor = 31;
constexpr int kMaxRemembered = 5;
constexpr int kScanColumns = 12;

bool PatternHasNVal(const std::vector<PatternEntry>& buffer, int note) {
    return std::any_of(buffer.begin(), buffer.end(),
                       [&](const PatternEntry& e) { return e.nVal == note; });
}

bool PatternNoteIsFree(const std::vector<PatternEntry>& buffer, int note) {
    return std::none_of(buffer.begin(), buffer.end(),
                        [&](const PatternEntry& e) { return e.nVal == note || e.sVal == note; });
}

int CountSounding(const std::vector<PatternEntry>& buffer) {
    return static_cast<int>(std::count_if(buffer.begin(), buffer.end(),
                                          [](const PatternEntry& e) { return e.nVal != 0; }));
}

}  // namespace

void Composer::SendVolume(int& ev, int step, int offset, int volume) {
    loudness.channelVolume = volume;
    AddMeasureEvent(ev, step, offset, ControlCode(), kCtlVolume, volume);
}

void Composer::SwitchOffSVal(std::vector<PatternEntry>& buffer, int step, int offset, int note,
                             int& ev) {
    for (PatternEntry& e : buffer) {
        if (e.sVal == note && note != 0) {
            SwOff(ev, step, offset, note, 0);
            e.sVal = 0;
            --pattern.sValCount;
        }
    }
}

int Composer::ExpirePattern(std::vector<PatternEntry>& buffer, bool b3, bool quiet, int step,
                            int& ev) {
    const int now = CurrentStepTime(step);
    for (PatternEntry& e : buffer) {
        if (e.nVal != 0 && now - e.start > grid.holdLimitN) {
            if (!quiet) SwOff(ev, step, 0, e.nVal, 0);
            e.nVal = 0;
        }
        if (e.sVal != 0 && now - e.start > grid.holdLimitS) {
            if (!quiet) {
                SwOff(ev, step, 0, e.sVal, 0);
                --pattern.sValCount;
            }
            e.sVal = 0;
        }
    }
    std::vector<PatternEntry> kept;
    kept.reserve(buffer.size());
    for (const PatternEntry& e : buffer) {
        if ((e.nVal != 0 && e.sVal != 0) || e.nVal < 0 || e.sVal < 0) {
            log_.Printf(b3 ? "Bad: nVal=%d, sVal=%d in BngOnEvB3 buffer."
                           : "Bad: nVal=%d, sVal=%d in BngOnEvB1T buffer.",
                        e.nVal, e.sVal);
            AbortCompose(1);
        }
        if (e.nVal != 0 || e.sVal != 0) kept.push_back(e);
    }
    buffer.swap(kept);
    return static_cast<int>(buffer.size());
}

void Composer::AddHeldToMayOn(int halfIndex) {
    if (halfIndex < 0 || halfIndex >= static_cast<int>(prePass.mayOnAtBegTab.size())) return;
    auto add = [&](int note) {
        int folded = note;
        while (folded < 60) folded += 12;
        while (folded > 71) folded -= 12;
        if (IsNotMayOn(folded, std::string(), halfIndex, 0) == 0) return;
        int& fill = prePass.mayOnFill[halfIndex];
        if (fill < 12)
            prePass.mayOnAtBegTab[halfIndex][fill++] = folded;
        else
            prePass.mayOnAtBegTab[halfIndex][11] = folded;
    };
    for (const PatternEntry& e : pattern.bngOnEvB3) {
        if (e.nVal > 0) add(e.nVal);
        if (e.sVal > 0) add(e.sVal);
    }
}

int Composer::ScanMayOnAtBeg(int code, const std::string& chord, int beg, int end, int evCount) {
    return PatternPart(true, true, code, chord, beg, end, evCount);
}

int Composer::MakeBngB3Part(int instCode, const std::string& chord, int beg, int end, int ev) {
    return PatternPart(true, false, instCode, chord, beg, end, ev);
}

int Composer::MakeBngB1Part(int instCode, const std::string& chord, int beg, int end, int ev) {
    return PatternPart(false, false, instCode, chord, beg, end, ev);
}

// One half measure of a pattern part. `b3` selects the sustaining twin, `quiet` the silent
// pre-pass (B3 logic on a fixed pattern, no events).
int Composer::PatternPart(bool b3, bool quiet, int instCode, const std::string& chord, int beg,
                          int end, int ev) {
    std::vector<PatternEntry>& buffer = b3 ? pattern.bngOnEvB3 : pattern.bngOnEvB1;
    int& lastNote = b3 ? pattern.lastB3Note : pattern.lastB1Note;
    const int half = HalfIndex(beg);
    const int halfNo = beg > 0 ? 1 : 0;
    int mode = 0;
    if (!quiet) {
        ++play.idleCalls;
        mode = GetInst31Mode(instCode, beg, 0);
        UpdateVelocityFactor(kPatternFactorStep);
    }
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    BuildChordScale(r, chord);
    if (!b3) ApplyMayOnToScale(r, chord, beg);

    if (!quiet) DeferredOffsAtChord(chord, beg, ev);
    ExpirePattern(buffer, b3, quiet, beg, ev);
    if (quiet) AddHeldToMayOn(half);

    std::vector<int> remembered;
    int soundingAtStart = 0;
    std::vector<ReVoiced> reVoiced;
    if (CountSounding(buffer) > 0) {
        for (const PatternEntry& e : buffer) {
            if (e.nVal == 0) continue;
            ++soundingAtStart;
            if (static_cast<int>(remembered.size()) < kMaxRemembered) remembered.push_back(e.nVal);
        }
        const bool changed = chord != pass.genPrevChord;
        if (!b3) {
            if (changed || (pattern.recheckRequest && beg == 0)) {
                pattern.recheckRequest = false;
                for (PatternEntry& e : buffer) {
                    if (e.nVal == 0) continue;
                    const int n = e.nVal;
                    const int c = NearestChordTone(chord, n, beg);
                    if ((n - c) % 12 == 0) continue;
                    if (IsNotMayOn(n, chord, half, 1)) {
                        SwOff(ev, beg, 0, n, 0);
                        e.nVal = 0;
                    } else if (play.oneNoteMode) {
                        play.pendingNote = n;
                    }
                }
            }
        } else if (changed) {
            for (PatternEntry& e : buffer) {
                if (e.nVal == 0) continue;
                const int n = e.nVal;
                const int c = NearestChordTone(chord, n, beg);
                const bool tone = quiet ? n == c : (n - c) % 12 == 0;
                if (!tone && (quiet || IsNotMayOn(n, chord, half, 1))) {
                    if (!quiet) SwOff(ev, beg, 0, n, 0);
                    e.nVal = 0;
                    ReVoiced rv{c, quiet ? 1 : loudness.baseVel, 0, 0};
                    if (e.degree >= 1 && e.degree <= 12 && e.octave >= 0) {
                        const int raw = scales.chordScale[e.degree] +
                                        (quiet ? 0 : part.partStyleValue + e.octave);
                        rv.note = PlaceOnValue(3, raw, 1, quiet ? 0 : part.partStyleValue,
                                               quiet ? 0 : e.octave);
                        rv.degree = e.degree;
                        rv.octave = e.octave;
                    }
                    AppendBounded(reVoiced, kMaxMayOnAtBegVal, rv,
                                  quiet ? "Error: Out of MayOnAtBegVal buffer2: %03d,%02d"
                                        : "Error: Out of MayOnAtBegVal buffer1: %03d,%02d",
                                  pass.curMeasure + 1, pass.channel + 1);
                }
                if (!tone) {
                    if (!quiet) SwOff(ev, beg, 0, n, 0);
                    e.nVal = 0;
                } else {
                    e.nVal = 0;
                    if (PatternNoteIsFree(buffer, n)) {
                        e.sVal = n;
                        e.start = CurrentStepTime(beg);
                        ++pattern.sValCount;
                    } else if (!quiet) {
                        SwOff(ev, beg, 0, n, 0);
                    }
                }
            }
        }
    }

    const bool fitting = part.styleFlagNew || part.styleFlagLate;
    bool anyRestart = false;
    std::vector<Candidate> candidates;
    // The pre-pass plays the same cells at every step of the half: place them once.
    struct Placed {
        int note, degree, octave;
    };
    std::array<Placed, kScanColumns> scanNotes{};
    if (quiet) {
        for (int col = 0; col < kScanColumns; ++col) {
            int degree = 0, octave = 0, shift = 0;
            SplitDegree(CellNote(10000096 + 100 * (col + 1)), degree, octave);
            degree = ChordStepValue(beg, chord, degree, shift);
            scanNotes[col] = {PlaceOnValue(3, scales.chordScale[degree], 1, 0, 0), degree,
                              octave + shift};
        }
    }
    // The step's cell values, read once for the count and the placing; the pre-pass plays
    // fixed values instead.
    std::array<std::int64_t, kColumnCount> stepCells{};
    if (quiet) {
        for (int col = 0; col < kScanColumns; ++col) stepCells[col] = 10000096 + 100 * (col + 1);
    }
    for (int s = beg; s < end; ++s) {
        candidates.clear();
        int n = 0;
        if (!quiet) {
            const auto& cells = CellRow(mode, s);
            for (int col = 0; col < kColumnCount; ++col) {
                const std::int64_t v = cells[col].whole;
                stepCells[col] = v;
                n += v > 0 && v / 1000000 == 0 && v % 1000000 > 0 ? 1 : 0;
            }
        }
        int stepVel = loudness.baseVel;
        if (n >= 2) {
            stepVel = loudness.baseVel - 7 * (std::min(n, 3) - 1);
            if (stepVel < loudness.baseVel * 4 / 5 || stepVel < 1)
                stepVel = loudness.baseVel * 4 / 5;
        }
        bool restart = false;
        const int columns = quiet ? kScanColumns : kColumnCount;
        for (int col = 0; col < columns; ++col) {
            const std::int64_t v = stepCells[col];
            if (v <= 0 || CellNote(v) == 0) continue;
            int degree = 0, octave = 0, shift = 0;
            int note = 0;
            int vel = 1;
            if (quiet) {
                note = scanNotes[col].note;
                degree = scanNotes[col].degree;
                octave = scanNotes[col].octave;
            } else {
                SplitDegree(CellNote(v), degree, octave);
                degree = ChordStepValue(beg, chord, degree, shift);
                octave += shift;
                const int raw = scales.chordScale[degree] + part.partStyleValue + octave;
                const int f = b3 && fitting ? FitNoteRegister(raw, part.partStyleValue, octave,
                                                              halfNo, halfNo)
                                            : 0;
                note =
                    f >= 1 ? f : PlaceOnValue(b3 ? 3 : 1, raw, n + 1, part.partStyleValue, octave);
                vel = Clamp127(stepVel + s * VelHsOf(mode) / 2);
                const int cellVel = CellVelocity(v);
                vel = ScaleByCellVelocity(vel, cellVel);
            }
            const int offset = static_cast<int>(std::min<std::int64_t>(CellOffset(v), 1 << 20));
            if (NearestSongNote(note, 0) != note) continue;
            const bool again = std::any_of(
                candidates.begin(), candidates.end(),
                [&](const Candidate& c) { return c.note == note && c.offset == offset; });
            if (again || note == lastNote) continue;
            lastNote = note;
            AppendBounded(candidates, kMaxCandidates,
                          {note, CurrentStepTime(s), vel, offset, degree, octave},
                          "Error: Out of BngOnEvT buffer.");
            if (!restart && !PatternHasNVal(buffer, note)) restart = true;
        }
        if (b3 && s == beg && !restart) {
            for (const ReVoiced& rv : reVoiced) {
                if (!quiet) {
                    SwitchOffSVal(buffer, beg, 0, rv.note, ev);
                    SendVolume(ev, beg, 0, kFullVolume);
                    SwOn(ev, beg, 0, rv.note, rv.velocity);
                } else {
                    loudness.channelVolume = kFullVolume;
                }
                AppendBounded(buffer, quiet ? kMaxHeldNotes : kPartBufferSize,
                              {rv.note, 0, CurrentStepTime(beg), rv.degree, rv.octave, rv.velocity},
                              "Error: Out of BngOnEvB3[] buffer");
            }
        }
        if (!restart) continue;
        anyRestart = true;
        if (!b3) {
            for (const PatternEntry& e : buffer) {
                if (e.nVal != 0) SwOff(ev, s, 0, e.nVal, 0);
            }
            buffer.clear();
        } else {
            for (PatternEntry& e : buffer) {
                if (e.nVal == 0) continue;
                const int note = e.nVal;
                const int c = NearestChordTone(chord, note, s);
                e.nVal = 0;
                if ((note - c) % 12 != 0) {
                    if (!quiet) SwOff(ev, s, 0, note, 0);
                } else if (PatternNoteIsFree(buffer, note)) {
                    e.sVal = note;
                    e.start = CurrentStepTime(s);
                    ++pattern.sValCount;
                } else if (!quiet) {
                    SwOff(ev, s, 0, note, 0);
                }
            }
        }
        if (quiet)
            loudness.channelVolume = kFullVolume;
        else
            SendVolume(ev, s, 0, kFullVolume);
        for (const Candidate& c : candidates) {
            if (PatternHasNVal(buffer, c.note)) continue;
            if (!quiet) {
                SwitchOffSVal(buffer, s, c.offset, c.note, ev);
                SwOn(ev, s, c.offset, c.note, c.velocity);
            }
            AppendBounded(
                buffer, quiet ? kMaxHeldNotes : kPartBufferSize,
                {c.note, 0, c.start, c.degree, c.octave, Clamp127(c.velocity)},
                b3 ? "Error: Out of BngOnEvB3[] buffer" : "Error: Out of BngOnEvB1[] buffer");
        }
        pass.genPrevChord = chord;
    }

    if (!anyRestart) {
        if (quiet) {
            if (loudness.channelVolume >= kVolumeFloor) loudness.channelVolume -= kVolumeStep;
        } else if (loudness.channelVolume < kVolumeFloor) {
            for (const PatternEntry& e : buffer) {
                if (e.nVal != 0) SwOff(ev, beg, 0, e.nVal, 0);
            }
        } else {
            SendVolume(ev, beg, 0, loudness.channelVolume - kVolumeStep);
        }
        auto append = [&](int note, int vel) {
            AppendBounded(
                buffer, kPartBufferSize, {note, 0, CurrentStepTime(beg), 0, 0, vel},
                b3 ? "Error: Out of BngOnEvB3[] buffer" : "Error: Out of BngOnEvB1[] buffer");
        };
        if (soundingAtStart == 1 && !remembered.empty()) {
            const int heldNote = remembered[0];
            const int c = NearestChordTone(chord, heldNote, beg);
            const bool free = PatternNoteIsFree(buffer, c);
            int vel =
                c == heldNote ? (quiet ? 1 : loudness.baseVel) : std::max(1, loudness.partVelocity);
            if (!b3) {
                if (free) {
                    if (c != heldNote) SendVolume(ev, beg, 0, kFullVolume);
                    append(c, vel);
                    SwitchOffSVal(buffer, beg, 0, c, ev);
                    SwOn(ev, beg, 0, c, vel);
                }
            } else {
                if (c != heldNote) {
                    if (quiet)
                        loudness.channelVolume = kFullVolume;
                    else
                        SendVolume(ev, beg, 0, kFullVolume);
                }
                append(c, vel);
                if (free && !quiet) {
                    SwitchOffSVal(buffer, beg, 0, c, ev);
                    SwOn(ev, beg, 0, c, vel);
                }
            }
        } else if (b3 && soundingAtStart >= 2) {
            const int vel = std::max(1, loudness.partVelocity - 5 * soundingAtStart);
            for (int heldNote : remembered) {
                int t = beg > 0 ? NearestChordTone(chord, heldNote, beg)
                                : NearestChordTone3(chord, heldNote, beg);
                t = PlaceOnValue(3, t, 1, 0, -1);
                if (PatternHasNVal(buffer, t)) continue;
                append(t, vel);
                if (quiet) {
                    loudness.channelVolume = kFullVolume;
                } else {
                    SwitchOffSVal(buffer, beg, 0, t, ev);
                    SendVolume(ev, beg, 0, kFullVolume);
                    SwOn(ev, beg, 0, t, vel);
                }
            }
        }
    }
    pass.genPrevChord = chord;
    return ev;
}

}  // namespace composer
