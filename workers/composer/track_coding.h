// The composed tracks as bytes: a writer for one plain track (name block, events with
// variable-length deltas, end of track and its patched length), the name track, and the output
// file's header. The per-run output coding of the tracks is formats/output_coding.h.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "formats/output_coding.h"
#include "workers/composer/compose_args.h"

namespace composer {

constexpr std::int64_t kVarLenLimit = std::int64_t{1} << 28;
using formats::kTrackCountOffset;
using formats::OutputTrackCoder;

// The MIDI variable-length quantity; false (nothing written) for 2^28 or more or a negative value.
[[nodiscard]] bool WriteVarLen(std::int64_t value, std::vector<std::uint8_t>& out);

// An event of a composed track at its tick from the song's start.
struct TimedEvent {
    std::int64_t tick = 0;
    int status = 0;
    int data1 = 0;
    int data2 = 0;  // < 0: a two-byte event
};

// Makes the note stream of every melodic channel (all but the drum channel, whose one-shot hits
// are meant to be that short) well formed, in place: a note-on for a key that is sounding on
// its channel first ends that note (and the note-off that would have ended it later is
// dropped), and a note whose note-on and note-off fall on one tick is not written at all.
// Note-offs end the latest note of their key, as the note event core pairs them.
void WellFormedNotes(std::vector<TimedEvent>& events);

class TrackWriter {
  public:
    // "MTrk", the length slot, the track name and the zero key signature.
    void BeginTrack(std::string_view name);
    // A meta event with delta 0.
    void Meta(std::uint8_t type, std::initializer_list<std::uint8_t> data);
    // An event with delta 0; data2 < 0 means a two-byte event.
    void Event(int status, int data1, int data2);
    // A delta time; false when it is too big.
    [[nodiscard]] bool Delta(std::int64_t delta);
    // Status and data bytes (data2 < 0: none). Data bytes are kept within 0..127.
    void Raw(int status, int data1, int data2);
    // End of track, length patched; returns the track bytes.
    std::vector<std::uint8_t> EndTrack();

  private:
    std::vector<std::uint8_t> bytes_;
};

// The 14-byte header with the track count 2.
std::vector<std::uint8_t> OutputHeader();

// The name track (64 bytes before its end event) from the five style codes.
std::vector<std::uint8_t> NameTrack(const std::array<SlotSettings, kSlotCount>& slots);

}  // namespace composer
