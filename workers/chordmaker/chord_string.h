// The chord maker's reading of a chord string (`HaStr`, the 5-character ChordCode form: root
// letter, accidental, quality, added note, alteration or HaBa sign) into chord tones. Note sets
// hold pitch classes in the fixed order fifth, root, third, seventh-or-sixth, ninth. A malformed
// string throws worker::WorkerFatal with the message of the function that met it.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace chordmaker {

using HaStr = std::string;

inline constexpr std::string_view kNoChord = ".....";
// A missing note in a note set, and a half measure without a main note.
inline constexpr int kNoNote = -1;

enum NotePlace { kFifth = 0, kRoot = 1, kThird = 2, kSeventh = 3, kNinth = 4 };

struct NoteSet {
    std::array<int, 5> notes{kNoNote, kNoNote, kNoNote, kNoNote, kNoNote};
    int operator[](int place) const { return notes[place]; }
};

// True for a chord with no chord in it ("....." or empty).
bool IsBlankChord(std::string_view chord);
// A `HaBa` chord carries '+' or '-' at position 5: its root moves a semitone.
bool IsHaBaChord(std::string_view chord);
// The character at a 1-based position, '\0' past the end.
char ChordChar(std::string_view chord, int position);
HaStr WithChar(std::string_view chord, int position, char value);

// The root's pitch class from letter and accidental, or kNoNote when either is not readable.
int RootPitchClass(std::string_view chord);
// "C.", "Db", "D." ... : the two root characters for a pitch class, as rewritten chords use.
std::string_view RootName(int pitchClass);

// Quality '.', 'M', 'm', 's'; '7' minor seventh; '9' and 'M' add the ninth; 'o' applied.
NoteSet KhHa2Notes(std::string_view chord);
// As KhHa2Notes, but '7' is the major seventh with 'M' and '9' is refused.
NoteSet KhHa2NotesM(std::string_view chord);
// Fifth and third of the written root, the moved root, seventh or sixth; no ninth.
NoteSet HaBa2Notes(std::string_view chord);
// HaBa2Notes for a HaBa chord, KhHa2Notes for any other: how presets and the search read chords.
NoteSet ChordNotes(std::string_view chord);

// How each fit score reads a chord (see fit_scores.h): which qualities it accepts, whether 'M'
// brings the ninth and the major seventh, whether '+' raises the fifth.
struct ToneRules {
    bool acceptSuspended = true;
    bool ninthWithMajor = false;
    bool majorSeventhWithMajor = false;
    bool acceptNinth = false;
    bool raisedFifth = false;
};
// 0 on success, else the failing position 1 (root), 2 (accidental), 3 (quality), 4 (added note).
int ReadTones(std::string_view chord, const ToneRules& rules, NoteSet& tones);
// For a HaBa chord: 0, a position 1 to 4, 5 for a string shorter than 5, 6 for a bad sign.
int ReadHaBaTones(std::string_view chord, NoteSet& tones);

// The root pitch folded into 60..71.
int ChordRootPitch(std::string_view chord);
// 1 when `pitch`, moved by octaves into the window of the chord's tone table, is one of its tones.
bool IsChordTone(int pitch, std::string_view chord);

}  // namespace chordmaker
