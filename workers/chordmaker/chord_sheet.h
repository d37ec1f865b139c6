// The chord maker's whole result: every key line of the key list runs the engine over the song
// and keeps its result from that line's measure on; three finishing passes mark style changes,
// blank repeated chords and mark the measure before an Intro1; the records are then formatted
// for Data.aco (35 characters each, coded with the run key).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "workers/chordmaker/chord_engine.h"

namespace chordmaker {

struct MeasureRecord {
    int inst = 0;
    int drum = 0;
    HaStr chord1{kNoChord};
    HaStr chord2{kNoChord};
    int keptDigit = 0;  // CdKet + 1 of the key that produced the measure
    int sty = 0;
    std::string keyName;  // the name of the key whose line starts here
};

struct ChordSheet {
    std::vector<MeasureRecord> measures;
    // The last key run's path scores, for Error1.msg; none when no key run happened.
    std::optional<std::string> pathScoreDump;
};

// What one key run leaves for the sheet.
struct KeyRunResult {
    std::vector<int> inst;
    std::vector<int> drum;
    std::vector<HaStr> chords;
    std::string pathScoreDump;
};

// One key run from a clean state; throws worker::WorkerFatal.
KeyRunResult RunKey(const SongInput& song, KeyCode key, const RunParameters& params,
                    const EngineOptions& options = {});

// Reads KeysData.Aco and runs its key lines; false with the message appended to `log`.
[[nodiscard]] bool MakeChordSheet(const SongInput& song, std::span<const std::uint8_t> keysData,
                                  const RunParameters& params, ChordSheet& sheet, std::string& log,
                                  const EngineOptions& options = {});

void MarkPhraseStarts(ChordSheet& sheet, std::int64_t phraseLen);
void BlankRepeatedChords(ChordSheet& sheet);
void MarkBeforeCode4(ChordSheet& sheet);

// The plain text of one record, as it is before coding.
std::string FormatChordDataRecord(int measure, const MeasureRecord& record);
// All records; false when a record is not exactly 35 characters.
[[nodiscard]] bool FormatChordData(const ChordSheet& sheet, std::string& plain);

}  // namespace chordmaker
