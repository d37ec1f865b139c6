// The song header that Load In shows: the first line of "Notes.aco" ("1,+,G,24,96,3/4":
// accidentals, sign, last note, measures, tempo, time signature), read from its end backwards.
// The key is the head before the measure count, looked up in the key signature table.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

constexpr int kDefaultSongTempo = 120;

struct SongHeader {
    std::string timeSig;            // the text after the last ","
    std::string tempoText;          // the field before it, as written
    int tempo = kDefaultSongTempo;  // tempoText as a number, 120 when it is none
    std::optional<int> keyCode;     // nullopt when the key is not in the table
};

// `firstLine` may still carry its CR LF. A line with fewer than three commas has no key.
SongHeader ParseSongHeader(std::string_view firstLine);

// "G  Major, Tempo=96, 3/4"; only for a header with a key.
std::string MusicTypeCaption(const SongHeader& header);

// The box when the key is not understood.
extern const char* const kKeyNotUnderstoodText;

}  // namespace corvane
