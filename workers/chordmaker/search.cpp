// The engine run for one key: transition scores, the backward best-path search over the
// candidate lists and the code-to-chord step.
#include "workers/chordmaker/chord_engine.h"
#include "workers/chordmaker/error_text.h"
#include "workers/chordmaker/fit_scores.h"
#include "workers/common/worker_fatal.h"

namespace chordmaker {

namespace {

constexpr int kSharedNoteValue = 40;
constexpr int kChangeBonus = 50;
constexpr int kRepeatPenalty = -30;
constexpr int kCadenceStepBonus = 200;
constexpr int kRelativeStepBonus = 100;
constexpr int kBarLineBonus = 100;
constexpr std::int32_t kNoPath = -999999;

bool UsesProgressionBonus(const RunParameters& params) {
    return params.acMode > 1 && params.acMode != 4;
}

int Places(const CandidateList& list) {
    int count = 0;
    while (count < kMaxCandidates && list[count] != 0) ++count;
    return count;
}

int FitOnHalf(const SongInput& song, std::string_view chord, int half) {
    return IsHaBaChord(chord) ? DemNoteBaOk(song, chord, half) : DemNoteNmOk(song, chord, half);
}

// Colour codes count as the degree they lean on.
int StepDegree(int code) {
    switch (code) {
        case 25:
            return 5;
        case 35:
            return 15;
        case 21:
        case 41:
            return 1;
        case 31:
        case 51:
            return 11;
        default:
            return code;
    }
}

bool IsCadenceStep(int from, int to) {
    return (from == 1 && to == 4) || (from == 4 && to == 5) || (from == 5 && to == 1);
}

}  // namespace

KeyRunState::KeyRunState(const SongInput& songInput, KeyCode keyCode, RunParameters runParams,
                         EngineOptions engineOptions)
    : song(songInput),
      key(keyCode),
      relative(RelativeKey(keyCode)),
      minor(IsMinorKey(keyCode)),
      params(runParams),
      options(engineOptions),
      measures(songInput.MeasureCount()),
      chord(static_cast<std::size_t>(measures) * 2, HaStr(kNoChord)),
      code(static_cast<std::size_t>(measures) * 2, 0),
      drum(static_cast<std::size_t>(measures), 0),
      candidates(static_cast<std::size_t>(measures) * 2, CandidateList{}),
      pathScore(static_cast<std::size_t>(measures) * 2, std::array<std::int32_t, kMaxCandidates>{}),
      pathBack(static_cast<std::size_t>(measures) * 2, std::array<std::int16_t, kMaxCandidates>{}),
      chosen(static_cast<std::size_t>(measures) * 2, 0) {}

int Ok2Next(const KeyRunState& state, int codeA, int codeB, int half) {
    const auto a = ChordOfCode(state.key, codeA);
    if (!a) throw worker::WorkerFatal(Format("Error: invalid BacC in function Ok2-Next %d", codeA));
    const auto b = ChordOfCode(state.key, codeB);
    if (!b) throw worker::WorkerFatal(Format("Error: invalid BacN in function Ok2-Next %d", codeB));

    const NoteSet notesA = ChordNotes(*a);
    const NoteSet notesB = ChordNotes(*b);
    int shared = 0;
    for (int place = kFifth; place <= kSeventh; ++place) {
        const int note = notesA[place];
        if (note == kNoNote) continue;
        bool repeated = false;
        for (int earlier = kFifth; earlier < place; ++earlier) repeated |= notesA[earlier] == note;
        if (repeated) continue;
        for (int other = kFifth; other <= kSeventh; ++other) {
            if (notesB[other] == note) {
                shared += kSharedNoteValue;
                break;
            }
        }
    }

    const int fit = FitOnHalf(state.song, *a, half) + FitOnHalf(state.song, *b, half + 1);

    int bonus = 0;
    if (UsesProgressionBonus(state.params)) {
        const int noteA = state.MainNote(half);
        const int noteB = state.MainNote(half + 1);
        if (noteA != kNoNote && noteB != kNoNote && noteA != noteB) {
            bonus = *a != *b ? kChangeBonus : kRepeatPenalty;
        }
    }
    return shared + fit + bonus;
}

int ScoreChordStep(const KeyRunState& state, int codeA, int codeB, int half) {
    const int score = Ok2Next(state, codeA, codeB, half);
    if (!UsesProgressionBonus(state.params)) return score;
    const int barLine = half % 2 == 1 ? kBarLineBonus : 0;
    const int a = StepDegree(codeA);
    const int b = StepDegree(codeB);
    if (a == 4 && b == 15) return score - barLine;
    if (IsCadenceStep(a, b)) return score + barLine + kCadenceStepBonus;
    if (a == 5 && b == 4) return score - barLine;
    if (a == b) return score + barLine + kCadenceStepBonus;
    const int ownA = a > 10 ? a - 10 : a;
    const int ownB = b > 10 ? b - 10 : b;
    if (IsCadenceStep(ownA, ownB)) return score + barLine + kRelativeStepBonus;
    if ((ownA == 5 && ownB == 4) || ownA == ownB) return score - barLine;
    return score;
}

void SearchBestPath(KeyRunState& state) {
    const int halves = state.Halves();
    for (int half = halves - 3; half >= 0; --half) {
        const CandidateList& list = state.candidates[half];
        const CandidateList& next = state.candidates[half + 1];
        const int places = Places(list);
        const int nextPlaces = Places(next);
        for (int j = 0; j < places; ++j) {
            std::int32_t best = kNoPath;
            for (int i = 0; i < nextPlaces; ++i) {
                const std::int32_t total =
                    ScoreChordStep(state, list[j], next[i], half) + state.pathScore[half + 1][i];
                if (total > best) {
                    best = total;
                    state.pathScore[half][j] = total;
                    state.pathBack[half][j] = static_cast<std::int16_t>(i);
                }
            }
        }
    }

    int start = 0;
    const int places = halves > 0 ? Places(state.candidates[0]) : 0;
    state.pathScoreDump.clear();
    for (int j = 0; j < places; ++j) {
        if (state.pathScore[0][j] > state.pathScore[0][start]) start = j;
        state.pathScoreDump += Format("%06ld,", static_cast<long>(state.pathScore[0][j]));
    }

    int place = start;
    for (int half = 0; half < halves; ++half) {
        state.chosen[half] = state.candidates[half][place];
        place = state.pathBack[half][place];
    }
}

void CodesToChords(KeyRunState& state) {
    const std::string_view ownColour = KeyChord7(state.key, 6);
    const std::string_view relativeColour = KeyChord7(state.relative, 6);
    for (int half = 0; half < state.Halves(); ++half) {
        const int chosen = state.chosen[half];
        const HaStr& chord = state.chord[half];
        if (chosen <= 0 || !IsFreeCode(state.code[half]) || IsHaBaChord(chord) ||
            chord == ownColour || chord == relativeColour) {
            continue;
        }
        const auto replacement = ChordOfCode(state.key, chosen);
        if (replacement) state.chord[half] = *replacement;
    }
}

void FindChords(KeyRunState& state) {
    const int halves = state.Halves();
    if (halves == 0) return;
    PresetChords(state);
    ReviseRuns(state);
    for (int half = 0; half + 2 < halves; ++half) ListCandidates(state, half);
    state.candidates[halves - 2] = CandidateList{kCodeTonic};
    state.candidates[halves - 1] = CandidateList{kCodeTonic};
    SearchBestPath(state);
    CodesToChords(state);
    RefineChords(state);
}

}  // namespace chordmaker
