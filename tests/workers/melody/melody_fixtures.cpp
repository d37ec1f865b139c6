#include "tests/workers/melody/melody_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/hex_text.h"
#include "tests/support/program_folder.h"
#include "tests/support/song_builder.h"

namespace melodytest {

namespace {

std::filesystem::path FixturePath(const std::string& name) {
    return testsupport::SourceDir() / "tests/workers/melody/fixtures" / name;
}

}  // namespace

Bytes FixtureBytes(const std::string& name) {
    return testsupport::BytesFromHexText(FixtureText(name));
}

std::string FixtureText(const std::string& name) {
    return testsupport::ReadTextFile(FixturePath(name));
}

Bytes MidiHeader(int format, int tracks, int division) {
    return {'M',
            'T',
            'h',
            'd',
            0,
            0,
            0,
            6,
            0,
            static_cast<std::uint8_t>(format),
            static_cast<std::uint8_t>(tracks >> 8),
            static_cast<std::uint8_t>(tracks),
            static_cast<std::uint8_t>(division >> 8),
            static_cast<std::uint8_t>(division)};
}

Bytes MidiTrack(const Bytes& events) {
    return testsupport::TrackChunk(events);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<std::vector<SongEvent>> SongTracks(const Bytes& song) {
    std::vector<std::vector<SongEvent>> tracks;
    std::size_t at = 14;
    auto byte = [&](std::size_t i) -> std::uint8_t { return i < song.size() ? song[i] : 0xFF; };
    while (at + 8 <= song.size()) {
        EXPECT_EQ(std::string(song.begin() + at, song.begin() + at + 4), "MTrk") << "at " << at;
        const std::size_t length = std::size_t{byte(at + 4)} << 24 |
                                   std::size_t{byte(at + 5)} << 16 |
                                   std::size_t{byte(at + 6)} << 8 | byte(at + 7);
        const std::size_t end = at + 8 + length;
        EXPECT_LE(end, song.size()) << "track length runs past the file";
        std::vector<SongEvent> events;
        std::int64_t tick = 0;
        std::size_t i = at + 8;
        bool ended = false;
        while (i < end && !ended) {
            std::int64_t delta = 0;
            for (int n = 0; n < 4; ++n) {
                const std::uint8_t b = byte(i++);
                delta = delta << 7 | (b & 0x7F);
                if ((b & 0x80) == 0) break;
            }
            tick += delta;
            const std::uint8_t status = byte(i);
            SongEvent event{tick, {}};
            std::size_t size = 0;
            if (status == 0xFF) {
                size = 3 + byte(i + 2);
                ended = byte(i + 1) == 0x2F;
            } else if (status == 0xF0) {
                size = 1;
                while (byte(i + size - 1) != 0xF7 && i + size < end) ++size;
            } else if (status >= 0xC0 && status < 0xE0) {
                size = 2;
            } else if (status >= 0x80) {
                size = 3;
            } else {
                ADD_FAILURE() << "event without a status byte at " << i;
                return tracks;
            }
            event.bytes.assign(song.begin() + static_cast<std::ptrdiff_t>(i),
                               song.begin() + static_cast<std::ptrdiff_t>(std::min(i + size, end)));
            events.push_back(event);
            i += size;
        }
        EXPECT_TRUE(ended) << "track without an end-of-track event";
        EXPECT_EQ(i, end) << "track length differs from its bytes";
        tracks.push_back(std::move(events));
        at = end;
    }
    return tracks;
}

void PrintTo(const SongEvent& event, std::ostream* out) {
    *out << "tick " << event.tick << ":";
    char hex[4];
    for (std::uint8_t byte : event.bytes) {
        std::snprintf(hex, sizeof hex, " %02X", byte);
        *out << hex;
    }
}

std::string WithoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

std::string QuenbyCommandLine(const melody::MelodyJob& job, std::uint32_t handle, int runMode,
                              std::int32_t sumError) {
    const int values[] = {job.trackNo,        job.beatsCode,  job.keySf,       job.tonicNote,
                          job.tempoBpm,       job.timeFactor, job.noteOffZero, job.introMeasures,
                          job.endingMeasures, job.velPercent};
    std::string line;
    std::uint32_t sum = handle;
    for (int value : values) {
        line += std::to_string(value) + " ";
        sum += static_cast<std::uint32_t>(value);
    }
    sum += static_cast<std::uint32_t>(sumError);
    line += std::to_string(static_cast<std::int32_t>(sum)) + " " + std::to_string(handle) + " " +
            std::to_string(runMode);
    return line;
}

}  // namespace melodytest
