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
    bool keySignature = true;  // false leaves the key signature event out
    int channel = 0;
    std::vector<SongNote> notes;
};

// Note-offs are written as 8n events and come before note-ons at the same tick.
std::vector<std::uint8_t> BuildSong(const SimpleSong& song);

// A song written note by note: the notes given by start tick, or appended one after another.
class SongBuilder {
  public:
    // 4/4 with no key signature event unless changed.
    SongBuilder() { song_.keySignature = false; }
    SongBuilder& Meter(int numerator, int denominatorPower) {
        song_.numerator = numerator;
        song_.denominatorPower = denominatorPower;
        return *this;
    }
    SongBuilder& Note(std::int64_t start, int key, std::int64_t length) {
        song_.notes.push_back({start, start + length, key});
        return *this;
    }
    // A note right after the last one appended.
    SongBuilder& Append(int key, std::int64_t length) {
        Note(end_, key, length);
        end_ += length;
        return *this;
    }
    std::vector<std::uint8_t> Bytes() const { return BuildSong(song_); }

  private:
    SimpleSong song_;
    std::int64_t end_ = 0;
};

// A track chunk: "MTrk", the length of `events`, then `events` as they are (no end of track
// is added, so a test can leave it out).
std::vector<std::uint8_t> TrackChunk(const std::vector<std::uint8_t>& events);

// A variable-length quantity.
void AppendVlq(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace testsupport
