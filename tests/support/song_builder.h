// Builds small songs in the system's input shape (format 1, 384 ticks per quarter note, a
// conductor chunk with time signature, key signature and tempo, then one melody chunk) from a
// list of notes, for tests that need a valid song rather than particular bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace testsupport {

struct SongNote {
    std::int64_t start = 0;  // ticks
    std::int64_t end = 0;
    int key = 60;
    int velocity = 100;
};

struct SimpleSong {
    int numerator = 4;
    int denominatorPower = 2;  // 2 = quarter notes, 3 = eighths (6/8)
    int keySign = 0;           // sharps positive, flats negative
    int tempo = 500000;        // microseconds per quarter note; 0 leaves the tempo event out
    int channel = 0;
    std::vector<SongNote> notes;
};

// Note-offs are written as 8n events and come before note-ons at the same tick.
std::vector<std::uint8_t> BuildSong(const SimpleSong& song);

// A track chunk: "MTrk", the length of `events`, then `events` as they are (no end of track
// is added, so a test can leave it out).
std::vector<std::uint8_t> TrackChunk(const std::vector<std::uint8_t>& events);

// A variable-length quantity.
void AppendVlq(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace testsupport
