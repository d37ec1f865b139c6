#include "workers/chordmaker/chord_string.h"

#include "workers/chordmaker/error_text.h"
#include "workers/common/worker_fatal.h"

namespace chordmaker {

namespace {

constexpr int kSemitones = 12;
constexpr int kFifthAbove = 7;
constexpr int kNinthAbove = 2;
constexpr int kMinorSeventhAbove = 10;
constexpr int kMajorSeventhAbove = 11;
constexpr int kSixthAbove = 9;

constexpr std::array<std::string_view, kSemitones> kRootNames = {
    "C.", "Db", "D.", "Eb", "E.", "F.", "Gb", "G.", "Ab", "A.", "Bb", "B."};

int Fold(int pitchClass) {
    return ((pitchClass % kSemitones) + kSemitones) % kSemitones;
}

// Letter positions in the row "C~D~EF~G~A~B"; only the seven letters are roots.
int LetterPitchClass(char letter) {
    switch (letter) {
        case 'C':
            return 0;
        case 'D':
            return 2;
        case 'E':
            return 4;
        case 'F':
            return 5;
        case 'G':
            return 7;
        case 'A':
            return 9;
        case 'B':
            return 11;
        default:
            return kNoNote;
    }
}

// 0 when read, else 2: the accidental's shift.
int AccidentalShift(char accidental, int& shift) {
    switch (accidental) {
        case 'b':
            shift = -1;
            return 0;
        case '#':
            shift = 1;
            return 0;
        case '.':
            shift = 0;
            return 0;
        default:
            return 2;
    }
}

// Third above the root for a quality, or 0 when the quality is not accepted.
int ThirdAbove(char quality, bool acceptSuspended) {
    switch (quality) {
        case '.':
        case 'M':
            return 4;
        case 'm':
            return 3;
        case 's':
            return acceptSuspended ? 5 : 0;
        default:
            return 0;
    }
}

}  // namespace

bool IsBlankChord(std::string_view chord) {
    return chord.empty() || chord == kNoChord;
}

char ChordChar(std::string_view chord, int position) {
    const auto index = static_cast<std::size_t>(position - 1);
    return index < chord.size() ? chord[index] : '\0';
}

bool IsHaBaChord(std::string_view chord) {
    const char sign = ChordChar(chord, 5);
    return sign == '+' || sign == '-';
}

HaStr WithChar(std::string_view chord, int position, char value) {
    HaStr result(chord);
    const auto index = static_cast<std::size_t>(position - 1);
    if (result.size() <= index) result.resize(index + 1, '.');
    result[index] = value;
    return result;
}

int RootPitchClass(std::string_view chord) {
    const int letter = LetterPitchClass(ChordChar(chord, 1));
    int shift = 0;
    if (letter == kNoNote || AccidentalShift(ChordChar(chord, 2), shift) != 0) return kNoNote;
    return Fold(letter + shift);
}

std::string_view RootName(int pitchClass) {
    return kRootNames[Fold(pitchClass)];
}

int ReadTones(std::string_view chord, const ToneRules& rules, NoteSet& tones) {
    tones = NoteSet{};
    const int letter = LetterPitchClass(ChordChar(chord, 1));
    if (letter == kNoNote) return 1;
    int shift = 0;
    if (AccidentalShift(ChordChar(chord, 2), shift) != 0) return 2;
    const int root = Fold(letter + shift);
    const char quality = ChordChar(chord, 3);
    int third = ThirdAbove(quality, rules.acceptSuspended);
    if (third == 0) return 3;
    const bool major = quality == 'M';

    int seventh = kNoNote;
    bool ninth = major && rules.ninthWithMajor;
    switch (ChordChar(chord, 4)) {
        case '.':
            break;
        case '7':
            seventh = root + (major && rules.majorSeventhWithMajor ? kMajorSeventhAbove
                                                                   : kMinorSeventhAbove);
            break;
        case '6':
            seventh = root + kSixthAbove;
            break;
        case '9':
            if (!rules.acceptNinth) return 4;
            ninth = true;
            break;
        default:
            return 4;
    }

    int fifth = kFifthAbove;
    switch (ChordChar(chord, 5)) {
        case 'o':
            --fifth;
            --third;
            break;
        case '+':
            if (rules.raisedFifth) ++fifth;
            break;
        default:
            break;
    }
    tones.notes[kFifth] = Fold(root + fifth);
    tones.notes[kRoot] = root;
    tones.notes[kThird] = Fold(root + third);
    if (seventh != kNoNote) tones.notes[kSeventh] = Fold(seventh);
    if (ninth) tones.notes[kNinth] = Fold(root + kNinthAbove);
    return 0;
}

int ReadHaBaTones(std::string_view chord, NoteSet& tones) {
    tones = NoteSet{};
    if (chord.size() < 5) return 5;
    const int letter = LetterPitchClass(ChordChar(chord, 1));
    if (letter == kNoNote) return 1;
    int shift = 0;
    if (AccidentalShift(ChordChar(chord, 2), shift) != 0) return 2;
    const int root = Fold(letter + shift);
    const int third = ThirdAbove(ChordChar(chord, 3), false);
    if (third == 0) return 3;
    int seventh = kNoNote;
    switch (ChordChar(chord, 4)) {
        case '.':
            break;
        case '7':
            seventh = root + kMinorSeventhAbove;
            break;
        case '6':
            seventh = root + kSixthAbove;
            break;
        default:
            return 4;
    }
    int moved = root;
    switch (ChordChar(chord, 5)) {
        case '+':
            moved = root + 1;
            break;
        case '-':
            moved = root - 1;
            break;
        case '.':
            break;
        default:
            return 6;
    }
    tones.notes[kFifth] = Fold(root + kFifthAbove);
    tones.notes[kRoot] = Fold(moved);
    tones.notes[kThird] = Fold(root + third);
    if (seventh != kNoNote) tones.notes[kSeventh] = Fold(seventh);
    return 0;
}

NoteSet KhHa2Notes(std::string_view chord) {
    NoteSet tones;
    const ToneRules rules{.acceptSuspended = true, .ninthWithMajor = true, .acceptNinth = true};
    const int failed = ReadTones(chord, rules, tones);
    if (failed != 0) throw worker::WorkerFatal(Format("\nKhHa2Notes: Error finding %d.\n", failed));
    return tones;
}

NoteSet KhHa2NotesM(std::string_view chord) {
    NoteSet tones;
    const ToneRules rules{
        .acceptSuspended = true, .ninthWithMajor = true, .majorSeventhWithMajor = true};
    const int failed = ReadTones(chord, rules, tones);
    if (failed == 3) {
        throw worker::WorkerFatal(
            Format("\nKhHa2-NotesM: Error finding 3: %s\n", HaStr(chord).c_str()));
    }
    if (failed != 0)
        throw worker::WorkerFatal(Format("\nKhHa2-NotesM: Error finding %d.\n", failed));
    return tones;
}

NoteSet HaBa2Notes(std::string_view chord) {
    NoteSet tones;
    const int failed = ReadHaBaTones(chord, tones);
    if (failed == 5) throw worker::WorkerFatal(Format("HaBa Error <%s>,", HaStr(chord).c_str()));
    if (failed == 6) throw worker::WorkerFatal("Invalid HaBa Sign,");
    if (failed != 0) throw worker::WorkerFatal(Format("\nError finding %d.\n", failed));
    return tones;
}

NoteSet ChordNotes(std::string_view chord) {
    return IsHaBaChord(chord) ? HaBa2Notes(chord) : KhHa2Notes(chord);
}

int ChordRootPitch(std::string_view chord) {
    constexpr int kMiddleC = 60;
    const int letter = LetterPitchClass(ChordChar(chord, 1));
    if (letter == kNoNote) {
        throw worker::WorkerFatal(
            Format("Invalid Root in Chord String <%s>", HaStr(chord).c_str()));
    }
    int shift = 0;
    if (AccidentalShift(ChordChar(chord, 2), shift) != 0) shift = 0;
    return kMiddleC + Fold(letter + shift);
}

bool IsChordTone(int pitch, std::string_view chord) {
    const int root = ChordRootPitch(chord);
    // The tone table: twelve places, all 0, then the chord's tones around the root.
    std::array<int, kSemitones> table{};
    table[0] = root - 5;
    table[5] = root;
    const char quality = ChordChar(chord, 3);
    if (quality == '.' || quality == 'M') table[9] = root + 4;
    if (quality == 'm') table[8] = root + 3;
    if (quality == 's') table[10] = root + 5;
    const char added = ChordChar(chord, 4);
    if (added == '7' && quality != 'M') table[4] = root - 2;
    if (added == '6') table[3] = root - 3;

    const int low = table[0];
    while (pitch < low) pitch += kSemitones;
    while (pitch > low + kSemitones - 1) pitch -= kSemitones;
    for (const int tone : table) {
        if (tone == pitch) return true;
    }
    return false;
}

}  // namespace chordmaker
