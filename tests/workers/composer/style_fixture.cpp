#include "style_fixture.h"

#include <cstdio>

#include "formats/style_coding.h"

namespace composertest {

std::string ChannelLine(const FixtureTrack& t, const std::string& headerText) {
    char line[256];
    std::snprintf(line, sizeof line, "Mtrk,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,\"%s\"", t.channel,
                  t.partStyleValue, t.program, t.volume, t.pan, t.effect, t.program2, t.volume2,
                  t.pan2, t.effect2, t.value11, headerText.c_str());
    return line;
}

std::string BlockText(const FixtureTrack& track, int linesPerMeasure) {
    std::string text;
    for (std::size_t k = 0; k < track.modes.size(); ++k) {
        if (k > 0) {
            const int vel = k < track.velHs.size() ? track.velHs[k] : 0;
            text += std::to_string(k) + "," + std::to_string(vel) + ",\r\n";
        }
        for (int row = 0; row < linesPerMeasure; ++row) {
            auto it = track.modes[k].find(row);
            text += (it == track.modes[k].end() ? std::string("0") : it->second) + ",\r\n";
        }
        if (k + 1 < track.modes.size()) text += "\r\n";
    }
    text += "Eoi";
    return text;
}

std::vector<std::uint8_t> EncodeBlock(const std::string& channelLine, const std::string& text,
                                      std::uint8_t key, bool withEnd) {
    std::vector<std::uint8_t> out(channelLine.begin(), channelLine.end());
    out.push_back('\r');
    out.push_back('\n');
    formats::AppendCodedStyleText(text, key, out);
    if (withEnd) {
        out.push_back(0x0D);
        out.push_back(0x0A);
    }
    return out;
}

std::vector<std::uint8_t> EncodeStyle(const std::vector<FixtureTrack>& tracks, int linesPerMeasure,
                                      std::uint8_t key) {
    std::vector<std::uint8_t> out;
    for (const FixtureTrack& t : tracks) {
        const auto block = EncodeBlock(ChannelLine(t), BlockText(t, linesPerMeasure), key);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

FixtureTrack UniformTrack(int channel, int modeCount, const std::map<int, std::string>& rows) {
    FixtureTrack t;
    t.channel = channel;
    t.modes.assign(modeCount, rows);
    return t;
}

std::vector<FixtureTrack> FullStyle(int lines, int /*drumMode*/, int /*part2Mode*/) {
    const int half = lines / 2;
    std::vector<FixtureTrack> tracks;
    // Chord part: root, third and fifth at the start of each half, released before the next.
    FixtureTrack chords = UniformTrack(
        1, 16,
        {{0, "6,10,13"}, {half - 1, "-6,-10,-13"}, {half, "6,10,13"}, {lines - 1, "-6,-10,-13"}});
    chords.program = 0;
    tracks.push_back(chords);
    // Bass-like pattern part.
    FixtureTrack bass =
        UniformTrack(2, 16, {{0, "6"}, {half - 1, "-6"}, {half, "1"}, {lines - 1, "-1"}});
    bass.partStyleValue = -12;
    bass.program = 32;
    tracks.push_back(bass);
    FixtureTrack pad = UniformTrack(3, 16, {{0, "10,6"}, {lines - 1, "-10,-6"}});
    pad.program = 48;
    tracks.push_back(pad);
    FixtureTrack arp = UniformTrack(4, 16, {{0, "6"}, {2, "-6"}, {half, "10"}, {half + 2, "-10"}});
    arp.program = 24;
    tracks.push_back(arp);
    // Drums: bass drum on the beats, snare between, released right after.
    std::map<int, std::string> drumRows;
    const int beat = lines / 4;
    for (int b = 0; b < 4; ++b) {
        drumRows[b * beat] = b % 2 == 0 ? "36" : "38";
        drumRows[b * beat + 1] = b % 2 == 0 ? "-36" : "-38";
    }
    FixtureTrack drums = UniformTrack(9, 16, drumRows);
    tracks.push_back(drums);
    return tracks;
}

}  // namespace composertest
