// Songs for the key detector's end-to-end runs and benchmark: a format-1 file at 384 ticks per
// quarter with a conductor track (time signature, tempo) and one melody track, built from
// notes given by start tick, key and length. Long melodies are clearer built than written out
// as hex text; the byte-level cases of the reader have hex fixtures of their own.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace keydetect::testing {

class SongBuilder {
  public:
    // 4/4 unless changed; the numerator and the power of two of the denominator.
    SongBuilder& Meter(std::uint8_t numerator, std::uint8_t denominatorPower) {
        numerator_ = numerator;
        denominatorPower_ = denominatorPower;
        return *this;
    }
    SongBuilder& Note(std::int64_t start, int key, std::int64_t length) {
        events_.push_back({start, 1, static_cast<std::uint8_t>(key)});
        events_.push_back({start + length, 0, static_cast<std::uint8_t>(key)});
        return *this;
    }
    // Appends a note right after the last one added.
    SongBuilder& Append(int key, std::int64_t length) {
        Note(end_, key, length);
        end_ += length;
        return *this;
    }

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        Put(out, "MThd");
        PutU32(out, 6);
        PutU16(out, 1);    // format 1
        PutU16(out, 2);    // two tracks
        PutU16(out, 384);  // ticks per quarter

        std::vector<std::uint8_t> conductor = {
            0x00, 0xFF, 0x58, 0x04, numerator_, denominatorPower_, 96, 8};
        const std::uint8_t tempo[] = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};  // 120 bpm
        conductor.insert(conductor.end(), std::begin(tempo), std::end(tempo));
        PutTrack(out, conductor);

        std::vector<Event> events = events_;
        // In tick order; at one tick the note-offs come before the note-ons.
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.on < b.on;
        });
        std::vector<std::uint8_t> melody;
        std::int64_t tick = 0;
        for (const Event& event : events) {
            PutVarLength(melody, static_cast<std::uint32_t>(event.tick - tick));
            tick = event.tick;
            melody.push_back(event.on ? 0x90 : 0x80);
            melody.push_back(event.key);
            melody.push_back(event.on ? 100 : 64);
        }
        PutTrack(out, melody);
        return out;
    }

  private:
    struct Event {
        std::int64_t tick;
        int on;
        std::uint8_t key;
    };

    static void Put(std::vector<std::uint8_t>& out, std::string_view text) {
        out.insert(out.end(), text.begin(), text.end());
    }
    static void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
        out.push_back(static_cast<std::uint8_t>(value >> 8));
        out.push_back(static_cast<std::uint8_t>(value));
    }
    static void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
        PutU16(out, static_cast<std::uint16_t>(value >> 16));
        PutU16(out, static_cast<std::uint16_t>(value));
    }
    static void PutVarLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
        std::uint8_t bytes[4];
        int count = 0;
        do {
            bytes[count++] = static_cast<std::uint8_t>(value & 0x7F);
            value >>= 7;
        } while (value != 0 && count < 4);
        while (count > 0) {
            --count;
            out.push_back(static_cast<std::uint8_t>(bytes[count] | (count > 0 ? 0x80 : 0)));
        }
    }
    static void PutTrack(std::vector<std::uint8_t>& out, std::vector<std::uint8_t> body) {
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
        Put(out, "MTrk");
        PutU32(out, static_cast<std::uint32_t>(body.size()));
        out.insert(out.end(), body.begin(), body.end());
    }

    std::vector<Event> events_;
    std::int64_t end_ = 0;
    std::uint8_t numerator_ = 4;
    std::uint8_t denominatorPower_ = 2;
};

}  // namespace keydetect::testing
