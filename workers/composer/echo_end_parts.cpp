// The four echo parts, the hand-over of held notes at a section change and the endings that
// sound the last measure's final chord or note and fade the channel out.
#include <algorithm>
#include <cstdlib>

#include "workers/composer/composer.h"
#include "workers/composer/part_math.h"

namespace composer {

namespace {

constexpr float kEchoFactorStep = 0.08f;
constexpr int kFadeFloor = 30;
constexpr int kEchoMuteVelocity = 9;
constexpr int kEndingVolumeFloor = 50;

int FoldDegree(int note) {
    int d = note;
    while (d > 12) d -= 12;
    return d;
}

}  // namespace

int Composer::MakeEchoPart1(int instCode, const std::string& chord, int beg, int end, int ev) {
    UpdateVelocityFactor(kEchoFactorStep);
    const int vel = setup_.options.echoLevel1 > 0 ? loudness.baseVel : kEchoMuteVelocity;
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    BuildChordScale(r, chord);
    const int mode = instCode;
    const bool changed = chord != pass.prevChord;
    bool started = false;
    auto fade = [&]() {
        if (loudness.channelVolume > kFadeFloor)
            SendVolume(ev, beg, grid.maxTickOffset, loudness.channelVolume - kVolumeStep);
    };
    if (beg > 0) {
        int e = echo.echoNoteTab[pass.curMeasure];
        if (e <= 0) e = songKeyNote_;
        const int c = NearestChordTone(chord, e, beg);
        if (changed || (c != e && c > 0)) {
            int start = beg;
            for (int s = beg; s < end; ++s) {
                if (s < 48 && setup_.beatPattern[s] > 0) {
                    start = s;
                    break;
                }
            }
            if (echo.echoPart1Note > 0) SwOff(ev, start, 0, echo.echoPart1Note, 0);
            SendVolume(ev, start, 0, kFullVolume);
            if (c >= 1 && c <= 127) {
                SwOn(ev, start, 0, c, vel);
                echo.echoNoteTab[pass.curMeasure] = c;
                echo.echoPart1Note = c;
            }
            started = true;
        } else {
            fade();
        }
        return ev;
    }
    bool changeUsed = false;
    for (int s = beg; s < end; ++s) {
        const auto& cells = CellRow(mode, s);
        for (int col = 0; col < kColumnCount; ++col) {
            const std::int32_t v = Low32(cells[col].whole);
            if (v <= 0) continue;
            const int degree = FoldDegree(v % 1000);
            if (degree < 1) continue;
            int note = scales.chordScale[degree];
            const MeasureStat& st = Stat(pass.curMeasure);
            if (st.mainNote1 > 0) {
                note = st.mainNote1;
            } else if (pass.curMeasure > 0) {
                if (echo.prevEchoNote > 0) {
                    while (note > echo.prevEchoNote + 6) note -= 12;
                    while (note < echo.prevEchoNote - 7) note += 12;
                }
            } else {
                note = r;
            }
            note = PlaceOnValue(1, note, 1, 0, -1);
            echo.prevEchoNote = note;
            echo.echoNoteTab[pass.curMeasure] = note;
            const bool changeNow = changed && !changeUsed;
            if (changeNow || (note != echo.echoPart1Note && note > 0)) {
                if (changeNow) changeUsed = true;
                if (echo.echoPart1Note > 1) SwOff(ev, s, 0, echo.echoPart1Note, 0);
                SendVolume(ev, s, 0, kFullVolume);
                SwOn(ev, s, 0, note, vel);
                echo.echoPart1Note = note;
                started = true;
            }
        }
    }
    if (!started) fade();
    return ev;
}

int Composer::MakeEchoPart2(int instCode, const std::string& chord, int beg, int end, int ev) {
    UpdateVelocityFactor(kEchoFactorStep);
    const int vel = loudness.baseVel;
    const int count = static_cast<int>(setup_.chords.measures.size());
    const MeasureStat& next = Stat(pass.curMeasure + 1);
    const int positionGate = next.position1;
    const int velocityGate = next.velocity;
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    BuildChordScale(r, chord);
    const int t =
        echo.echoNoteTab[pass.curMeasure + 1 < count ? pass.curMeasure + 1 : pass.curMeasure];
    const int mode = instCode;
    const bool changed = chord != pass.genPrevChord;
    bool changeUsed = false, volumeSent = false, started = false;
    std::vector<int> candidates;
    for (int s = beg; s < end; ++s) {
        candidates.clear();
        bool restart = false;
        const auto& cells = CellRow(mode, s);
        for (int col = 0; col < kColumnCount; ++col) {
            const std::int32_t v = Low32(cells[col].whole);
            if (v <= 0) continue;
            const int d = FoldDegree(v % 1000);
            int note = 0;
            if (beg == 0) {
                note = echo.echoNoteTab[pass.curMeasure];
                echo.currentEchoNote = note;
            } else {
                const int c = echo.currentEchoNote;
                if (std::abs(t - c) < 4 || std::abs(t - c) > 11 ||
                    (positionGate > 4 && velocityGate >= 20)) {
                    note = c;
                } else {
                    // The walked value is truncated as a whole (towards zero, not down).
                    const int walk = static_cast<int>(c + (t - c) * d / 13.0);
                    note = NearestSongNote(walk, 0);
                    if (d < 6 && std::abs(note - c) <= 1) note = c;
                    if (d >= 6 && std::abs(note - t) <= 1) note = t;
                }
                const int main2 = Stat(pass.curMeasure).mainNote2;
                if (main2 > 0 && std::abs(note - main2) <= 1 && main2 != c) note = main2;
            }
            // An echo note that part 1 never set has nothing to follow.
            if (note < 1 || note > 127) continue;
            note = PlaceOnValue(1, note, 1, 0, -1);
            AppendBounded(candidates, kMaxCandidates, note, "Error: Out of BngOnEvT buffer.");
            if (std::find(echo.bngOnEv2.begin(), echo.bngOnEv2.end(), note) == echo.bngOnEv2.end())
                restart = true;
        }
        const bool changeNow = changed && !changeUsed;
        // A chord change restarts the part at its first melody onset, with or without a note.
        if ((restart || changeNow) && s < 48 && setup_.beatPattern[s] > 0) {
            if (changeNow) changeUsed = true;
            for (int note : echo.bngOnEv2) SwOff(ev, s, 0, note, 0);
            echo.bngOnEv2.clear();
            if (!volumeSent) {
                SendVolume(ev, s, 0, kFullVolume);
                volumeSent = true;
            }
            for (int note : candidates) {
                SwOn(ev, s, 0, note, vel);
                AppendBounded(echo.echoEv, kEchoEventLimit, {pass.curMeasure, s, note, vel},
                              "Out of EchoEv[] buffer.");
                AppendBounded(echo.bngOnEv2, kPartBufferSize, note,
                              "Error: out of BngOnEv2[] buffer.");
                started = true;
            }
            pass.genPrevChord = chord;
        }
    }
    if (!started) {
        if (loudness.channelVolume > kFadeFloor) {
            SendVolume(ev, beg, grid.maxTickOffset, loudness.channelVolume - kVolumeStep);
        } else {
            for (int note : echo.bngOnEv2) SwOff(ev, beg, grid.maxTickOffset, note, 0);
            echo.bngOnEv2.clear();
        }
    }
    return ev;
}

int Composer::MakeEchoPart34(bool upper, const std::string& chord, int beg, int end, int ev) {
    if (setup_.options.echoLevel1 <= 0) return ev;
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    int& lastNote = upper ? echo.lastEcho3Note : echo.lastEcho4Note;
    bool startedAny = false;
    for (std::size_t i = 0; i < echo.echoEv.size(); ++i) {
        const EchoEvent e = echo.echoEv[i];
        if (e.measure != pass.curMeasure || e.step < beg || e.step >= end || e.note <= 0) continue;
        const int vel =
            Clamp127(e.velocity + setup_.options.echoLevel2 - setup_.options.echoLevel1);
        int a = NearestChordTone(chord, e.note - 3, beg);
        if (std::abs(a - e.note) <= 1) a = e.note;
        const int fa = FitNearKey(a), fr = FitNearKey(r);
        const int top = upper ? std::max(fa, fr) : std::min(fa, fr);
        if (top != lastNote || echo.bngOnEv45.empty()) {
            for (const auto& pair : echo.bngOnEv45) {
                SwOff(ev, e.step, 0, pair[0], 0);
                if (pair[1] > 0) SwOff(ev, e.step, 0, pair[1], 0);
            }
            echo.bngOnEv45.clear();
            SwOn(ev, e.step, 0, top, vel);
            lastNote = top;
            KhHa2Notes(chord, scales.chordNotes);
            int second = 0;
            static constexpr int kDown[] = {2, 1, 0};
            static constexpr int kUp[] = {0, 1, 2, 3};
            const int* order = upper ? kDown : kUp;
            const int orderCount = upper ? 3 : 4;
            for (int k = 0; k < orderCount; ++k) {
                const int x = scales.chordNotes[order[k]];
                if (x < 0) continue;
                const int folded = FoldNear(x, top);
                if (folded != top) {
                    second = folded;
                    break;
                }
            }
            if (second >= 1 && second <= 127) SwOn(ev, e.step, 0, second, vel);
            AppendBounded(echo.bngOnEv45, kPartBufferSize, {top, second},
                          upper ? "Out of BngOnEv4[][] buffer." : "Out of BngOnEv5[][] buffer.");
            startedAny = true;
        }
        if (startedAny) SendVolume(ev, e.step, 0, kFullVolume);
    }
    if (!startedAny) {
        if (loudness.channelVolume > kFadeFloor) {
            SendVolume(ev, beg, grid.maxTickOffset, loudness.channelVolume - kVolumeStep);
        } else {
            for (const auto& pair : echo.bngOnEv45) {
                SwOff(ev, beg, grid.maxTickOffset, pair[0], 0);
                if (pair[1] > 0) SwOff(ev, beg, grid.maxTickOffset, pair[1], 0);
            }
            echo.bngOnEv45.clear();
        }
    }
    return ev;
}

// ---------------------------------------------------------------------------------------------
// Section ends and endings

int Composer::FlushDeferredOffs(int step, int ev) {
    std::vector<DeferredOff> offs;
    offs.swap(held.deferredOffs);
    for (const DeferredOff& d : offs) {
        if (d.note >= 1 && d.note <= 127) SwOff(ev, step, 0, d.note, 0);
    }
    return ev;
}

int Composer::SectStyleEnd(int step, int& ev) {
    if (pass.curMeasure == 0) return 0;
    ev = FlushDeferredOffs(step, ev);
    const int s = setup_.chords.sections[pass.sectionNext].slot;
    if (s < 1 || s > kSlotCount) {
        log_.Printf("Fatal error in call to SectStyleEnd(): Invalid StyIdToSwTo %d", s);
        AbortCompose(1);
    }
    // The late styles hand the held list over. The key-relative chord part keeps notes in it in
    // every style: when the next section's part never ages the list, they would sound for good,
    // so they are handed over too.
    HandOverHeldNotes(step, ev, part.styleFlagLate || !AgesHeldList(GeneratorAfterSwitch()));
    return 1;
}

void Composer::DeferNoteOff(int note, int step, int& ev) {
    if (note < 1 || note > 127) return;
    if (static_cast<int>(held.deferredOffs.size()) < kMaxDeferredOffs)
        held.deferredOffs.push_back({note, pass.curMeasure});
    else
        SwOff(ev, step, 0, note, 0);
}

void Composer::HandOverHeldNotes(int step, int& ev, bool heldList) {
    if (heldList) ReleaseA3Notes(1, step, 0, ev);
    ReleaseAccompNotes(1, step, ev);
    for (PatternEntry& e : pattern.bngOnEvB1) {
        DeferNoteOff(e.nVal, step, ev);
        DeferNoteOff(e.sVal, step, ev);
    }
    for (PatternEntry& e : pattern.bngOnEvB3) {
        DeferNoteOff(e.nVal, step, ev);
        if (e.sVal >= 1 && e.sVal <= 127) --pattern.sValCount;
        DeferNoteOff(e.sVal, step, ev);
    }
    pattern.bngOnEvB1.clear();
    pattern.bngOnEvB3.clear();
}

bool Composer::LoneNoteSounds() const {
    return play.loneNoteEntry && *play.loneNoteEntry < pass.onBff.size() &&
           pass.onBff[*play.loneNoteEntry].active;
}

int Composer::LoneNote() const {
    return pass.onBff[*play.loneNoteEntry].note;
}

bool Composer::HeldByAList(int note) const {
    for (const HeldNote& h : held.s3A3) {
        if (h.note == note) return true;
    }
    for (const DeferredOff& d : held.deferredOffs) {
        if (d.note == note) return true;
    }
    for (const AccompEntry& e : held.bngOnEvA0) {
        if (!e.released && e.note == note) return true;
    }
    for (const auto* buffer : {&pattern.bngOnEvB1, &pattern.bngOnEvB3}) {
        for (const PatternEntry& e : *buffer) {
            if (e.nVal == note || e.sVal == note) return true;
        }
    }
    return false;
}

void Composer::DeferLoneNote(int step, int& ev) {
    if (!LoneNoteSounds() || HeldByAList(LoneNote())) return;
    // Under the one-note rule the next note-on still ends it.
    if (play.oneNoteMode && play.pendingNote == LoneNote()) return;
    DeferNoteOff(LoneNote(), step, ev);
    play.loneNoteEntry.reset();
}

namespace {

// The steps an ending's fade takes: its span, or 2 when it has none.
int FadeSteps(int beg, int end) {
    return end - beg > 0 ? end - beg : 2;
}

// The step an ending's notes end on: a little after its fade.
int EndingLastStep(int beg, int end) {
    return beg + FadeSteps(beg, end) + 4;
}

}  // namespace

void Composer::CommonEndingFade(int& ev, int beg, int end) {
    const int fadeSteps = FadeSteps(beg, end);
    int volume = loudness.channelVolume;
    const int decrement = std::max(1, (volume - kEndingVolumeFloor) / (fadeSteps + 2));
    for (int st = beg + 1; st <= beg + fadeSteps + 1; ++st) {
        if (volume <= kEndingVolumeFloor) break;
        volume -= decrement;
        SendVolume(ev, st, 0, volume);
    }
}

int Composer::EndLoneNote(int beg, int end, int ev) {
    if (LoneNoteSounds()) SwOff(ev, EndingLastStep(beg, end), 0, LoneNote(), 0);
    return ev;
}

int Composer::MakeAccompEnding(int variant, int code, const std::string& chord, int beg, int end,
                               int ev) {
    const int mode = GetInst31Mode(code, beg, 0);
    ev = FlushDeferredOffs(beg, ev);
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    BuildChordScale(r, chord);
    if (variant == 0) {
        for (const AccompEntry& e : held.bngOnEvA0) {
            if (!e.released && e.note > 0) SwOff(ev, beg, 0, e.note, 0);
        }
    }
    // The alternatives hold their notes in the held list; the plain part finds there the notes
    // a key-relative part left at a section change, which nothing after the song's end would age.
    ReleaseA3Notes(0, beg, 0, ev);
    SendVolume(ev, beg, 0, kFullVolume);
    held.bngOnEvA0.clear();
    const int finalVel = std::max(30, loudness.partVelocity - 20);
    for (int col = 0; col < kColumnCount; ++col) {
        const std::int64_t v = Cell(mode, beg, col).whole;
        if (v <= 0 || CellNote(v) == 0) continue;
        int degree = 0, octave = 0;
        SplitDegree(CellNote(v), degree, octave);
        if (variant == 0) {
            int note = PlaceOnValue(0, scales.chordScale[degree] + part.partStyleValue + octave, 1,
                                    part.partStyleValue, octave);
            note = NearestChordTone3(chord, note, beg);
            if (note < 1 || note > 127) continue;
            SwOn(ev, beg, 0, note, finalVel);
            AppendBounded(held.bngOnEvA0, kMaxAccompNotes, {note, 0, degree, octave, finalVel},
                          "Error: Out of BngOnEvA0[][[] buffer.");
        } else {
            int note = 0;
            if (variant == 1) {
                note = CellNote(v) + songKeyNote_ - 60;
                while (note > 127) note -= 12;
                while (note < 1) note += 12;
                note = NearestChordTone(chord, note, beg);
            } else {
                note = PlaceOnValue(0, scales.chordScale[degree] + part.partStyleValue + octave, 1,
                                    part.partStyleValue, octave);
                note = NearestChordTone3(chord, note, beg);
            }
            if (note < 1 || note > 127) continue;
            int vel = Clamp127(finalVel + beg * VelHsOf(mode) / 2);
            const int cellVel = CellVelocity(v);
            vel = ScaleByCellVelocity(vel, cellVel);
            const int offset = static_cast<int>(std::min<std::int64_t>(CellOffset(v), 1 << 20));
            SwOn(ev, beg, offset, note, vel);
            AddA3Held(note, offset, mode, beg, col, vel);
        }
    }
    CommonEndingFade(ev, beg, end);
    const int last = EndingLastStep(beg, end);
    if (variant == 0) {
        for (const AccompEntry& e : held.bngOnEvA0) {
            if (!e.released && e.note > 0) SwOff(ev, last, 0, e.note, 0);
        }
        SustainOff(ev, last, 0, 1);
        held.bngOnEvA0.clear();
    } else {
        for (const HeldNote& h : held.s3A3) {
            if (h.note > 0) SwOff(ev, last, 0, h.note, 0);
        }
        SustainOff(ev, last, 0, 1);
        held.s3A3.clear();
    }
    return ev;
}

int Composer::MakeBngEnding(bool b3, int code, const std::string& chord, int beg, int end, int ev) {
    std::vector<PatternEntry>& buffer = b3 ? pattern.bngOnEvB3 : pattern.bngOnEvB1;
    const int mode = GetInst31Mode(code, beg, 0);
    ev = FlushDeferredOffs(beg, ev);
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    BuildChordScale(r, chord);
    int lastN = 0, lastS = 0;
    for (const PatternEntry& e : buffer) {
        if (e.nVal != 0) {
            SwOff(ev, beg, 0, e.nVal, 0);
            lastN = e.nVal;
        }
        if (e.sVal != 0) {
            SwOff(ev, beg, 0, e.sVal, 0);
            lastS = e.sVal;
            if (b3) --pattern.sValCount;
        }
    }
    buffer.clear();
    SendVolume(ev, beg, 0, kFullVolume);
    const int finalVel = std::max(30, loudness.partVelocity - 20);
    auto start = [&](int note) {
        if (note < 1 || note > 127) return;
        SwOn(ev, beg, 0, note, finalVel);
        AppendBounded(
            buffer, kPartBufferSize, {note, 0, 0, 0, 0, 0},
            b3 ? "Error: Out of BngOnEvB3[][[] buffer." : "Error: Out of BngOnEvB1[][[] buffer.");
    };
    bool any = false;
    for (int col = 0; col < kColumnCount; ++col) {
        const std::int64_t v = Cell(mode, beg, col).whole;
        if (v <= 0 || CellNote(v) == 0) continue;
        int degree = 0, octave = 0;
        SplitDegree(CellNote(v), degree, octave);
        const int raw = scales.chordScale[degree] + part.partStyleValue + octave;
        int note = 0;
        if (b3) {
            note = PlaceOnValue(1, raw, 1, part.partStyleValue, octave);
            note = NearestChordTone3(chord, note, beg);
        } else {
            note = NearestChordTone3(chord, raw, beg);
            note = PlaceOnValue(1, note, 1, part.partStyleValue, octave);
        }
        start(note);
        any = true;
    }
    if (!any) {
        if (lastN > 0) start(NearestChordTone3(chord, lastN, beg));
        if (lastS > 0) start(NearestChordTone3(chord, lastS, beg));
    }
    CommonEndingFade(ev, beg, end);
    const int last = EndingLastStep(beg, end);
    for (const PatternEntry& e : buffer) {
        if (e.nVal != 0) SwOff(ev, last, 0, e.nVal, 0);
    }
    SustainOff(ev, last, 0, 1);
    buffer.clear();
    return ev;
}

int Composer::MakeEchoEnding(int echoPart, const std::string& chord, int beg, int end, int ev) {
    const int r = KhNote2Val(beg, chord);
    if (r == 0) AbortCompose(1);
    BuildChordScale(r, chord);
    int reference = 0;
    switch (echoPart) {
        case 1:
            if (echo.echoPart1Note > 0) SwOff(ev, beg, 0, echo.echoPart1Note, 0);
            if (echo.prevEchoNote > 0) SwOff(ev, beg, 0, echo.prevEchoNote, 0);
            reference = echo.prevEchoNote;
            break;
        case 2:
            for (int note : echo.bngOnEv2) SwOff(ev, beg, 0, note, 0);
            echo.bngOnEv2.clear();
            reference = echo.currentEchoNote;
            break;
        default: {
            int& lastNote = echoPart == 3 ? echo.lastEcho3Note : echo.lastEcho4Note;
            if (lastNote > 0) SwOff(ev, beg, 0, lastNote, 0);
            for (const auto& pair : echo.bngOnEv45) {
                SwOff(ev, beg, 0, pair[0], 0);
                if (pair[1] > 0) SwOff(ev, beg, 0, pair[1], 0);
            }
            echo.bngOnEv45.clear();
            break;
        }
    }
    int note = r;
    if (echoPart <= 2 && reference > 0) {
        if (note - reference >= 6) note -= 12;
        if (reference - note >= 6) note += 12;
    }
    note = PlaceOnValue(1, note, 1, part.partStyleValue, 0);
    SendVolume(ev, beg, 0, kFullVolume);
    const int finalVel = std::max(30, loudness.partVelocity - 20);
    SwOn(ev, beg, 0, note, finalVel);
    CommonEndingFade(ev, beg, end);
    SwOff(ev, EndingLastStep(beg, end), 0, note, 0);
    switch (echoPart) {
        case 1:
            echo.prevEchoNote = 0;
            echo.echoPart1Note = 0;
            break;
        case 2:
            echo.currentEchoNote = 0;
            break;
        case 3:
            echo.lastEcho3Note = 0;
            break;
        default:
            echo.lastEcho4Note = 0;
            break;
    }
    return ev;
}

}  // namespace composer
