#include "fuzz/composer/random_song.h"

#include <iterator>
#include <vector>

#include "formats/output_coding.h"
#include "tests/library/midi_events.h"

namespace composer {
namespace {

constexpr int kMaxSongMeasures = 16;
constexpr const char* kChords[] = {"C....", "A.m7.", "F.M9.", "G..7+", "Dbs.-", "E.m6o",
                                   "Bb...", "F#m..", "D..9.", "G.s7.", "E.M7.", "Ab.6.",
                                   "B.m7-", "C#...", "Ebm9.", "G...."};

std::string RealChord(Draw& draw) {
    return kChords[draw.Below(static_cast<int>(std::size(kChords)))];
}

// Now and then a continuation ("....."): the half keeps the chord before it.
std::string AnyChord(Draw& draw) {
    return draw.Chance(15) ? "....." : RealChord(draw);
}

// A level token of the command line: 0 to 9, now and then one out of range (level 65).
int EchoLevel(Draw& draw) {
    return draw.Chance(10) ? 65 : draw.Below(10) * 13;
}

}  // namespace

ComposeSetup RandomSetup(std::uint32_t seed, const std::array<std::string, kSlotCount>& styleNames,
                         int numerator) {
    Draw draw(seed);
    ComposeSetup setup;
    setup.runCode = 59 + draw.Below(42);
    setup.header.numerator = numerator;
    setup.header.timeCode = numerator == 6 ? 3 : numerator;
    setup.header.timeSigName = numerator == 6 ? "6/8" : std::to_string(numerator) + "/4";
    setup.header.keySignature = {static_cast<std::uint8_t>(draw.Below(15) - 7), 0};
    setup.options.autoOctave = draw.Below(2);
    static constexpr int kHead[][2] = {{30, 0}, {75, 1}, {90, 2}, {80, 1}};
    const int hold = draw.Below(4);
    setup.options.headRelease = kHead[hold][0];
    setup.options.holdMode = kHead[hold][1];
    setup.options.echoLevel1 = EchoLevel(draw);
    setup.options.echoLevel2 = EchoLevel(draw);
    // Exactly one level at 0 becomes 1, as the command line has it.
    if ((setup.options.echoLevel1 == 0) != (setup.options.echoLevel2 == 0)) {
        (setup.options.echoLevel1 == 0 ? setup.options.echoLevel1 : setup.options.echoLevel2) = 1;
    }
    setup.options.echoProgram1 = draw.Below(128);
    setup.options.echoProgram2 = draw.Below(128);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        setup.options.styleNames[slot] = styleNames[slot];
        setup.slotSettings[slot] = SlotSettingsFromName(styleNames[slot]);
        SlotParams& params = setup.slotParams[slot];
        params.sectVol = draw.Chance(10) ? 0 : 20 + draw.Below(81);
        for (int part = 0; part < kStyleTrackCount; ++part) {
            params.partProgram[part] = draw.Chance(20) ? 1 + draw.Below(128) : 0;
            params.partVol[part] = draw.Chance(30) ? 1 + draw.Below(127) : 0;
            params.channelMode[part] = draw.Below(4);
            params.partModeTens[part] = draw.Chance(70) ? 0 : draw.Below(10);
        }
    }

    const int measures = 2 + draw.Below(kMaxSongMeasures - 1);
    for (int m = 0; m < measures; ++m) {
        MeasureRecord r;
        r.chord1 = m == 0 ? RealChord(draw) : AnyChord(draw);
        r.chord2 = AnyChord(draw);
        r.drumCode = draw.Below(10);
        r.instCode = draw.Chance(70) ? r.drumCode : draw.Below(10);
        setup.chords.measures.push_back(r);
        if (draw.Chance(30)) setup.chords.sections.push_back({m, 1 + draw.Below(kSlotCount)});
        MeasureStat stat;
        if (draw.Chance(80)) {
            stat.mainNote1 = 48 + draw.Below(37);
            stat.position1 = draw.Below(48) - 1;
        }
        if (draw.Chance(60)) {
            stat.mainNote2 = 48 + draw.Below(37);
            stat.position2 = draw.Below(48) - 1;
        }
        stat.velocity = draw.Below(128);
        setup.stats.push_back(stat);
    }
    // The key chord, the last measure's first chord, must name a real chord.
    setup.chords.measures.back().chord1 = RealChord(draw);
    for (int c = 0; c < 12; ++c) setup.songPitchClasses[c] = draw.Chance(60) ? 60 + c : 0;
    const int density = draw.Below(100);
    for (int& beat : setup.beatPattern) beat = draw.Below(100) < density ? 1 : 0;
    return setup;
}

std::string ComposedNoteFaults(const ComposeResult& result, int runCode) {
    std::vector<std::uint8_t> tracks = result.codedTracks;
    if (!formats::DecodeOutputTracks(tracks, runCode)) return "the tracks do not decode\n";
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 10, 0x01, 0x80};
    file.insert(file.end(), tracks.begin(), tracks.end());
    const auto song = librarytest::ReadMidiSong(file);
    if (!song) return "the tracks are not a well-formed MIDI file\n";
    return librarytest::NoteStreamFaults(*song, 0);
}

}  // namespace composer
