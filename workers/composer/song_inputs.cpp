#include "workers/composer/song_inputs.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "formats/chord_data.h"
#include "formats/midi_bytes.h"
#include "workers/common/smf_events.h"
#include "workers/composer/compose_args.h"

namespace composer {

namespace {

constexpr std::uint8_t kMetaByte = formats::midi::kMeta;
constexpr std::uint8_t kTimeSignatureMeta[3] = {kMetaByte, formats::midi::kMetaTimeSignature, 0x04};
constexpr std::uint8_t kKeySignatureMeta[3] = {kMetaByte, formats::midi::kMetaKeySignature, 0x02};
constexpr int kRecordLengthLimit = 80;

// Scans for a three-byte pattern; a byte that breaks a match is not examined again as a new
// start. Returns the position behind the pattern or -1.
std::int64_t FindMeta(std::span<const std::uint8_t> bytes, const std::uint8_t (&pattern)[3]) {
    int matched = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == pattern[matched]) {
            if (++matched == 3) return static_cast<std::int64_t>(i + 1);
        } else {
            matched = 0;
        }
    }
    return -1;
}

// The copied bytes go into the output unchanged, and the front end walks their chunk lengths to
// find where the composed tracks begin: they must be exactly two "MTrk" chunks whose lengths
// stay inside the file (a song cut short, or with stray bytes after its tracks, would give an
// output nobody can decode).
bool HoldsTwoWholeChunks(std::span<const std::uint8_t> song, std::int64_t begin, std::int64_t end) {
    if (begin < 0 || begin > end || end > static_cast<std::int64_t>(song.size())) return false;
    int chunks = 0;
    const bool whole = formats::midi::ForEachTrackChunk(
        song.subspan(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)),
        [&chunks](std::span<const std::uint8_t>) { return ++chunks <= 2; });
    return whole && chunks == 2;
}

// The status bytes of the channel events in song[begin, end) that the song loader takes in:
// the song is walked as the loader reads it, so a meta event or a delta time cut short by the
// end of the file ends the walk and keeps what came before, and a meta event whose length runs
// past its chunk goes on where the loader goes on. None when the loader would refuse the
// song's events (running status, an unknown status, an event cut short): the loader took in
// no melody from such a song.
std::vector<std::size_t> LoadedChannelEvents(std::span<const std::uint8_t> song, std::size_t begin,
                                             std::size_t end) {
    std::vector<std::size_t> statuses;
    worker::SongEventWalker walker(song, formats::midi::kHeaderChunkLength);
    for (;;) {
        worker::SmfEvent event;
        switch (walker.Next(event)) {
            case worker::SmfStep::kTrack:
                break;
            case worker::SmfStep::kEvent:
                if (worker::IsChannelEvent(event.kind) && event.statusAt >= begin &&
                    event.statusAt < end) {
                    statuses.push_back(event.statusAt);
                }
                break;
            case worker::SmfStep::kEnd:
                return statuses;
            default:
                return {};
        }
    }
}

}  // namespace

