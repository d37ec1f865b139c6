// The library checks' fixture song and how a set of library styles is composed on it: every
// section code comes up, the slots switch every four measures, two melody notes a measure.
// The song is written the way the song loader and the chord maker would leave it, and the
// composer runs as the front end starts it; the output comes back decoded.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/library/library_catalog.h"
#include "tests/library/midi_events.h"
#include "tests/support/program_folder.h"

namespace librarytest {

enum Section {
    kNormal1,
    kVariation,
    kBreak1,
    kIntro2,
    kIntro1,
    kNormal2,
    kStop,
    kBreak2,
    kEnding,
    kPause
};

// Measure by measure: every section code comes up. Intro2 and Break1 bring every part in, the
// Stop rests the parts until the Break2 after it (both inside one slot's stretch, since only
// the part that stopped can be let in again), and the song closes with Ending.
constexpr std::array<int, 24> kSections = {
    kIntro1,  kIntro2,  kBreak1,  kNormal1, kNormal1, kNormal2,   kNormal2,   kVariation,
    kNormal1, kStop,    kNormal1, kBreak2,  kNormal1, kNormal2,   kVariation, kNormal1,
    kNormal2, kNormal1, kPause,   kNormal1, kNormal2, kVariation, kNormal1,   kEnding};
constexpr int kMeasures = static_cast<int>(kSections.size());
// The slot that starts at a measure (0: none): every slot plays a stretch of the song.
constexpr std::array<int, kMeasures> kSlotStarts = {0, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0,
                                                    4, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0};
constexpr int kTicksPerQuarter = 384;

struct Signature {
    const char* name;  // as in the style headers
    int numerator;
    int denominatorPower;
    int beats;      // quarter notes per measure
    int halfTicks;  // where the measure's second chord starts
};

inline constexpr Signature kSignatures[] = {
    {"2/4", 2, 2, 2, 384}, {"3/4", 3, 2, 3, 768}, {"4/4", 4, 2, 4, 768}, {"6/8", 6, 3, 3, 576}};

// The song input and the measure files the song loader would write for a melody of two notes a
// measure, `measures` long: a quarter note on each downbeat and a second note from `secondTick`
// into the measure to just before its end (so that a Stop measure has melody to stop on).
void WriteTwoNoteMelody(const testsupport::TempProgramFolder& folder, int numerator,
                        int denominatorPower, std::int64_t secondTick, int measures);

// The chord of a half measure (the last measure plays its first chord, the key chord C).
std::string Chord(int measure, int half);

// How the composer is asked: the slots' volume percentage and the echo level tokens.
struct ComposeSettings {
    int sectVol = 100;
    std::string echoTokens = "4 5";
};

struct RunResult {
    bool composed = false;
    std::string error;
    std::vector<std::uint8_t> decoded;  // the accompanied song as a plain MIDI file
    MidiSong song;
};

// Composes the fixture song in `ts` with the five styles in slots 1 to 5, each part in the play
// mode its StyleInfo gives.
RunResult ComposeFixture(const Signature& ts, const std::array<const StyleInfo*, 5>& slots,
                         const ComposeSettings& settings = {});

// Composes the fixture song in `ts` as the window's Make Output does on a first run
// (tools/firstrun), with the program folder's `styleFile` in all five slots and the volume
// sliders of the parts at `partVolumes` in every slot (0: the style's own volume).
RunResult ComposeFixtureAsTheWindow(const Signature& ts, const std::string& styleFile,
                                    const std::array<int, 5>& partVolumes = {});

// Runs the composer in `folder` (song, chord data and styles in place) with the command line
// `makeLine(handle)` ("Compose" and its tokens; "vPara.dat" written by the caller) and decodes its
// output with the run code of its completion.
RunResult RunComposer(const testsupport::TempProgramFolder& folder,
                      const std::function<std::string(platform::Hwnd)>& makeLine);

}  // namespace librarytest
