// The shared key code table: 28 keys, each with its key value (tonic 60..71 for a minor key,
// tonic + 100 for a major key) and its 8-character name. The key detector, the chord maker and
// the front end all index it by the same key code, so it has exactly one definition. Also the
// note-name tables used wherever a pitch class is printed.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace worker {

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

// The first row holding a key value, or -1; rows 24 to 27 repeat earlier values and so are
// never the answer.
constexpr KeyCode KeyCodeOfValue(int keyValue) {
    for (int i = 0; i < kKeyCount; ++i) {
        if (KeyValueTable[i] == keyValue) return i;
    }
    return -1;
}

}  // namespace worker
