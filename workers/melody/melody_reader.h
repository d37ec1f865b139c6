// The melody importer's own reader of a Standard MIDI File of format 0 or 1, with running
// status and any division. It takes the conductor track and one chosen track (format 1) or
// one chosen channel of every track (format 0) and turns them into the text lines the writer
// reads back: one line per taken channel event, one per tempo change, and a listing of the
// file's structure. It reads bytes and returns texts; the driver writes them to their files.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace melody {

// The importer's error file keeps no more than this many bytes; the reader stops collecting
// counting notes once its error text holds that much, so a source full of garbage costs no
// more memory than the file it reads.
constexpr std::size_t kErrorFileLimit = 64 * 1024;

struct MelodyScan {
    bool channelMode = false;   // format 0: one channel of every chunk
    std::int16_t division = 0;  // ticks per quarter note of the source, as stored
    int chunkCount = 0;         // "MTrk" chunks met
    std::int64_t notesOn = 0;   // taken note-ons with a velocity above 0
    std::int64_t notesOff = 0;  // taken note-offs, note-ons with velocity 0 included
    std::string listing;        // KqList.dat, "\n" line ends
    std::string tempoLines;     // Tempos.dat
    std::string eventLines;     // Events.dat
    std::string errorText;      // what goes to Error4.msg: count notes, then the fault
    bool fatal = false;         // the fault ends the run
};

// `trackNo` is the command line's track (format 1) or channel (format 0) number, 1..16.
[[nodiscard]] MelodyScan ReadMelodySource(std::span<const std::uint8_t> source, int trackNo);

}  // namespace melody
