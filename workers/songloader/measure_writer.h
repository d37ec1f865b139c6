// The song loader's measure flush: for every finished measure it picks a main note for each
// half, lists the notes of each half and counts statistics, writing one line group per measure
// to the measure files. Measures without notes become empty line groups.
#pragma once

#include <string>

#include "platform/file.h"
#include "workers/common/smf_reader.h"

namespace songloader {

using worker::CurNoteList;
using worker::MeasureIndex;
using worker::SongState;

constexpr int kMaxHalfNotes = 20;

// The main note chosen for one half measure; an empty name means none.
struct MainNote {
    std::string name;
    int note = 0;
    int weight = 0;
};

enum class Half { kFirst, kSecond };

// Picks the main note of one half of the measure in state.curNotes (lengths already set).
MainNote PickHalfMeasureNote(const SongState& state, Half half);

// The note name of a MIDI note in the spelling of the song's key signature.
std::string NoteName(int note, int songKeySign);

class MeasureWriter : public worker::MeasureSink {
  public:
    // The three measure files the writer appends to; they stay owned by the caller.
    MeasureWriter(platform::File& temps, platform::File& temps2, platform::File& notesDat)
        : temps_(temps), temps2_(temps2), notesDat_(notesDat) {}

    worker::ReadStatus FlushMeasure(SongState& state, MeasureIndex newMeasure) override;

    int measuresWritten() const { return measuresWritten_; }
    int mainNoteCount() const { return mainNoteCount_; }
    const std::string& lastNoteName() const { return lastNoteName_; }

  private:
    void WriteMeasure(SongState& state);
    void WriteEmptyMeasure();

    platform::File& temps_;
    platform::File& temps2_;
    platform::File& notesDat_;
    int measuresWritten_ = 0;
    int mainNoteCount_ = 0;
    std::string lastNoteName_;
};

// The split point S and the still-sounding length of the writer, per mode.
int SplitPoint(const SongState& state);
// Sets every entry's Length as the measure writer does.
void SetNoteLengths(SongState& state);

}  // namespace songloader
