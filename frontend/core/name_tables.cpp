#include "frontend/core/name_tables.h"

#include "formats/key_table.h"
#include "frontend/core/vb_text.h"

namespace corvane {
namespace {

constexpr std::array<const char*, 28> kKeyAccidentals = {
    "0,+,C",  "0,+,A",  "1,+,G",  "1,+,E",  "2,+,D",  "2,+,B",  "3,+,A",
    "3,+,F#", "4,+,E",  "4,+,C#", "5,+,B",  "5,+,G#", "6,+,F#", "6,+,D#",
    "7,+,C#", "7,+,A#", "1,-,F",  "1,-,D",  "2,-,Bb", "2,-,G",  "3,-,Eb",
    "3,-,C",  "4,-,Ab", "4,-,F",  "5,-,Db", "5,-,Bb", "6,-,Gb", "6,-,Eb",
};

constexpr std::array<const char*, 128> kProgramNames = {
    "Piano Acoustic Grand",
    "Piano Acoustic Bright",
    "Piano Electric Grand",
    "Piano Honky-tonk",
    "Piano Electric 1",
    "Piano Electric 2",
    "Harpsichord",
    "Clavinet",
    "Celesta",
    "Glockenspiel",
    "Music Box",
    "Vibraphone",
    "Marimba",
    "Xylophone",
    "Tubular Bells",
    "Dulcimer",
    "Organ Drawbar",
    "Organ Percussive",
    "Organ Rock",
    "Organ Church",
    "Organ Reed",
    "Accordion",
    "Harmonica",
    "Accordion Tango",
    "Guitar Acoustic (nylon)",
    "Guitar Acoustic (steel)",
    "Guitar Electric (jazz)",
    "Guitar Electric (clean)",
    "Guitar Electric (muted)",
    "Guitar Overdrive",
    "Guitar Distortion",
    "Guitar Harmonics",
    "Bass Acoustic",
    "Bass Electric (finger)",
    "Bass Electric (pick)",
    "Bass Fretless",
    "Bass Slap 1",
    "Bass Slap 2",
    "Bass Synth 1",
    "Bass Synth 2",
    "Violin",
    "Viola",
    "Cello",
    "Contrabass",
    "Strings Tremolo",
    "Strings Pizzicato",
    "Harp Orchestral",
    "Timpani",
    "Strings Ensemble 1",
    "Strings Ensemble 2",
    "Strings Synth 1",
    "Strings Synth 2",
    "Choir Aahs",
    "Voice Oohs",
    "Voice Synth",
    "Orchestra Hit",
    "Trumpet",
    "Trombone",
    "Tuba",
    "Trumpet Muted",
    "French Horn",
    "Brass Section",
    "Brass Synth 1",
    "Brass Synth 2",
    "Sax Soprano",
    "Sax Alto",
    "Sax Tenor",
    "Sax Baritone",
    "Obeo",
    "English Horn",
    "Bassoon",
    "Clarinet",
    "Piccolo",
    "Flute",
    "Recorder",
    "Pan Flute",
    "Bottle Blown",
    "Shakuhachi",
    "Whistle",
    "Ocarina",
    "Lead 1 (square)",
    "Lead 2 (sawtooth)",
    "Lead 3 (calliope)",
    "Lead 4 (chiff)",
    "Lead 5 (charang)",
    "Lead 6 (voice)",
    "Lead 7 (fifths)",
    "Lead 8 (bass + lead)",
    "Pad 1 (new Age)",
    "Pad 2 (warm)",
    "Pad 3 (polysynth)",
    "Pad 4 (choir)",
    "Pad 5 (bowed)",
    "Pad 6 (Metallic)",
    "Pad 7 (Halo)",
    "Pad 8 (Sweep)",
    "FX 1 (Rain)",
    "FX 2 (Soundtrack)",
    "FX 3 (Crystal)",
    "FX 4 (Atmosphere)",
    "FX 5 (Brightness)",
    "FX 6 (Goblins)",
    "FX 7 (Echoes)",
    "FX 8 (Sci-Fi)",
    "Sitar",
    "Banjo",
    "Shamisen",
    "Koto",
    "Kalimba",
    "Bag pipe",
    "Fiddle",
    "Shanai",
    "Tinkle Bell",
    "Agogo",
    "Steel Drums",
    "Woodblock",
    "Taiko Drum",
    "Melodic Tom",
    "Synth Drum",
    "Reverse Cymbal",
    "Guitar Fret Noise",
    "Breath Noise",
    "Seashore",
    "Bird Tweet",
    "Telephone Ring",
    "Helicopter Noise",
    "Applause Noise",
    "Gunshot Noise",
};

struct DrumKit {
    int program;
    const char* name;
};
constexpr std::array<DrumKit, 9> kDrumKits = {{
    {1, "Standard Kit 1"},
    {2, "Standard Kit 2"},
    {9, "Room Kit"},
    {17, "Rock Kit"},
    {25, "Electronic Kit"},
    {26, "Analog Kit"},
    {33, "Jazz Kit"},
    {41, "Brush Kit"},
    {49, "Classic Kit"},
}};

}  // namespace

const std::array<std::string, 29>& KeyNameTable() {
    static const auto table = [] {
        std::array<std::string, 29> names;
        for (int code = 0; code < formats::kKeyCount; ++code) {
            names[code] = std::string(formats::KeyNameTable[code]);
        }
        return names;
    }();
    return table;
}

const std::array<std::string, 29>& KeyAccidentalTable() {
    static const auto table = [] {
        std::array<std::string, 29> texts;
        for (std::size_t code = 0; code < kKeyAccidentals.size(); ++code) {
            texts[code] = kKeyAccidentals[code];
        }
        return texts;
    }();
    return table;
}

const std::array<std::string, 6>& MakeModeNames() {
    static const std::array<std::string, 6> names = {"NotUsed", "Simple", "Normal",
                                                     "Complex", "Mixing", ""};
    return names;
}

const std::array<std::string, 4>& ChordModeNames() {
    static const std::array<std::string, 4> names = {"Simple", "Mixing", "Complex", ""};
    return names;
}

const std::array<std::string, 130>& InstrumentNames() {
    static const auto table = [] {
        std::array<std::string, 130> names;
        names[0] = "Use default instrument";
        for (int p = 1; p <= 128; ++p) names[p] = ZeroPad(p, 3) + ": " + kProgramNames[p - 1];
        return names;
    }();
    return table;
}

const std::array<std::string, 130>& DrumKitNames() {
    static const auto table = [] {
        std::array<std::string, 130> names;
        names[0] = "Use Default Program";
        for (int p = 1; p <= 128; ++p) names[p] = ZeroPad(p, 3) + ": Program No " + ZeroPad(p, 3);
        for (const DrumKit& kit : kDrumKits)
            names[kit.program] = ZeroPad(kit.program, 3) + ": " + kit.name;
        return names;
    }();
    return table;
}

std::array<Colour, 6> DemoBackColours(Colour designBackColour) {
    return {designBackColour, Rgb(89, 0, 45),     Rgb(74, 34, 40),
            Rgb(39, 49, 30),  Rgb(224, 224, 224), 0};
}

const std::array<Colour, 15>& ChordColours() {
    static const std::array<Colour, 15> colours = {
        Rgb(176, 0, 0),   Rgb(240, 0, 0), Rgb(224, 176, 0), Rgb(240, 192, 0), Rgb(240, 192, 0),
        Rgb(240, 240, 0), Rgb(0, 176, 0), Rgb(0, 240, 0),   Rgb(0, 176, 176), Rgb(0, 240, 240),
        Rgb(0, 240, 240), Rgb(0, 0, 240), Rgb(176, 0, 176), Rgb(240, 0, 240), 0,
    };
    return colours;
}

const std::array<Colour, 7>& BeatLedColours() {
    static const std::array<Colour, 7> colours = {Rgb(255, 0, 0),
                                                  Rgb(255, 255, 0),
                                                  Rgb(255, 255, 0),
                                                  Rgb(255, 255, 0),
                                                  Rgb(255, 255, 0),
                                                  Rgb(255, 255, 0),
                                                  0};
    return colours;
}

}  // namespace corvane
