// The reader of the song input: the system's subset of the Standard MIDI File (format 1,
// 384 ticks per quarter note, explicit status bytes, the first two track chunks). It walks the
// events, keeps the meter, key signature and tempo, and collects the notes of the current
// measure; what becomes of a finished measure is the worker's own business, told through the
// MeasureSink hooks. The song loader and the key detector both read with it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "formats/midi_bytes.h"
#include "formats/song_limits.h"

namespace worker {

using formats::kMaxMeasures;
using formats::kTicksPerQuarter;
using formats::Tick;
using MeasureIndex = std::int32_t;

constexpr int kMeasureNoteSlots = 40;
constexpr int kMaxMeasureNotes = 39;
constexpr int kGridTicks = 48;  // a 32nd note
constexpr int kBeatSlots = 48;
constexpr int kBeatSlotTicks = 32;

// MIDI bytes the reader recognises.
namespace midi = formats::midi;

// How a worker places notes in a measure: tick positions, or 32nd-note steps.
enum class QuantMode : int { kTick = 0, kQuantised = 1, kQuantisedOneNote = 2 };

struct MeterState {
    int beatsPerMeasure = 0;  // in quarter notes: 3 for 6/8
    std::string meterText;    // "2/4", "3/4", "4/4" or "6/8"
    int tripleFlag = 0;       // set by 3/4, cleared by 6/8, kept by 2/4 and 4/4
    int quantSplit = 0;
    int quantSplitTriple = 0;
    Tick ticksPerMeasure = 0;
    Tick halfMeasure = 0;
    Tick twoThirdsMeasure = 0;
};

// A note of the measure being collected. Start is -1 for a note begun in an earlier measure,
// End -1 while it sounds; positions are in the unit of the QuantMode.
struct CurNote {
    std::int16_t start = -1;
    std::int16_t end = -1;
    std::int16_t note = -1;
    std::int16_t length = 0;
    std::int16_t spare = 0;
    std::int16_t velocity = 0;
};

struct CurNoteList {
    std::array<CurNote, kMeasureNoteSlots> entries;
    int count = 0;
};

struct MeasureNote {
    std::int16_t note = 0;  // 0 = free slot
    std::int32_t onOffset = 0;
    std::int32_t offOffset = 0;
};

// Everything one read of a song produces and the measure flush looks at.
struct SongState {
    QuantMode quantMode = QuantMode::kQuantised;
    MeterState meter;
    int currentKeySign = 0;
    int songKeySign = 0;  // the key signature in force at the last note-on
    std::int32_t songTempoBpm = 0;
    std::array<int, kBeatSlots> btHistogram{};
    std::array<std::array<MeasureNote, kMeasureNoteSlots>, kMaxMeasures> measureNoteTable{};
    CurNoteList curNotes;
    MeasureIndex curMeasure = 0;
    MeasureIndex lastEventMeasure = 0;
    Tick songTick = 0;
};

// A result of the reader or a hook: ok, or failed with the system's message text.
struct [[nodiscard]] ReadStatus {
    bool ok = true;
    std::string message;
    static ReadStatus Ok() { return {}; }
    static ReadStatus Fail(std::string text) { return {false, std::move(text)}; }
};

// The worker's side of the reading.
class MeasureSink {
  public:
    virtual ~MeasureSink() = default;
    // Extra work for a recognised note-on or note-off, before the measure collection sees it.
    virtual ReadStatus OnNoteOn(const SongState&, int /*key*/) { return ReadStatus::Ok(); }
    virtual ReadStatus OnNoteOff(const SongState&, int /*key*/) { return ReadStatus::Ok(); }
    // The key detector's note-on probe does not count onsets.
    virtual bool CountsBeatHistogram() const { return true; }
    // Writes or drops the measure in state.curNotes, fills the gap up to `newMeasure` with empty
    // measures and leaves the list reset (ResetMeasureNotes).
    virtual ReadStatus FlushMeasure(SongState& state, MeasureIndex newMeasure) = 0;
};

void ResetMeasureNotes(CurNoteList& list);
bool HasPendingNotes(const CurNoteList& list);

// Folds a MIDI note into 60..71 by whole octaves.
int FoldToMiddleOctave(int note);

// Reads the song bytes: header checks, then the reading loop over the first two track chunks.
// Returns the first failure with its message; on success every measure has been flushed.
ReadStatus ReadSong(std::span<const std::uint8_t> song, SongState& state, MeasureSink& sink);

}  // namespace worker
