// The event grammar of the song input as the system reads it: variable-length numbers of at most
// four bytes, and a track's events one by one (a delta time, then a system exclusive message up to
// its F7, a meta event by its length, or a channel event with an explicit status byte), walked
// over the song's first two track chunks the way the song loader reads them. The song loader
// reads with the walk and the composer finds with it the melody events the loader took in; the
// melody importer, which has a grammar of its own, shares the variable-length numbers. What a
// reader makes of an event, and what it reports, stays the reader's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace worker {

enum class Vlq { kOk, kTooLong, kTruncated };

// The variable-length number at `pos`, of at most four bytes; `pos` moves past the bytes read.
// A number the bytes end inside (or a `pos` at or past their end) is cut short.
Vlq ReadVlq(std::span<const std::uint8_t> bytes, std::size_t& pos, std::uint32_t& value);

enum class SmfEventKind : std::uint8_t {
    kSysEx,       // F0 and its data up to F7
    kMeta,        // FF, type, length, data
    kEndOfTrack,  // FF 2F 00, the length written in one byte
    kChannel,     // Cn or Dn and one data byte, Bn or En and two, of any value
    kNoteOn,      // 9n, a key and a velocity below 128
    kNoteOff,     // 8n, a key and a velocity below 128
};

constexpr bool IsChannelEvent(SmfEventKind kind) {
    return kind == SmfEventKind::kChannel || kind == SmfEventKind::kNoteOn ||
           kind == SmfEventKind::kNoteOff;
}

struct SmfEvent {
    std::uint32_t delta = 0;
    SmfEventKind kind = SmfEventKind::kChannel;
    std::size_t statusAt = 0;  // where its status byte stands in the song
    std::uint8_t status = 0;
    std::uint8_t metaType = 0;
    bool oneByteLength = false;          // a meta event whose length is written in one byte
    std::span<const std::uint8_t> data;  // the data bytes of a channel or meta event
};

enum class SmfStep {
    kTrack,  // a track chunk begins; its "MTrk" and length come next (track() says which)
    kEvent,
    // Nothing more is read, and what was read counts: the bytes ended between events, inside a
    // delta time or inside a meta event, or the chunk after the melody track begins.
    kEnd,
    kNoTrack,        // no "MTrk" where a track chunk must begin
    kDeltaTooLong,   // a delta time of more than four bytes
    kLengthTooLong,  // a meta event's length of more than four bytes
    kSysExCut,       // a system exclusive message without its F7
    // Running status, a status byte of no event read here (polyphonic pressure, system common
    // and real-time bytes), a channel event cut short, or a note with a byte of 128 or more.
    kInvalidEvent,
};

// The song's events from `start` (the end of its header) in the order the song loader reads
// them: each track up to its end-of-track event, whatever its chunk length says, the next
// "MTrk" right behind it, and no further than the melody track.
class SongEventWalker {
  public:
    SongEventWalker(std::span<const std::uint8_t> song, std::size_t start)
        : song_(song), pos_(start) {}

    // The next step; after any step but kTrack and kEvent the walk is over. A step after a whole
    // delta time keeps it in `event`, also where the event behind it is cut short or refused.
    [[nodiscard]] SmfStep Next(SmfEvent& event);
    // 1 in the conductor track, 2 in the melody track, 3 once the chunk after them begins.
    int track() const { return track_; }

  private:
    SmfStep ReadEvent(SmfEvent& event);

    std::span<const std::uint8_t> song_;
    std::size_t pos_;
    int track_ = 0;
    bool trackEnded_ = true;
    bool headNext_ = false;
    bool over_ = false;
};

}  // namespace worker
