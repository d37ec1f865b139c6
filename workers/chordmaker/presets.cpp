// Cadence presets, their revisions and the candidate lists of the chord engine.
#include <optional>
#include <vector>

#include "workers/chordmaker/chord_engine.h"
#include "workers/chordmaker/fit_scores.h"
#include "workers/common/worker_fatal.h"

namespace chordmaker {

namespace {

// Codes a preset writes as own codes.
constexpr int kCodeFinal = 1;
constexpr int kCodeDominantRun = 2;
constexpr int kCodePredominantRun = 3;
constexpr int kCodeFirstRun = 4;
constexpr int kCodePrefix = 7;
constexpr int kMaxRunMeasures = 2;

struct Cadence {
    int final;
    int dominant;
    int predominant;
    int first;
};

CandidateList SingleCandidate(int code) {
    CandidateList list{};
    list[0] = code;
    return list;
}

// A run going back from `from`, at most two measures while the index is above `above`, of
// measures whose first-half main note fits `chord`. A coded measure fails the cadence; so does
// an empty run. Returns the run's first half.
std::optional<int> FindRun(const KeyRunState& state, int from, std::string_view chord, int above) {
    int start = -1;
    int half = from;
    for (int count = 0; count < kMaxRunMeasures && half > above; ++count, half -= 2) {
        if (state.code[half] != 0) return std::nullopt;
        if (!ChordFitsSlot(state.song, half, state.MainNote(half), chord, kFitChordTone)) break;
        start = half;
    }
    if (start < 0) return std::nullopt;
    return start;
}

bool FinalFits(const KeyRunState& state, int flag, int half) {
    const std::string_view tonic = state.Tonic();
    if (flag == 0) {
        return state.MainNote(half) != kNoNote &&
               ChordFitsSlot(state.song, half, state.MainNote(half), tonic, kFitRootOnly) &&
               ChordFitsSlot(state.song, half + 1, state.MainNote(half + 1), tonic, kFitRootOnly);
    }
    const int position = state.song.Half(half).mainPosition;
    return ChordFitsSlot(state.song, half, state.MainNote(half), tonic, kFitChordTone) &&
           position >= 0 && position <= 4;
}

struct CadenceChords {
    std::string_view dominant;
    std::string_view predominant;
    std::string_view first;  // empty: no first-chord run
};

std::optional<Cadence> FindCadenceBack(const KeyRunState& state, int flag, int from,
                                       const CadenceChords& chords) {
    for (int final = from; final > 5; final -= 2) {
        if (!IsFreeCode(state.code[final])) continue;
        if (!FinalFits(state, flag, final)) continue;
        const auto dominant = FindRun(state, final - 2, chords.dominant, 3);
        if (!dominant) continue;
        const auto predominant = FindRun(state, *dominant - 2, chords.predominant, 1);
        if (!predominant) continue;
        int first = *predominant;
        if (!chords.first.empty()) {
            const auto firstRun = FindRun(state, *predominant - 2, chords.first, -1);
            if (!firstRun) continue;
            first = *firstRun;
        }
        return Cadence{final, *dominant, *predominant, first};
    }
    return std::nullopt;
}

void WriteRun(KeyRunState& state, int from, int to, std::string_view chord, int code,
              int candidate) {
    for (int half = from; half < to; ++half) {
        state.chord[half] = chord;
        state.code[half] = code;
        state.candidates[half] = SingleCandidate(candidate);
    }
}

enum class NextStart { kFirst, kBeforeFirst, kPredominant };

struct PresetProcedure {
    int limit = 0;
    int flag = 0;
    std::vector<HaStr> dominants;
    std::vector<HaStr> predominants;
    std::vector<HaStr> firsts;  // empty: the procedure has no first-chord run
    int firstCode = kCodeSubdominant;
    int predominantCode = kCodeSubdominant;
    // The basic presets list a tonic pre-dominant as I.
    bool tonicPredominantAsTonic = false;
    int dominantCode = kCodeDominant;
    bool prefix = false;
    NextStart next = NextStart::kFirst;
    bool optionOneBecomesV7 = false;
};

// The measure before the first chord must fit I in both halves; it then becomes a tonic
// measure (code 7) before the cadence.
bool PrefixFits(KeyRunState& state, int first) {
    if (first < 2) return false;
    const int half = first - 2;
    const std::string_view tonic = state.Tonic();
    if (!ChordFitsSlot(state.song, half, state.MainNote(half), tonic, kFitChordTone) ||
        !ChordFitsSlot(state.song, half + 1, state.MainNote(half + 1), tonic, kFitChordTone)) {
        return false;
    }
    state.chord[half] = tonic;
    state.chord[half + 1] = tonic;
    state.code[half] = kCodePrefix;
    state.candidates[half] = SingleCandidate(kCodeTonic);
    state.candidates[half + 1] = SingleCandidate(kCodeTonic);
    return true;
}

void RunPreset(KeyRunState& state, PresetProcedure procedure) {
    const std::size_t firstOptions = procedure.firsts.empty() ? 1 : procedure.firsts.size();
    const std::size_t combinations =
        procedure.dominants.size() * procedure.predominants.size() * firstOptions;
    struct ScanMemo {
        bool valid = false;
        int from = 0;
        std::optional<Cadence> result;
    };
    std::vector<ScanMemo> memo(combinations);
    const std::string_view tonic = state.Tonic();
    const HaStr dominantSeventh(state.Chord7(kDominantSeventh));

    int start = state.Halves() - 2;
    while (start > procedure.limit) {
        int next = start;
        std::size_t combination = 0;
        bool found = false;
        for (std::size_t d = 0; d < procedure.dominants.size() && !found; ++d) {
            for (std::size_t p = 0; p < procedure.predominants.size() && !found; ++p) {
                for (std::size_t f = 0; f < firstOptions && !found; ++f, ++combination) {
                    const CadenceChords chords{
                        procedure.dominants[d], procedure.predominants[p],
                        procedure.firsts.empty() ? std::string_view() : procedure.firsts[f]};
                    ScanMemo& scan = memo[combination];
                    const bool reusable = state.options.reuseCadenceScans && scan.valid &&
                                          scan.from >= start &&
                                          (!scan.result || scan.result->final <= start);
                    if (!reusable) {
                        scan.result = FindCadenceBack(state, procedure.flag, start, chords);
                        scan.from = start;
                        scan.valid = true;
                    }
                    if (!scan.result) continue;
                    const Cadence cadence = *scan.result;
                    if (procedure.prefix && !PrefixFits(state, cadence.first)) continue;

                    WriteRun(state, cadence.first, cadence.predominant, chords.first, kCodeFirstRun,
                             procedure.firstCode);
                    const int predominantCode =
                        procedure.tonicPredominantAsTonic && chords.predominant == tonic
                            ? kCodeTonic
                            : procedure.predominantCode;
                    WriteRun(state, cadence.predominant, cadence.dominant, chords.predominant,
                             kCodePredominantRun, predominantCode);
                    WriteRun(state, cadence.dominant, cadence.final, chords.dominant,
                             kCodeDominantRun, procedure.dominantCode);
                    state.chord[cadence.final] = tonic;
                    state.code[cadence.final] = kCodeFinal;
                    state.candidates[cadence.final] = SingleCandidate(kCodeTonic);
                    state.chord[cadence.final + 1] = tonic;
                    state.candidates[cadence.final + 1] = SingleCandidate(kCodeTonic);

                    if (procedure.optionOneBecomesV7 && d == 0 &&
                        procedure.dominants[0] != dominantSeventh) {
                        procedure.dominants[0] = dominantSeventh;
                        for (std::size_t i = 0; i < procedure.predominants.size() * firstOptions;
                             ++i) {
                            memo[i].valid = false;
                        }
                    }
                    switch (procedure.next) {
                        case NextStart::kFirst:
                            next = cadence.first;
                            break;
                        case NextStart::kBeforeFirst:
                            next = cadence.first - 2;
                            break;
                        case NextStart::kPredominant:
                            next = cadence.predominant;
                            break;
                    }
                    found = true;
                }
            }
        }
        start = next - 2;
    }
}

std::vector<HaStr> DominantOptions(const KeyRunState& state, int flag) {
    const HaStr v7(state.Chord7(kDominantSeventh));
    const HaStr v(state.Chord7(kDominant));
    return {state.minor && flag == 0 ? HaStr(state.Chord5(4)) : v7, v7, WithChar(v7, 3, 'm'), v,
            WithChar(v, 3, 'm')};
}

PresetProcedure PresetCadences(const KeyRunState& state, int flag) {
    PresetProcedure procedure;
    procedure.limit = 8;
    procedure.flag = flag;
    procedure.dominants = DominantOptions(state, flag);
    procedure.predominants = {HaStr(state.Chord7(kSubdominant))};
    if (state.minor) procedure.predominants.emplace_back(state.Chord5(2));
    procedure.firsts = {HaStr(state.Tonic())};
    procedure.firstCode = kCodeTonic;
    procedure.next = NextStart::kFirst;
    procedure.optionOneBecomesV7 = true;
    return procedure;
}

PresetProcedure PresetCadencesBasic(const KeyRunState& state, int flag) {
    PresetProcedure procedure;
    procedure.limit = 6;
    procedure.flag = flag;
    procedure.dominants = DominantOptions(state, flag);
    procedure.predominants = {HaStr(state.Tonic()), HaStr(state.Chord7(kSubdominant))};
    if (state.minor) procedure.predominants.emplace_back(state.Chord5(2));
    procedure.tonicPredominantAsTonic = true;
    procedure.next = NextStart::kPredominant;
    procedure.optionOneBecomesV7 = true;
    return procedure;
}

// The three presets that need a tonic measure before the cadence.
PresetProcedure PrefixedPreset(const KeyRunState& state, std::vector<HaStr> predominants,
                               std::vector<HaStr> firsts) {
    PresetProcedure procedure;
    procedure.limit = 10;
    procedure.flag = 0;
    procedure.dominants = {HaStr(state.Chord7(kDominant))};
    procedure.predominants = std::move(predominants);
    procedure.firsts = std::move(firsts);
    procedure.prefix = true;
    procedure.next = NextStart::kBeforeFirst;
    return procedure;
}

PresetProcedure PresetCadencesII(const KeyRunState& state) {
    const HaStr subdominant(state.Chord7(kSubdominant));
    return PrefixedPreset(state, {HaStr(state.Chord5(0))},
                          state.minor
                              ? std::vector<HaStr>{subdominant, subdominant}
                              : std::vector<HaStr>{HaStr(state.Chord5(2)), HaStr(state.Tonic())});
}

PresetProcedure PresetCadencesIV(const KeyRunState& state) {
    return PrefixedPreset(state, {HaStr(state.Chord7(kSubdominant))},
                          {HaStr(state.Chord5(state.minor ? 2 : 3))});
}

PresetProcedure PresetCadencesVII(const KeyRunState& state) {
    return PrefixedPreset(state, {HaStr(state.Chord5(2))}, {HaStr(state.Chord5(4))});
}

// Runs of matching measures: the 2nd, 4th ... measure of a run gets the action.
template <typename Match, typename Action>
void ReviseAlternate(KeyRunState& state, Match match, Action action) {
    bool on = false;
    for (int measure = 0; measure + 1 < state.measures; ++measure) {
        if (!match(measure)) {
            on = false;
            continue;
        }
        if (on) action(measure);
        on = !on;
    }
}

}  // namespace

bool IsFreeCode(int code) {
    return code == 0 || code == 5;
}

void PresetChords(KeyRunState& state) {
    const int mode = state.params.acMode;
    if (mode != 2 && mode != 3) {
        RunPreset(state, PresetCadencesBasic(state, 0));
        RunPreset(state, PresetCadencesBasic(state, 1));
        return;
    }
    if (state.minor) RunPreset(state, PresetCadencesVII(state));
    RunPreset(state, PresetCadencesII(state));
    RunPreset(state, PresetCadencesIV(state));
    RunPreset(state, PresetCadences(state, 0));
    RunPreset(state, PresetCadencesBasic(state, 0));
    RunPreset(state, PresetCadences(state, 1));
}

void ReviseRuns(KeyRunState& state) {
    const int mode = state.params.acMode;
    if (mode <= 1 || mode == 4) return;
    const HaStr tonic(state.Tonic());
    const HaStr subdominant(state.Chord7(kSubdominant));
    const HaStr dominantSeventh(state.Chord7(kDominantSeventh));
    const HaStr colour(state.Chord5(state.minor ? 2 : 3));
    auto& chord = state.chord;

    ReviseAlternate(
        state, [&](int m) { return state.code[2 * m] == kCodeFirstRun && chord[2 * m] == tonic; },
        [&](int m) {
            if (!ChordHasNote(state.MainNote(2 * m), colour)) return;
            chord[2 * m] = colour;
            if (ChordHasNote(state.MainNote(2 * m + 1), colour)) chord[2 * m + 1] = colour;
        });
    ReviseAlternate(
        state,
        [&](int m) {
            return state.code[2 * m] == kCodePredominantRun && chord[2 * m] == subdominant;
        },
        [&](int m) {
            const int previous = 2 * m - 2;
            if (ChordHasNote(state.MainNote(previous), colour)) {
                chord[previous] = colour;
                if (ChordHasNote(state.MainNote(previous + 1), colour)) {
                    chord[previous + 1] = colour;
                }
            } else if (ChordHasNote(state.MainNote(previous + 1), dominantSeventh) &&
                       ChordHasNote(state.MainNote(2 * m), tonic)) {
                chord[previous + 1] = dominantSeventh;
                chord[2 * m] = tonic;
            }
        });
    ReviseAlternate(
        state, [&](int m) { return state.code[2 * m] == kCodeDominantRun; },
        [&](int m) {
            const int previous = 2 * m - 2;
            if (!ChordHasNote(state.MainNote(previous), subdominant)) return;
            chord[2 * m] = chord[previous];
            chord[previous] = subdominant;
        });
}

void ListCandidates(KeyRunState& state, int half) {
    if (!IsFreeCode(state.MeasureCode(half))) return;
    CandidateList& list = state.candidates[half];
    list.fill(0);
    const int note = state.MainNote(half);
    if (note == kNoNote) {
        list = {1, 4, 5, 11, 14, 15, 0, 0};
        return;
    }
    int count = 0;
    // Own key, then the relative key: I, V7, IV hold the note as fifth, root or third; a V
    // that holds it closes the list.
    constexpr std::array<int, 3> kOwnCodes = {1, 5, 4};
    constexpr std::array<int, 3> kRelativeCodes = {11, 15, 14};
    for (const KeyCode row : {state.key, state.relative}) {
        const auto& codes = row == state.key ? kOwnCodes : kRelativeCodes;
        for (int entry = kTonic; entry <= kDominant; ++entry) {
            if (count >= kMaxCandidates) break;
            const NoteSet notes = KhHa2Notes(KeyChord7(row, entry));
            if (notes[kFifth] != note && notes[kRoot] != note && notes[kThird] != note) continue;
            if (entry == kDominant) return;
            list[count++] = codes[entry];
        }
    }
    if (count > 0) return;

    // No triad holds the note: a colour chord whose (moved) root is the note.
    struct Colour {
        int code;
        bool relative;
        int entry;
    };
    constexpr std::array<Colour, 6> kColours = {{{25, false, 4},
                                                 {35, true, 4},
                                                 {21, false, 5},
                                                 {31, true, 5},
                                                 {41, false, 6},
                                                 {51, true, 6}}};
    for (const Colour& colour : kColours) {
        NoteSet notes;
        const std::string_view chord =
            KeyChord7(colour.relative ? state.relative : state.key, colour.entry);
        if (ReadHaBaTones(chord, notes) != 0) throw worker::WorkerFatal("\nInvalid HaBa String");
        if (notes[kRoot] == note) {
            list[0] = colour.code;
            return;
        }
    }
    list[0] = kCodeTonic;
}

}  // namespace chordmaker
