// A complete set of composer inputs in a temporary program folder: the song input, the
// measure files, the coded chord data, the play options and five style files, with the
// composer's command line for a receiver handle.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/window.h"
#include "style_fixture.h"
#include "tests/support/program_folder.h"

namespace composertest {

struct FixtureMeasure {
    int drum = 0;
    std::string chord1 = "C....";
    std::string chord2 = ".....";
    int inst = 0;
    int style = 0;
};

// The chord data file as the chord maker writes it, coded with `key`.
std::vector<std::uint8_t> EncodeChordData(const std::vector<FixtureMeasure>& measures, int key);

struct ComposeFixture {
    int numerator = 4;
    int denominatorPower = 2;
    int version = 12;  // of every style
    std::vector<FixtureMeasure> measures;
    std::array<std::string, 5> styleNames{"Tsta12.sty", "Tstb12.sty", "Tstc12.sty", "Tstd12.sty",
                                          "Tste12.sty"};
    std::string vPara;  // empty: five default lines
    int chordKey = 49;
    int echo1 = 5, echo2 = 6;
    std::vector<FixtureTrack> styleTracks;  // empty: FullStyle
    bool writeStyles = true;

    // Steps of a measure for the styles' version.
    int LinesPerMeasure() const;
    void WriteTo(const testsupport::TempProgramFolder& folder) const;
    std::string Args(platform::Hwnd hwnd) const;
};

// `count` measures cycling through C, F, G, Am with section codes for a typical song.
std::vector<FixtureMeasure> TypicalMeasures(int count);

}  // namespace composertest
