#include "workers/keydetect/note_list.h"

#include <algorithm>

namespace keydetect {

namespace {

void End(NotOn& entry, Tick songTick) {
    const Tick elapsed = songTick - entry.StartTick;
    entry.Duration = elapsed > 0 ? elapsed : 1;
}

}  // namespace

bool NotOnList::RecordNoteOn(Tick songTick, int note) {
    if (count_ >= kMaxNotOn) return false;
    const NotOn entry{songTick, static_cast<std::int16_t>(note), 0};
    notes_[count_] = entry;
    if (entry.Note >= 0 && entry.Note < kKeys) sounding_[entry.Note].push_back(count_);
    ++count_;
    return true;
}

void NotOnList::RecordNoteOff(Tick songTick, int note) {
    if (note >= 0 && note < kKeys) {
        for (const int i : sounding_[note]) End(notes_[i], songTick);
        sounding_[note].clear();
        return;
    }
    for (int i = count_ - 1; i >= 0; --i) {
        NotOn& entry = notes_[i];
        if (entry.Note == note && entry.Duration == 0) End(entry, songTick);
    }
}

void NotOnList::Clear() {
    count_ = 0;
    for (std::vector<int>& key : sounding_) key.clear();
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
