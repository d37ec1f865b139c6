// Small style files for the composer's tests, written the way a style file is laid out: per
// track a plain channel line, then the coded text of its modes up to "Eoi". Cells are given as
// the text of their values, so a test reads like the style description it stands for.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace composertest {

struct FixtureTrack {
    int channel = 1;
    int partStyleValue = 0;
    int program = 0, volume = 100, pan = 64, effect = 40;
    int program2 = 0, volume2 = 100, pan2 = 64, effect2 = 40;
    int value11 = 0;
    // One entry per mode: row -> the cells of that row ("6,0,0" ...). Rows not listed are "0".
    std::vector<std::map<int, std::string>> modes;
    std::vector<int> velHs;  // per mode (mode 0 has none); missing entries are 0
};

// The channel line with the record tag the front end reads and a header text.
std::string ChannelLine(const FixtureTrack& track,
                        const std::string& headerText = "Style: 4/4 Test");

// The decoded text of one block after its channel line (modes, blank lines, "Eoi").
std::string BlockText(const FixtureTrack& track, int linesPerMeasure);

// A whole style file.
std::vector<std::uint8_t> EncodeStyle(const std::vector<FixtureTrack>& tracks, int linesPerMeasure,
                                      std::uint8_t key);

// Raw block: a channel line and the decoded text as given, coded with `key`.
std::vector<std::uint8_t> EncodeBlock(const std::string& channelLine, const std::string& text,
                                      std::uint8_t key, bool withEnd = true);

// A track of `modeCount` modes with the same rows in each.
FixtureTrack UniformTrack(int channel, int modeCount, const std::map<int, std::string>& rows);

// The five drum/accompaniment tracks of a complete test style (modes 0..15).
std::vector<FixtureTrack> FullStyle(int linesPerMeasure, int drumMode = 1, int part2Mode = 0);

}  // namespace composertest
