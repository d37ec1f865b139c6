// The user-visible name tables and the small colour and note tables that the start-up fills
// once and nothing changes later. Colours are 0x00BBGGRR values, the form every colour of the
// front end is kept in. Rows that the start-up leaves empty stay empty (or 0).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corvane {

using Colour = std::uint32_t;  // 0x00BBGGRR

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | static_cast<Colour>(g) << 8 | static_cast<Colour>(b) << 16;
}

// Key code i: the 8-character key name and the key signature text ("5,-,Db") in the form the
// song header line of Notes.aco starts with.
const std::array<std::string, 29>& KeyNameTable();
const std::array<std::string, 29>& KeyAccidentalTable();

// Names of the chord-making option (MakeOptMode 1..4) and of the chord option (ChordOptMode
// 0..2).
const std::array<std::string, 6>& MakeModeNames();
const std::array<std::string, 4>& ChordModeNames();
constexpr int kDefaultMakeOptMode = 3;
constexpr int kDefaultChordOptMode = 2;

// Row 0 "Use default instrument", row p (1..128) General MIDI program p as "001: Piano ...".
const std::array<std::string, 130>& InstrumentNames();
// Row 0 "Use Default Program", row p (1..128) "026: Analog Kit" or "003: Program No 003".
const std::array<std::string, 130>& DrumKitNames();

// Colour tables of the main window. Row 0 of DemoBackColours is the visualiser's designed
// background, which the start-up supplies.
std::array<Colour, 6> DemoBackColours(Colour designBackColour);
const std::array<Colour, 15>& ChordColours();
const std::array<Colour, 7>& BeatLedColours();
constexpr int kFirstLitBeatLed = 1;
// An unlit beat or style LED, and the bar list's text while no output is being composed.
constexpr Colour kLedOff = 0x808080;
constexpr Colour kBarListIdle = 0xC0C0C0;
// The C major scale from middle C that the instrument audition plays.
constexpr std::array<std::uint8_t, 9> AuditionNotes = {60, 62, 64, 65, 67, 69, 71, 72, 0};

}  // namespace corvane
