// The refinement passes that rework a key run's chosen chords: smoothing, ending and break codes,
// the rewriting of HaBa chords, gap filling, second-half chords for the main note and colour.
#include "workers/chordmaker/chord_engine.h"
#include "workers/chordmaker/error_text.h"
#include "workers/chordmaker/fit_scores.h"
#include "workers/common/worker_fatal.h"

namespace chordmaker {

namespace {

constexpr int kCodeVariation = 1;
constexpr int kCodeBreak1 = 2;
constexpr int kCodeIntro2 = 3;
constexpr int kCodeIntro1 = 4;
constexpr int kCodeNormal2 = 5;
constexpr int kCodeStop = 6;
constexpr int kCodeBreak2 = 7;
constexpr int kCodeEnding = 8;
constexpr int kKeepsFirstHalf = 1;
constexpr int kEndingMeasures = 4;
constexpr int kMinorEndingMeasures = 6;
constexpr int kLongTonicRun = 16;
constexpr int kSilentMeasuresBeforeBreak = 2;

struct KeyDegrees {
    HaStr tonic, dominantSeventh, subdominant, dominant;

    // 0 to 3 for I, V7, IV, V; -1 for any other chord.
    int PlaceOf(std::string_view chord) const {
        if (chord == tonic) return 0;
        if (chord == dominantSeventh) return 1;
        if (chord == subdominant) return 2;
        if (chord == dominant) return 3;
        return -1;
    }
};

void SmoothChordPairs(KeyRunState& s) {
    for (int m = 0; m + 1 < s.measures; ++m) {
        if (!IsFreeCode(s.code[2 * m])) continue;
        const HaStr& first = s.chord[2 * m];
        const HaStr& next = s.chord[2 * m + 2];
        HaStr& second = s.chord[2 * m + 1];
        if (!IsBlankChord(first) && !IsBlankChord(next) && second != first && second == next) {
            second = first;
        }
    }
}

void MarkEndingMeasures(KeyRunState& s) {
    int m = s.measures - 1;
    for (int i = 0; i < kEndingMeasures && m >= 0 && IsFreeCode(s.code[2 * m]); ++i, --m) {
        s.code[2 * m] = i + 1;
    }
    s.code[2 * (s.measures - 1)] = kCodeEnding;
}

void DoiHaMinus(KeyRunState& s) {
    for (HaStr& chord : s.chord) {
        if (ChordChar(chord, 5) != '-') continue;
        const int root = RootPitchClass(chord);
        if (ChordChar(chord, 3) == '.') {
            if (root == kNoNote) throw worker::WorkerFatal("\nDoiHaMinus 1: Error finding NewGoc");
            chord = HaStr(RootName(root + 4)) + "m..";
        } else {
            if (root == kNoNote) throw worker::WorkerFatal("\nDoiHaMinus 2: Error finding TmpGoc");
            chord = HaStr(RootName(root - 1)) + '.' + ChordChar(chord, 4) + '.';
        }
    }
}

void DoiHaPlus(KeyRunState& s) {
    for (HaStr& chord : s.chord) {
        if (ChordChar(chord, 5) != '+') continue;
        const int root = RootPitchClass(chord);
        if (root == kNoNote) throw worker::WorkerFatal("\nDoiHaPlus: Error finding TmpGoc");
        chord = HaStr(RootName(root + 1)) + ChordChar(chord, 3) + ".o";
    }
}

void SetV7BeforeI(KeyRunState& s, const KeyDegrees& degrees) {
    for (int k = 0; k + 1 < s.Halves(); ++k) {
        if (s.chord[k] == degrees.dominant && s.chord[k + 1] == degrees.tonic) {
            s.chord[k] = WithChar(s.chord[k], 4, '7');
        }
    }
}

bool FitsOrSilent(const KeyRunState& s, int half, std::string_view chord) {
    return s.MainNote(half) == kNoNote ||
           ChordFitsSlot(s.song, half, s.MainNote(half), chord, kFitChordTone);
}

void MinorEndingDominants(KeyRunState& s) {
    if (!s.minor) return;
    const HaStr replacement(s.Chord5(4));
    int m = s.measures - 1;
    for (int i = 0; i < kMinorEndingMeasures && 2 * m > 2; ++i, --m) {
        if (s.code[2 * m] != kCodeBreak1) continue;
        if (!FitsOrSilent(s, 2 * m, replacement)) continue;
        s.chord[2 * m] = replacement;
        if (FitsOrSilent(s, 2 * m + 1, replacement)) s.chord[2 * m + 1] = replacement;
    }
}

void ReviseOpenMeasures(KeyRunState& s, const KeyDegrees& degrees) {
    std::int64_t last = 0;
    for (int m = 0; m + 1 < s.measures; ++m) {
        if (!IsFreeCode(s.code[2 * m]) || !IsFreeCode(s.code[2 * m + 2])) continue;
        const HaStr& first = s.chord[2 * m];
        const int j = IsBlankChord(first) ? 0 : degrees.PlaceOf(first);
        if (j < 0) continue;
        const HaStr& second = s.chord[2 * m + 1];
        if (!IsBlankChord(second) && degrees.PlaceOf(second) < 0) continue;
        const HaStr& next = s.chord[2 * m + 2];
        const int j2 = IsBlankChord(next) ? 0 : degrees.PlaceOf(next);
        if (j2 < 0) continue;
        const bool opens = (j == 0 && (j2 == 0 || j2 == 2)) || (j == 2 && j2 >= 1 && j2 <= 3);
        if (!opens) continue;
        if (!(2 * s.params.phraseLen < 2 * (m + 1) - last)) continue;
        if (s.MainNote(2 * m + 1) != kNoNote) continue;
        s.code[2 * m] = kCodeBreak2;
        s.drum[m] = kCodeBreak2;
        s.code[2 * m + 1] = kKeepsFirstHalf;
        s.code[2 * m + 2] = kCodeStop;
        s.drum[m + 1] = kCodeStop;
        s.code[2 * m + 3] = kKeepsFirstHalf;
        last = 2 * (m + 1);
    }
}

void MarkSingleHarmony(KeyRunState& s, const KeyDegrees& degrees) {
    constexpr int kMaxPitchClasses = 2;
    bool previousPassed = false;
    for (int m = 0; m + 1 < s.measures; ++m) {
        if (previousPassed) {
            previousPassed = false;
            continue;
        }
        const bool passes = s.chord[2 * m] == degrees.tonic &&
                            s.chord[2 * m + 1] == degrees.tonic &&
                            s.chord[2 * m + 2] == degrees.tonic &&
                            s.song.Half(2 * m).pitchClassCount <= kMaxPitchClasses;
        previousPassed = passes;
        if (!passes) continue;
        const int t = s.MainNote(2 * m);
        const int u = s.MainNote(2 * m + 1);
        const int v = s.MainNote(2 * m + 2);
        const bool exactlyOne = (t != kNoNote) != (u != kNoNote);
        if (exactlyOne || (t != kNoNote && u == t && (v == kNoNote || v == t))) {
            s.code[2 * m + 1] = kKeepsFirstHalf;
        }
    }
}

void MarkLongTonicRuns(KeyRunState& s, const KeyDegrees& degrees) {
    int count = 0;
    for (int m = 0; m + 1 < s.measures; ++m) {
        if (!IsFreeCode(s.code[2 * m])) {
            count = 0;
            continue;
        }
        ++count;
        if (count >= kLongTonicRun && s.chord[2 * m] == degrees.tonic) {
            s.code[2 * m - 2] = kCodeBreak1;
            s.code[2 * m] = kCodeVariation;
            count = 0;
        }
    }
}

void ClearMiddleCadences(KeyRunState& s) {
    const int a = 2 * s.measures / 4;
    const int h = a / 2;
    for (int m = h; m <= 3 * h - 1 && m < s.measures; ++m) {
        const int code = s.code[2 * m];
        if (s.song.Half(2 * m).pitchClassCount > 0 &&
            (code == kCodeIntro2 || code == kCodeIntro1)) {
            s.code[2 * m] = 0;
        }
    }
}

void MarkCode5(KeyRunState& s) {
    for (int m = 0; m + 1 < s.measures; ++m) {
        if (s.code[2 * m] == 0 && s.code[2 * m + 2] == 0) s.code[2 * m + 2] = kCodeNormal2;
    }
}

bool HasMainNote(const KeyRunState& s, int m) {
    return s.MainNote(2 * m) != kNoNote || s.MainNote(2 * m + 1) != kNoNote;
}

void MarkDrumsAndBreaks(KeyRunState& s) {
    std::int64_t last = 0;
    int silent = 0;
    for (int m = 0; m < s.measures; ++m) {
        s.drum[m] = s.code[2 * m];
        if (s.code[2 * m] == kCodeStop) {
            last = 2 * m;
            silent = 0;
        } else if (HasMainNote(s, m)) {
            if (silent > kSilentMeasuresBeforeBreak && 2 * m > last + 2 * s.params.phraseLen) {
                s.code[2 * m - 2] = kCodeBreak2;
                s.drum[m - 1] = kCodeBreak2;
                s.code[2 * m - 1] = 0;
                s.code[2 * m] = kCodeStop;
                s.drum[m] = kCodeStop;
                s.code[2 * m + 1] = 0;
                last = 2 * m;
            }
            silent = 0;
        } else {
            ++silent;
        }
    }
}

void FillGaps(KeyRunState& s) {
    HaStr remembered(s.Tonic());
    for (HaStr& chord : s.chord) {
        if (chord != kNoChord) {
            remembered = chord;
        } else {
            chord = remembered;
        }
    }
}

// The NoteChords13 row of the key line's own key signature; the tonic must be that of its major
// key or of the relative minor.
const std::array<std::string_view, 13>& CheckCdKet(const KeyRunState& s) {
    const formats::KeyRec& rec = formats::KeyRecTable[s.key];
    const int cdKet = rec.tonicPitchClass + 1;
    if (cdKet < 1) throw worker::WorkerFatal(Format("Invalid CdKet: %d", cdKet));
    for (int code = 0; code + 1 < kKeyCount; code += 2) {
        const formats::KeyRec& major = formats::KeyRecTable[code];
        if (major.accidentals != rec.accidentals || major.sharps != rec.sharps) continue;
        const bool sharps = rec.sharps != 0;
        if (cdKet == major.tonicPitchClass + 1) {
            return NoteChordRow(sharps, false, rec.accidentals);
        }
        if (cdKet == formats::KeyRecTable[code + 1].tonicPitchClass + 1) {
            return NoteChordRow(sharps, true, rec.accidentals);
        }
        break;
    }
    throw worker::WorkerFatal("Error: Invalid EndNote (CdKet) for this Key.");
}

void ChordsForSecondHalfNotes(KeyRunState& s, const std::array<std::string_view, 13>& row) {
    for (int m = 0; m + 1 < s.measures; ++m) {
        const int half = 2 * m + 1;
        if (s.song.Half(half).mainName.empty()) continue;
        const std::string_view candidate = row[s.MainNote(half) + 1];
        if (DemNoteNmOk(s.song, candidate, half) > DemNoteNmOk(s.song, s.chord[half], half) &&
            candidate != s.chord[half + 1]) {
            s.chord[half] = candidate;
        }
    }
}

void AddColour(KeyRunState& s) {
    const SongInput& song = s.song;
    for (int k = 0; k + 2 < s.Halves(); ++k) {
        HaStr chord = s.chord[k];
        if (ChordChar(chord, 5) == 'o') continue;
        bool taken = false;
        if (ChordChar(chord, 3) == '.') {
            HaStr c = WithChar(chord, 3, 'M');
            const int colour = DemNoteNmOkM(song, c, k);
            const int plain = DemNoteNmOkM(song, chord, k);
            if (colour > plain) {
                if (k > 0 &&
                    !(ChordChar(c, 4) == '7' && CountSharedNotesM(s.chord[k - 1], c) == 0)) {
                    chord = c;
                    taken = true;
                }
            } else if (colour == plain && ChordChar(c, 4) != '7') {
                const int ninth = (RootPitchClass(c) + 2) % kPitchClasses;
                if (song.songPitchClasses[ninth]) {
                    chord = c;
                    taken = true;
                    if (k % 2 == 1) {
                        const HaStr seventh = WithChar(c, 4, '7');
                        if (DemNoteNmOkM(song, seventh, k) > DemNoteNmOkM(song, c, k)) {
                            chord = seventh;
                        }
                    }
                }
            }
        } else {
            const HaStr c = WithChar(chord, 4, '7');
            if (DemNoteNmOkM(song, c, k) > DemNoteNmOkM(song, chord, k) && k > 0 &&
                CountSharedNotes(s.chord[k - 1], c) > 0) {
                chord = c;
                taken = true;
            }
        }
        if (ChordChar(chord, 3) != 'M') {
            const HaStr c = WithChar(chord, 3, 's');
            if (DemNoteNmOkS(song, c, k) > DemNoteNmOkS(song, chord, k)) {
                chord = c;
                taken = true;
            }
        }
        const char quality = ChordChar(chord, 3);
        if (!taken && (quality == 'm' || quality == '.') && ChordChar(chord, 4) != '7') {
            const HaStr c = WithChar(chord, 4, '6');
            if (DemNoteNmOk(song, c, k) > DemNoteNmOk(song, chord, k)) {
                chord = c;
                taken = true;
            }
        }
        if (k % 2 == 1 && ChordChar(chord, 5) == '.') {
            const HaStr c = WithChar(chord, 5, '+');
            constexpr int kMajorSixth = 9;
            if (DemNoteNmOk(song, c, k) > DemNoteNmOk(song, chord, k) &&
                IsChordTone(ChordRootPitch(c) + kMajorSixth, s.chord[k + 1])) {
                chord = c;
            }
        }
        s.chord[k] = chord;
    }
}

}  // namespace

void RefineChords(KeyRunState& s) {
    const int n = s.measures;
    if (n == 0) return;
    const KeyDegrees degrees{HaStr(s.Chord7(kTonic)), HaStr(s.Chord7(kDominantSeventh)),
                             HaStr(s.Chord7(kSubdominant)), HaStr(s.Chord7(kDominant))};
    SmoothChordPairs(s);
    MarkEndingMeasures(s);
    DoiHaMinus(s);
    DoiHaPlus(s);
    SetV7BeforeI(s, degrees);
    MinorEndingDominants(s);
    if (IsBlankChord(s.chord[0]) && FitsOrSilent(s, 0, degrees.tonic)) s.chord[0] = degrees.tonic;
    for (int m = 0; m < n; ++m) s.code[2 * m + 1] = 0;
    ReviseOpenMeasures(s, degrees);
    MarkSingleHarmony(s, degrees);
    MarkLongTonicRuns(s, degrees);
    ClearMiddleCadences(s);
    MarkCode5(s);
    s.chord[2 * (n - 1)] = degrees.tonic;
    s.chord[2 * (n - 1) + 1] = kNoChord;
    MarkDrumsAndBreaks(s);
    FillGaps(s);
    if (s.params.acMode == 1) return;

    const auto& row = CheckCdKet(s);
    if (s.params.acMode != 4) ChordsForSecondHalfNotes(s, row);
    if (s.params.acMode == 2) return;
    AddColour(s);
}

}  // namespace chordmaker
