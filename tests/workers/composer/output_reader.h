// Reads the composer's output back for tests: undoes the track coding with the run code, then
// walks the chunks and events of the MIDI file, so tests can count notes per channel and look
// at head events without another library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace composertest {

struct MidiEvent {
    std::int64_t tick = 0;
    std::uint8_t status = 0;
    std::vector<std::uint8_t> data;  // data bytes, or for meta events: type then payload
};

struct MidiTrack {
    std::vector<std::uint8_t> bytes;  // the whole chunk, "MTrk" included
    std::vector<MidiEvent> events;
    std::string name;
};

struct MidiSong {
    int format = 0;
    int trackCount = 0;
    int division = 0;
    std::vector<MidiTrack> tracks;
};

// Decodes the coded part that follows the header and the first two tracks (found by chunk
// lengths) and parses the result. Nothing when the bytes do not form a valid file.
std::optional<MidiSong> ReadComposerOutput(std::vector<std::uint8_t> bytes, int runCode);
std::optional<MidiSong> ParseMidi(const std::vector<std::uint8_t>& bytes);

}  // namespace composertest
