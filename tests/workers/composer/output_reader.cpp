#include "output_reader.h"

#include <span>

#include "formats/output_coding.h"

namespace composertest {

namespace {

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t p) {
    return (std::uint32_t{b[p]} << 24) | (std::uint32_t{b[p + 1]} << 16) |
           (std::uint32_t{b[p + 2]} << 8) | b[p + 3];
}

bool ReadVlq(const std::vector<std::uint8_t>& b, std::size_t& p, std::size_t end,
             std::int64_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (p >= end) return false;
        const std::uint8_t c = b[p++];
        value = (value << 7) | (c & 0x7F);
        if ((c & 0x80) == 0) return true;
    }
    return false;
}

bool ParseTrack(const std::vector<std::uint8_t>& b, std::size_t start, std::size_t end,
                MidiTrack& track) {
    std::size_t p = start;
    std::int64_t tick = 0;
    std::uint8_t running = 0;
    while (p < end) {
        std::int64_t delta = 0;
        if (!ReadVlq(b, p, end, delta)) return false;
        tick += delta;
        if (p >= end) return false;
        MidiEvent e;
        e.tick = tick;
        std::uint8_t status = b[p];
        if (status & 0x80)
            ++p;
        else
            status = running;
        if (status == 0) return false;
        e.status = status;
        if (status == 0xFF) {
            if (p >= end) return false;
            const std::uint8_t type = b[p++];
            std::int64_t len = 0;
            if (!ReadVlq(b, p, end, len) || p + len > end) return false;
            e.data.push_back(type);
            e.data.insert(e.data.end(), b.begin() + p, b.begin() + p + len);
            p += len;
            if (type == 0x03) track.name.assign(b.begin() + p - len, b.begin() + p);
            track.events.push_back(e);
            if (type == 0x2F) return p == end;
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            std::int64_t len = 0;
            if (!ReadVlq(b, p, end, len) || p + len > end) return false;
            p += len;
            continue;
        }
        running = status;
        const int n = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (p + n > end) return false;
        for (int i = 0; i < n; ++i) {
            if (b[p] & 0x80) return false;
            e.data.push_back(b[p++]);
        }
        track.events.push_back(e);
    }
    return false;
}

}  // namespace

std::optional<MidiSong> ParseMidi(const std::vector<std::uint8_t>& b) {
    if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || Be32(b, 4) != 6)
        return std::nullopt;
    MidiSong song;
    song.format = (b[8] << 8) | b[9];
    song.trackCount = (b[10] << 8) | b[11];
    song.division = (b[12] << 8) | b[13];
    std::size_t p = 14;
    while (p < b.size()) {
        if (p + 8 > b.size() || std::string(b.begin() + p, b.begin() + p + 4) != "MTrk")
            return std::nullopt;
        const std::size_t len = Be32(b, p + 4);
        if (p + 8 + len > b.size()) return std::nullopt;
        MidiTrack track;
        track.bytes.assign(b.begin() + p, b.begin() + p + 8 + len);
        if (!ParseTrack(b, p + 8, p + 8 + len, track)) return std::nullopt;
        song.tracks.push_back(std::move(track));
        p += 8 + len;
    }
    return song;
}

std::optional<MidiSong> ReadComposerOutput(std::vector<std::uint8_t> b, int runCode) {
    std::size_t p = 14;
    for (int t = 0; t < 2; ++t) {
        if (p + 8 > b.size()) return std::nullopt;
        p += 8 + Be32(b, p + 4);
    }
    if (p > b.size()) return std::nullopt;
    formats::UndoOutputCoding(std::span<std::uint8_t>(b).subspan(p), runCode);
    return ParseMidi(b);
}

}  // namespace composertest
