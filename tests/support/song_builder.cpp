#include "tests/support/song_builder.h"

#include <algorithm>
#include <tuple>

namespace testsupport {
namespace {

void AppendBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendChunk(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& body) {
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    AppendBe32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

}  // namespace

void AppendVlq(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

std::vector<std::uint8_t> BuildSong(const SimpleSong& song) {
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0x80};

    std::vector<std::uint8_t> conductor = {0x00,
                                           0xFF,
                                           0x58,
                                           0x04,
                                           static_cast<std::uint8_t>(song.numerator),
                                           static_cast<std::uint8_t>(song.denominatorPower),
                                           96,
                                           8};
    if (song.keySignature) {
        conductor.insert(conductor.end(),
                         {0x00, 0xFF, 0x59, 0x02, static_cast<std::uint8_t>(song.keySign), 0x00});
    }
    if (song.tempo > 0) {
        conductor.insert(
            conductor.end(),
            {0x00, 0xFF, 0x51, 0x03, static_cast<std::uint8_t>(song.tempo >> 16),
             static_cast<std::uint8_t>(song.tempo >> 8), static_cast<std::uint8_t>(song.tempo)});
    }
    conductor.insert(conductor.end(), {0x00, 0xFF, 0x2F, 0x00});
    AppendChunk(file, conductor);

    // (tick, 0 = off / 1 = on, index) keeps offs before ons at one tick and notes in list order.
    std::vector<std::tuple<std::int64_t, int, std::size_t>> events;
    for (std::size_t i = 0; i < song.notes.size(); ++i) {
        events.emplace_back(song.notes[i].start, 1, i);
        events.emplace_back(song.notes[i].end, 0, i);
    }
    std::sort(events.begin(), events.end());
    std::vector<std::uint8_t> melody;
    std::int64_t now = 0;
    for (const auto& [tick, on, index] : events) {
        AppendVlq(melody, static_cast<std::uint32_t>(tick - now));
        now = tick;
        const SongNote& note = song.notes[index];
        melody.push_back(static_cast<std::uint8_t>((on ? 0x90 : 0x80) | song.channel));
        melody.push_back(static_cast<std::uint8_t>(note.key));
        melody.push_back(static_cast<std::uint8_t>(on ? note.velocity : 64));
    }
    melody.insert(melody.end(), {0x00, 0xFF, 0x2F, 0x00});
    AppendChunk(file, melody);
    return file;
}

std::vector<std::uint8_t> TrackChunk(const std::vector<std::uint8_t>& events) {
    std::vector<std::uint8_t> chunk;
    AppendChunk(chunk, events);
    return chunk;
}

}  // namespace testsupport
