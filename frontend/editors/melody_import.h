// The melody importer's run as the importer dialog sets it up: the limits of its fields, the
// key and time tokens, and the 13-token command line of Quenby with its SumToken, which the
// worker checks against the other tokens and the handle before it does anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::editors {

constexpr const char* kMelodyImporterProgram = "Quenby";
constexpr int kMelodyImporterDone = 51;
constexpr int kTrackCount = 16;

// What a typed field becomes, from the leading number n of its text (0 when none):
// measures to insert 0..16 (17 or more gives 16, anything below 1 gives 0), tempo 20..240 and
// melody volume 50..200 percent (both clamped).
int MeasuresToInsertOf(std::string_view text);
int TempoOf(std::string_view text);
int VolumePercentOf(std::string_view text);

// The key signature (sharps positive, flats negative) and the tonic note in 60..71 of a key
// name of the key list ("Bb Minor" gives -5 and 70); a name outside the list gives 0 and 60.
struct KeyTokens {
    int keySf = 0;
    int tonic = 60;
};
KeyTokens KeyTokensOf(std::string_view keyName);

// "2/4" 2, "3/4" 3, "4/4" 4, "6/8" 6; any other text 4. Blanks around the text do not count.
int BeatsCodeOf(std::string_view timeText);

struct MelodyRun {
    int track = 1;  // 1..16: the track after the conductor track, or the channel
    int beats = 4;
    KeyTokens key;
    int tempo = 120;
    bool doubled = false;  // "x2 Melody": note lengths and tempo doubled
    int intro = 0;
    int ending = 0;
    int volume = 100;
    bool generate = false;
    std::uint32_t handle = 0;
};

// Tokens 1 to 10 and the handle added in 32 bits with wrap-around, as the worker adds them.
std::int32_t SumToken(const MelodyRun& run);

// "Quenby 1 4 0 60 120 1 1 0 0 100 <sum> <handle> 0".
std::string QuenbyArgs(const MelodyRun& run);

}  // namespace corvane::editors
