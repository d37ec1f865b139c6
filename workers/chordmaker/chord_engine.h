// The chord engine's run for one key over the whole song (`FindChords`): the cadence presets and
// their revisions, the candidate lists, the best-path search with its path-score dump, the code
// to chord step and the refinement passes. A run starts from a clean state, so its result depends
// only on the song, the key, `AcMode` and `PhraseLen`.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "workers/chordmaker/chord_string.h"
#include "workers/chordmaker/key_chords.h"
#include "workers/chordmaker/song_input.h"

namespace chordmaker {

struct RunParameters {
    std::int32_t acMode = 1;
    // Measures between two style changes or two inserted breaks; kept wide so that any token
    // times 8 fits.
    std::int64_t phraseLen = 0;
};

struct EngineOptions {
    // A cadence scan that found nothing, or found a cadence at or below the next start, gives
    // the same answer from a lower start within one preset procedure; reusing it changes no
    // result. Off only to compare with the plain scans.
    bool reuseCadenceScans = true;
};

inline constexpr int kMaxCandidates = 6;
// Candidate codes in order, ended by 0.
using CandidateList = std::array<int, kMaxCandidates + 2>;

struct KeyRunState {
    KeyRunState(const SongInput& song, KeyCode key, RunParameters params,
                EngineOptions options = {});

    const SongInput& song;
    KeyCode key;
    KeyCode relative;
    bool minor;
    RunParameters params;
    EngineOptions options;
    int measures;

    std::vector<HaStr> chord;  // HaStr per half
    // Own code per half: the first half's is the measure code (`Inst`), the second half's the
    // flag that keeps the first half's harmony.
    std::vector<int> code;
    std::vector<int> drum;  // per measure
    std::vector<CandidateList> candidates;
    std::vector<std::array<std::int32_t, kMaxCandidates>> pathScore;
    std::vector<std::array<std::int16_t, kMaxCandidates>> pathBack;
    std::vector<int> chosen;
    // The path scores of half 0's candidates, as Error1.msg gets them.
    std::string pathScoreDump;

    int Halves() const { return measures * 2; }
    int MeasureCode(int half) const { return code[half & ~1]; }
    int MainNote(int half) const { return song.Half(half).mainNote; }
    std::string_view Chord7(int entry) const { return KeyChord7(key, entry); }
    std::string_view Chord5(int entry) const { return KeyChord5(key, entry); }
    std::string_view Tonic() const { return Chord7(kTonic); }
};

bool IsFreeCode(int code);  // 0 or 5: no cadence, no break

// Part by part, in the engine's order.
void PresetChords(KeyRunState& state);
void ReviseRuns(KeyRunState& state);
void ListCandidates(KeyRunState& state, int half);
int Ok2Next(const KeyRunState& state, int codeA, int codeB, int half);
int ScoreChordStep(const KeyRunState& state, int codeA, int codeB, int half);
void SearchBestPath(KeyRunState& state);
void CodesToChords(KeyRunState& state);
void RefineChords(KeyRunState& state);

// The whole run; throws worker::WorkerFatal.
void FindChords(KeyRunState& state);

}  // namespace chordmaker
