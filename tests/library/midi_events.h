// A small reader for the decoded songs the library checks look at: every channel event of a
// Standard MIDI File with its absolute tick, running status included. It is kept apart from
// the system's own readers on purpose, so the checks do not share their faults.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace librarytest {

struct ChannelEvent {
    std::int64_t tick = 0;
    int track = 0;  // index of the track chunk
    int kind = 0;   // status high nibble: 0x80 note off, 0x90 note on, 0xB0 controller ...
    int channel = 0;
    int data1 = 0;
    int data2 = 0;

    bool IsNoteOn() const { return kind == 0x90 && data2 > 0; }
    bool IsNoteOff() const { return kind == 0x80 || (kind == 0x90 && data2 == 0); }
};

struct MidiSong {
    int format = 0;
    int trackCount = 0;
    int division = 0;
    std::vector<ChannelEvent> events;  // in file order, track after track
};

// nullopt when the bytes are not a well-formed file (chunk lengths, event lengths, data bytes).
std::optional<MidiSong> ReadMidiSong(std::span<const std::uint8_t> bytes);

// What players mishandle in the note streams of the tracks from `firstTrack` on, drums (channel
// 10) left out: per track, channel and key, a note-on while the key sounds, a note-off while it
// does not, a note that starts and ends on one tick, a note still sounding at the end. One line
// per fault (at most `limit`); empty when every stream is well formed.
std::string NoteStreamFaults(const MidiSong& song, int firstTrack, int limit = 10);

}  // namespace librarytest
