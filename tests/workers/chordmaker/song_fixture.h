// Song fixtures for the chord maker's tests: the song loader's three measure files written from
// a short description of each measure (main note names and the notes of each half), so a test
// states the melody it means and the files follow the loader's formats exactly.
#pragma once

#include <string>
#include <vector>

#include "workers/chordmaker/song_input.h"

namespace chordmaker::testing {

struct MeasureSpec {
    MeasureSpec(std::string firstName = "", std::string secondName = "",
                std::vector<int> firstHalf = {}, std::vector<int> secondHalf = {}, int firstAt = 0,
                int secondAt = 16)
        : first(std::move(firstName)),
          second(std::move(secondName)),
          firstNotes(std::move(firstHalf)),
          secondNotes(std::move(secondHalf)),
          firstPosition(firstAt),
          secondPosition(secondAt) {}

    std::string first;   // main note name of the first half, "" for none
    std::string second;  // of the second half
    // MIDI notes of each half for Notes.dat; empty: the main note alone (60..71).
    std::vector<int> firstNotes;
    std::vector<int> secondNotes;
    int firstPosition;
    int secondPosition;
};

struct SongFiles {
    std::string notesAco;
    std::string temps2;
    std::string notesDat;
};

// `header` is the first line of Notes.aco without its line end ("0,+,C,4,120,4/4").
SongFiles MakeSongFiles(const std::string& header, const std::vector<MeasureSpec>& measures);

// The song as the chord maker reads it; a fixture that fails to read is a broken test (throws).
SongInput LoadSong(const SongFiles& files);

// Pitch 60..71 of a note name, 0 for "".
int PitchOfName(const std::string& name);

// The key list line "%03d:%02d;%s" for a 1-based measure and a key code, with CR LF.
std::string KeyLine(int measure, int keyCode);

}  // namespace chordmaker::testing