InputStatus ReadSongHeader(std::span<const std::uint8_t> song, SongHeader& header) {
    char text[160];
    const int hb = song.size() > 12 ? song[12] : 0;
    const int lb = song.size() > 13 ? song[13] : 0;
    const int division = static_cast<std::int16_t>((hb << 8) | lb);
    header.division = division;
    if (division != kTicksPerQuarter) {
        if (division > 0) return {false, "Cannot work with the Division other than 384."};
        std::snprintf(text, sizeof text, "Error: Invalid Division %d, Hb=%d, Lb=%d", division, hb,
                      lb);
        return {false, text};
    }
    const std::int64_t ts = FindMeta(song, kTimeSignatureMeta);
    if (ts < 0) return {false, "Error GetTimeSig(fi)"};
    auto at = [&](std::int64_t p) -> int {
        return p < static_cast<std::int64_t>(song.size()) ? song[static_cast<std::size_t>(p)] : -1;
    };
    const int numerator = at(ts), power = at(ts + 1), clocks = at(ts + 2), per32 = at(ts + 3);
    bool known = clocks == 96 && per32 == 8;
    if (known) {
        if (numerator == 2 && power == 2) {
            header.timeCode = 2;
            header.timeSigName = "2/4";
        } else if (numerator == 3 && power == 2) {
            header.timeCode = 3;
            header.timeSigName = "3/4";
            header.split34 = true;
        } else if (numerator == 4 && power == 2) {
            header.timeCode = 4;
            header.timeSigName = "4/4";
        } else if (numerator == 6 && power == 3) {
            header.timeCode = 3;
            header.timeSigName = "6/8";
        } else
            known = false;
    }
    if (!known) return {false, "Error: Unknown Time Signature."};
    header.numerator = numerator;
    const std::int64_t ks = FindMeta(song, kKeySignatureMeta);
    if (ks >= 0) {
        header.keySignature[0] = static_cast<std::uint8_t>(at(ks) < 0 ? 0 : at(ks));
        header.keySignature[1] = static_cast<std::uint8_t>(at(ks + 1) < 0 ? 0 : at(ks + 1));
    }
    return {};
}

std::int64_t SeekInputTrack(std::span<const std::uint8_t> song, int n) {
    static constexpr char kTag[4] = {'M', 'T', 'r', 'k'};
    int matched = 0;
    int found = 0;
    for (std::size_t i = 0; i < song.size(); ++i) {
        if (song[i] == static_cast<std::uint8_t>(kTag[matched])) {
            if (++matched == 4) {
                matched = 0;
                if (++found == n) return static_cast<std::int64_t>(i + 1);
            }
        } else {
            matched = 0;
        }
    }
    return -1;
}

InputStatus CopyFirstTwoTracks(std::span<const std::uint8_t> song, std::vector<std::uint8_t>& out) {
    const std::int64_t p1 = SeekInputTrack(song, 1);
    if (p1 < 0) return {false, "Error seek to FiPos1"};
    if (SeekInputTrack(song, 2) < 0)
        return {false, "Error: <InPut.bin> has fewer than two tracks."};
    std::int64_t p3 = SeekInputTrack(song, 3);
    const std::int64_t end = p3 < 0 ? static_cast<std::int64_t>(song.size()) : p3 - 4;
    if (!HoldsTwoWholeChunks(song, p1 - 4, end)) {
        return {false, "Error: <InPut.bin> has a broken track chunk."};
    }
    const std::size_t first = out.size();
    const auto copied = static_cast<std::size_t>(p1 - 4);
    out.insert(out.end(), song.begin() + (p1 - 4), song.begin() + end);
    // The parts take the channels 2 to 16; on one of them the melody would take on a part's
    // program and volume, so it sounds on channel 1. The user's song input stays as it is.
    const std::size_t melody = copied + formats::midi::kChunkHeadLength +
                               formats::midi::ReadChunkLength(song, copied) +
                               formats::midi::kChunkHeadLength;
    for (const std::size_t status :
         LoadedChannelEvents(song, melody, static_cast<std::size_t>(end))) {
        out[first + (status - copied)] &= 0xF0;
    }
    return {};
}

std::array<int, 48> ReadBeatPattern(std::span<const std::uint8_t> text) {
    std::array<int, 48> pattern{};
    TextLines lines(text);
    std::string line;
    for (int i = 0; i < 48; ++i) {
        if (!lines.Next(4, line)) break;
        int value = 0;
        if (std::sscanf(line.c_str(), "%d\n", &value) != 1) break;
        pattern[i] = value;
    }
    return pattern;
}

