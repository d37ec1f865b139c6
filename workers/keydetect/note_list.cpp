#include "workers/keydetect/note_list.h"

#include <algorithm>

namespace keydetect {

bool NotOnList::RecordNoteOn(Tick songTick, int note) {
    if (count_ >= kMaxNotOn) return false;
    notes_[count_] = NotOn{songTick, static_cast<std::int16_t>(note), 0};
    ++count_;
    return true;
}

void NotOnList::RecordNoteOff(Tick songTick, int note) {
    for (int i = count_ - 1; i >= 0; --i) {
        NotOn& entry = notes_[i];
        if (entry.Note != note || entry.Duration != 0) continue;
        const Tick elapsed = songTick - entry.StartTick;
        entry.Duration = elapsed > 0 ? elapsed : 1;
    }
}

NoteStatistics::NoteStatistics(std::span<const NotOn> notes) : notes_(notes) {
    prefix_.resize(notes.size() + 1);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        prefix_[i + 1] = prefix_[i];
        if (!IsLongNote(notes[i])) continue;
        PitchClassBin& bin = prefix_[i + 1][PitchClassOf(notes[i].Note)];
        ++bin.count;
        bin.total += notes[i].Duration;
    }
}

PitchClassBins NoteStatistics::Bins(int first, int end) const {
    const int last = static_cast<int>(notes_.size());
    first = std::clamp(first, 0, last);
    end = std::clamp(end, first, last);
    PitchClassBins bins{};
    for (int pc = 0; pc < kPitchClasses; ++pc) {
        bins[pc].count = prefix_[end][pc].count - prefix_[first][pc].count;
        bins[pc].total = prefix_[end][pc].total - prefix_[first][pc].total;
    }
    return bins;
}

}  // namespace keydetect
