// The levels of rendered songs as partlevels reports them, and the check that the melody
// (channel 1) stays on top of its accompaniment (channels 2 to 16).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace librarytest {

struct SongLevels {
    std::map<int, double> active;   // channel (1..16) -> active level in dBFS
    double accompaniment = -200.0;  // channels 2 to 16 mixed, active level in dBFS
    std::string report;             // partlevels' lines for the song
};

// One entry per song in order; empty when partlevels fails.
std::vector<SongLevels> RenderLevels(const std::vector<std::string>& songs);

// The accompaniment at most 3 dB above the melody, and no accompaniment channel above it.
void ExpectMelodyOnTop(const SongLevels& levels);

}  // namespace librarytest
