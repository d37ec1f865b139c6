// The levels of rendered songs as partlevels reports them, and the library's share of the mix:
// the melody (channel 1) on top of the style's parts (channels 2 to 5 and the drums on 10), every
// part and echo part (6 to 9) audible beside it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace librarytest {

struct SongLevels {
    std::map<int, double> active;         // channel (1..16) -> active level in dBFS
    std::map<int, double> rms;            // channel (1..16) -> level over the whole song in dBFS
    std::map<std::string, double> mixes;  // mix as asked for ("2-5,10") -> active level in dBFS
    std::string report;                   // partlevels' lines for the song
};

// The style's parts mixed, as RenderLevels takes and reports it.
inline constexpr const char* kStylePartsMix = "2-5,10";

// One entry per song in order; empty when partlevels fails. `mixes` are the channel mixes to
// measure besides the channels; with `only` (a mix) only those channels' notes are played.
std::vector<SongLevels> RenderLevels(const std::vector<std::string>& songs,
                                     const std::vector<std::string>& mixes = {kStylePartsMix},
                                     const std::string& only = "");

// No style part above the melody, the style's parts together at least 2 dB under it (the other
// half of the accompaniment's room, 1 dB over the melody in all, is the echo parts'), and every
// part and echo part within 20 dB of the melody.
void ExpectMelodyOnTop(const SongLevels& levels);

}  // namespace librarytest
