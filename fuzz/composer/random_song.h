// A song and the play options of a run drawn from a seed, for the composer's fuzz target and its
// stress test: the song's length, chords, section codes, section switches, melody statistics and
// beat pattern, and every slot's play modes, sustain digits, part and slot volumes, with the
// command line's echo levels, hold mode and octave setting. Slot n plays `styleNames[n - 1]`.
// Both judge what was composed the same way (ComposedNoteFaults).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "workers/composer/composer.h"

namespace composer {

// A small generator, so that one seed changes the whole song rather than one field of it.
class Draw {
  public:
    explicit Draw(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    int Below(int n) {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
    }
    bool Chance(int percent) { return Below(100) < percent; }

  private:
    std::uint32_t state_;
};

// `numerator` 2, 3, 4 or 6 (6/8).
ComposeSetup RandomSetup(std::uint32_t seed, const std::array<std::string, kSlotCount>& styleNames,
                         int numerator);

// What players mishandle in the composed tracks, coded with `runCode`: the note streams of
// every melodic channel as librarytest::NoteStreamFaults judges them (a note that never ends,
// a second note-on of a sounding key, a note of zero length ...). Empty when all are well formed.
std::string ComposedNoteFaults(const ComposeResult& result, int runCode);

}  // namespace composer