InputStatus ReadChordData(std::span<const std::uint8_t> coded, int key, ChordData& data) {
    data = {};
    char text[256];
    const std::vector<std::uint8_t> plain =
        formats::DecodeChordData(coded, static_cast<std::uint8_t>(key & 0xFF));
    // The bytes up to and including the first ";" (all of them when there is none).
    std::size_t length = plain.size();
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == ';') {
            length = i + 1;
            break;
        }
    }
    if (length < 1 || length > kRecordLengthLimit) {
        std::snprintf(text, sizeof text, "Error: Invalid RecLen %lld",
                      static_cast<long long>(length));
        return {false, text};
    }
    const int recLen = static_cast<int>(length);
    const std::size_t records = plain.size() / static_cast<std::size_t>(recLen);
    std::string record;
    for (std::size_t r = 0; r < records; ++r) {
        record.clear();
        for (int b = 0; b < recLen; ++b) {
            record.push_back(static_cast<char>(plain[r * recLen + b]));
        }
        if (static_cast<int>(data.measures.size()) == kMeasureTabSize) {
            std::snprintf(text, sizeof text,
                          "Out of memory. The input song has too many measures: %d.",
                          kMeasureTabSize + 1);
            return {false, text};
        }
        int measureNo = 0, drum = 0, keptDigit = 0, inst = 0, style = 0;
        char chord1[6] = {}, chord2[6] = {};
        // %5s stops at blanks and NUL bytes; the record is made a C string first.
        const std::string cstr(record.c_str());
        const int n = std::sscanf(cstr.c_str(), "%3d:%1d:%5s:%1d:%5s:%1d:%1d;", &measureNo, &drum,
                                  chord1, &keptDigit, chord2, &inst, &style);
        if (n < 7) {
            std::snprintf(text, sizeof text, "Error: Invalid input data format kq=%d\n<%.80s>", n,
                          cstr.c_str());
            return {false, text};
        }
        MeasureRecord m;
        m.drumCode = drum;
        m.instCode = inst;
        m.chord1 = chord1;
        m.chord2 = chord2;
        m.kept = static_cast<char>('0' + (keptDigit % 10 + 10) % 10);
        data.measures.push_back(m);
        if (style >= 1) {
            if (data.sections.size() < static_cast<std::size_t>(kMeasureTabSize)) {
                data.sections.push_back({static_cast<int>(data.measures.size()) - 1, style});
            } else {
                data.sections.back() = {static_cast<int>(data.measures.size()) - 1, style};
            }
        }
    }
    return {};
}

std::array<int, 12> ReadSongPitchClasses(std::span<const std::uint8_t> text, int lineCount) {
    std::array<int, 12> classes{};
    TextLines lines(text);
    std::string line;
    for (int l = 0; l < lineCount; ++l) {
        int v[20] = {};
        if (!lines.Next(299, line)) break;
        std::sscanf(line.c_str(),
                    "%03d;%03d;%03d;%03d;%03d;%03d;%03d;%03d;%03d;%03d;%03d;%03d;%03d;%03d;%03d;%"
                    "03d;%03d;%03d;"
                    "%03d;%03d;",
                    &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10],
                    &v[11], &v[12], &v[13], &v[14], &v[15], &v[16], &v[17], &v[18], &v[19]);
        for (int value : v) {
            if (value >= 60 && value <= 71) classes[value - 60] = value;
        }
    }
    return classes;
}

std::vector<MeasureStat> ReadMeasureStats(std::span<const std::uint8_t> text) {
    std::vector<MeasureStat> rows;
    TextLines lines(text);
    std::string line;
    while (static_cast<int>(rows.size()) < kMaxStatRows && lines.Next(49, line)) {
        int v[6];
        if (std::sscanf(line.c_str(), "%03d;%02d;%03d;%02d;%03d;%03d\n", &v[0], &v[1], &v[2], &v[3],
                        &v[4], &v[5]) != 6) {
            break;
        }
        rows.push_back({v[0], v[1], v[2], v[3], v[5]});
    }
    return rows;
}

}  // namespace composer
