// The key detector's note list: every note-on of the song in file order, with its start tick
// and, once a note-off of its key arrives, its duration. Only notes longer than a 32nd note
// (long notes) weigh in the key statistics, so the list also offers per-pitch-class running
// sums that let any range of it be weighed without walking it again.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "formats/song_limits.h"

namespace keydetect {

using formats::Tick;

// The list holds at most this many note-ons; the next one ends the run.
constexpr int kMaxNotOn = 3999;
// A note of more than this many ticks is a long note.
constexpr Tick kShortNoteTicks = 32;
constexpr int kPitchClasses = 12;

struct NotOn {
    Tick StartTick = 0;
    std::int16_t Note = 0;
    // 0 while the note sounds (and for a note that never ends), else at least 1.
    Tick Duration = 0;
};

inline bool IsLongNote(const NotOn& note) {
    return note.Duration > kShortNoteTicks;
}

// The pitch class of a MIDI key, 0 (C) to 11 (B).
inline int PitchClassOf(int note) {
    return ((note % kPitchClasses) + kPitchClasses) % kPitchClasses;
}

class NotOnList {
  public:
    // False when the list is full (the note is not added).
    [[nodiscard]] bool RecordNoteOn(Tick songTick, int note);
    // Ends every sounding note of this key, from the last one back, with the ticks since its
    // start (at least 1).
    void RecordNoteOff(Tick songTick, int note);

    void Clear();
    int size() const { return count_; }
    std::span<const NotOn> notes() const {
        return {notes_.data(), static_cast<std::size_t>(count_)};
    }

  private:
    // The MIDI keys, whose sounding notes are kept per key so that a note-off finds them
    // without walking the whole list; any other key is looked for in the list itself.
    static constexpr int kKeys = 128;

    std::array<NotOn, kMaxNotOn> notes_{};
    int count_ = 0;
    std::array<std::vector<int>, kKeys> sounding_;
};

// Count and summed duration of the long notes of each pitch class.
struct PitchClassBin {
    std::int32_t count = 0;
    std::int64_t total = 0;
};
using PitchClassBins = std::array<PitchClassBin, kPitchClasses>;

// Running sums of the long notes per pitch class over a fixed list of notes, so that the bins
// of any index range cost twelve subtractions.
class NoteStatistics {
  public:
    explicit NoteStatistics(std::span<const NotOn> notes);

    std::span<const NotOn> notes() const { return notes_; }
    int size() const { return static_cast<int>(notes_.size()); }
    // The bins of the long notes with index in [first, end).
    PitchClassBins Bins(int first, int end) const;

  private:
    std::span<const NotOn> notes_;
    // Entry i holds the sums over notes [0, i).
    std::vector<PitchClassBins> prefix_;
};

}  // namespace keydetect
