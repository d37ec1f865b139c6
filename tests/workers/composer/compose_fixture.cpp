#include "compose_fixture.h"

#include <cstdio>

#include "formats/style_keys.h"
#include "tests/support/song_builder.h"

namespace composertest {

std::vector<std::uint8_t> EncodeChordData(const std::vector<FixtureMeasure>& measures, int key) {
    std::string plain;
    char record[64];
    for (std::size_t m = 0; m < measures.size(); ++m) {
        const FixtureMeasure& f = measures[m];
        std::snprintf(record, sizeof record, "%03d:%d:%s:%d:%s:%d:%d:%-10s;", static_cast<int>(m),
                      f.drum, f.chord1.c_str(), 2, f.chord2.c_str(), f.inst, f.style, "");
        plain += record;
    }
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        out.push_back(
            static_cast<std::uint8_t>(static_cast<std::uint8_t>(plain[i]) + key + 1 + 3 * (i + 1)));
    }
    return out;
}

int ComposeFixture::LinesPerMeasure() const {
    const int q = version < 10 ? 8 : 12;
    return numerator == 2 ? 2 * q : numerator == 4 ? 4 * q : 3 * q;
}

void ComposeFixture::WriteTo(const testsupport::TempProgramFolder& folder) const {
    testsupport::SimpleSong song;
    song.numerator = numerator;
    song.denominatorPower = denominatorPower;
    const int measureTicks = 384 * (numerator == 6 ? 3 : numerator);
    std::string notes, stats;
    char line[96];
    for (std::size_t m = 0; m < measures.size(); ++m) {
        const int key = 60 + static_cast<int>(m % 3) * 2;
        song.notes.push_back({static_cast<std::int64_t>(m) * measureTicks,
                              static_cast<std::int64_t>(m) * measureTicks + 384, key, 90});
        std::snprintf(line, sizeof line, "%03d;\r\n000;\r\n", key);
        notes += line;
        std::snprintf(line, sizeof line, "%03d;%02d;%03d;%02d;%03d;%03d\r\n", key, 0, 0, 0, 1, 90);
        stats += line;
    }
    folder.Write("InPut.bin", testsupport::BuildSong(song));
    folder.Write("Notes.dat", notes);
    folder.Write("Temps2.aco", stats);
    std::string beats;
    for (int i = 0; i < 48; ++i) beats += i % 6 == 0 ? "1\r\n" : "0\r\n";
    folder.Write("BtData.dat", beats);
    folder.Write("Data.aco", EncodeChordData(measures, chordKey));
    std::string options = vPara;
    if (options.empty()) {
        for (int slot = 0; slot < 5; ++slot)
            options += "080,000,000,000,000,000,000,000,000,000,000,000,002,003,001,001\r\n";
    }
    folder.Write("vPara.dat", options);
    if (writeStyles) {
        const auto tracks = styleTracks.empty() ? FullStyle(LinesPerMeasure()) : styleTracks;
        const auto bytes =
            EncodeStyle(tracks, LinesPerMeasure(), formats::StyleKeyForVersion(version));
        for (const std::string& name : styleNames) folder.Write(name, bytes);
    }
}

std::string ComposeFixture::Args(platform::Hwnd hwnd) const {
    std::string args = "4 " + std::to_string(echo1) + " " + std::to_string(echo2) + " 1";
    for (const std::string& name : styleNames) args += " " + name;
    args += " 49 89 " + std::to_string(chordKey) + " " + std::to_string(hwnd) + " 0 0 0 1 2426";
    return args;
}

std::vector<FixtureMeasure> TypicalMeasures(int count) {
    static const char* kChords[] = {"C....", "F....", "G..7.", "A.m.."};
    std::vector<FixtureMeasure> out;
    for (int m = 0; m < count; ++m) {
        FixtureMeasure f;
        f.chord1 = kChords[m % 4];
        f.chord2 = m % 2 == 0 ? "....." : kChords[(m + 1) % 4];
        const int code = m == 0             ? 4
                         : m == count - 1   ? 8
                         : m % 8 == 7       ? 7
                         : (m / 2) % 2 == 0 ? 0
                                            : 5;
        f.drum = f.inst = code;
        f.style = m == 0 ? 1 : 0;
        out.push_back(f);
    }
    out.back().chord1 = "C....";
    return out;
}

}  // namespace composertest
