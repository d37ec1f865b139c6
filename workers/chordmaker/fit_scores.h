// How well a chord fits the melody of a half measure, and the small chord tests the presets, the
// search and the refinement passes share. A fit counts the (note, chord tone) pairs among the
// half's counted notes: 50 x hits / notes, cut toward zero. The variants differ in how they read
// the chord: DemNoteNmOk without the ninth and with '+' raising the fifth, DemNoteNmOkM with the
// ninth and the major seventh of an 'M' chord, DemNoteNmOkS as M but also for 's' chords,
// DemNoteBaOk on a HaBa chord's moved root. Every function throws worker::WorkerFatal on a
// malformed chord string, with its own message.
#pragma once

#include <string_view>

#include "workers/chordmaker/chord_string.h"
#include "workers/chordmaker/song_input.h"

namespace chordmaker {

int DemNoteNmOk(const SongInput& song, std::string_view chord, int half);
int DemNoteNmOkM(const SongInput& song, std::string_view chord, int half);
int DemNoteNmOkS(const SongInput& song, std::string_view chord, int half);
int DemNoteBaOk(const SongInput& song, std::string_view chord, int half);
// 0 to 10; 10 for a half without notes.
int DemNoteCoNm(const SongInput& song, std::string_view chord, int half);

// The shared-note value of a candidate after a previous chord (40 a shared note, counted only
// when the candidate's seventh or sixth is shared too).
int CountSharedNotes(std::string_view previous, std::string_view candidate);
int CountSharedNotesM(std::string_view previous, std::string_view candidate);

// True when the main note is one of the chord's first four notes.
bool ChordHasNote(int mainNote, std::string_view chord);

// Mode 2: the note is the chord's root. Other modes: fifth, root or third, or the seventh or
// sixth when the chord fits the whole measure well enough. No main note always fits.
inline constexpr int kFitRootOnly = 2;
inline constexpr int kFitChordTone = 1;
bool ChordFitsSlot(const SongInput& song, int half, int mainNote, std::string_view chord, int mode);

}  // namespace chordmaker
