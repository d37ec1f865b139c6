// The shared key code table: 28 keys, each with its key value (tonic 60..71 for a minor key,
// tonic + 100 for a major key) and its 8-character name. The key detector, the chord maker and
// the front end all index it by the same key code, so it has exactly one definition. Also the
// note-name tables used wherever a pitch class is printed.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace formats {

using KeyCode = int;

constexpr int kKeyCount = 28;

constexpr std::array<std::int16_t, kKeyCount> KeyValueTable = {
    160, 69, 167, 64, 162, 71, 169, 66, 164, 61, 171, 68, 166, 63,
    161, 70, 165, 62, 170, 67, 163, 60, 168, 65, 161, 70, 166, 63,
};

constexpr std::array<std::string_view, kKeyCount> KeyNameTable = {
    "C  Major", "A  Minor", "G  Major", "E  Minor", "D  Major", "B  Minor", "A  Major",
    "F# Minor", "E  Major", "C# Minor", "B  Major", "G# Minor", "F# Major", "D# Minor",
    "C# Major", "A# Minor", "F  Major", "D  Minor", "Bb Major", "G  Minor", "Eb Major",
    "C  Minor", "Ab Major", "F  Minor", "Db Major", "Bb Minor", "Gb Major", "Eb Minor",
};

constexpr std::array<std::string_view, 12> SharpNoteNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                             "F#", "G",  "G#", "A",  "A#", "B"};
constexpr std::array<std::string_view, 12> FlatNoteNames = {"C",  "Db", "D",  "Eb", "E",  "F",
                                                            "Gb", "G",  "Ab", "A",  "Bb", "B"};

// KeyRec: per key code the accidental count of its key signature, whether the accidentals are
// sharps, and the tonic both as a PitchCode ('0'..'9', 'A', 'B' for C..B) and as a pitch class.
// Codes 0 to 15 climb by one sharp per major/minor pair, codes 16 to 27 by one flat.
struct KeyRec {
    std::int16_t accidentals;
    std::int16_t sharps;
    std::int16_t tonicPitchCode;
    std::int16_t tonicPitchClass;
};

constexpr std::int16_t PitchCodeOfClass(int pitchClass) {
    return static_cast<std::int16_t>(pitchClass < 10 ? '0' + pitchClass : 'A' + pitchClass - 10);
}

namespace detail {
constexpr std::array<std::int16_t, kKeyCount> kTonicPitchClass = {
    0, 9, 7, 4, 2, 11, 9, 6, 4, 1, 11, 8, 6, 3, 1, 10, 5, 2, 10, 7, 3, 0, 8, 5, 1, 10, 6, 3,
};
constexpr std::array<KeyRec, kKeyCount> MakeKeyRecTable() {
    std::array<KeyRec, kKeyCount> table{};
    for (int code = 0; code < kKeyCount; ++code) {
        const bool sharps = code < 16;
        const int accidentals = sharps ? code / 2 : (code - 16) / 2 + 1;
        table[code] = {static_cast<std::int16_t>(accidentals), static_cast<std::int16_t>(sharps),
                       PitchCodeOfClass(kTonicPitchClass[code]), kTonicPitchClass[code]};
    }
    return table;
}
}  // namespace detail

constexpr std::array<KeyRec, kKeyCount> KeyRecTable = detail::MakeKeyRecTable();

// The first row holding a key value, or -1; rows 24 to 27 repeat earlier values and so are
// never the answer.
constexpr KeyCode KeyCodeOfValue(int keyValue) {
    for (int i = 0; i < kKeyCount; ++i) {
        if (KeyValueTable[i] == keyValue) return i;
    }
    return -1;
}

}  // namespace formats
