#include "tests/library/midi_events.h"

#include <map>
#include <tuple>

namespace librarytest {
namespace {

class Cursor {
  public:
    Cursor(std::span<const std::uint8_t> bytes, std::size_t pos, std::size_t end)
        : bytes_(bytes), pos_(pos), end_(end) {}

    bool AtEnd() const { return pos_ >= end_; }
    std::size_t pos() const { return pos_; }
    bool Skip(std::uint32_t n) {
        if (n > end_ - pos_) return false;
        pos_ += n;
        return true;
    }
    std::optional<int> Byte() {
        if (pos_ >= end_) return std::nullopt;
        return bytes_[pos_++];
    }
    std::optional<int> Peek() const {
        if (pos_ >= end_) return std::nullopt;
        return bytes_[pos_];
    }
    std::optional<std::uint32_t> Number(int size) {
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i) {
            const auto b = Byte();
            if (!b) return std::nullopt;
            value = value << 8 | static_cast<std::uint32_t>(*b);
        }
        return value;
    }
    std::optional<std::uint32_t> VarLen() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto b = Byte();
            if (!b) return std::nullopt;
            value = value << 7 | static_cast<std::uint32_t>(*b & 0x7F);
            if ((*b & 0x80) == 0) return value;
        }
        return std::nullopt;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_;
    std::size_t end_;
};

bool HasTag(std::span<const std::uint8_t> bytes, std::size_t pos, const char* tag) {
    if (bytes.size() < pos + 4) return false;
    for (int i = 0; i < 4; ++i) {
        if (bytes[pos + i] != static_cast<std::uint8_t>(tag[i])) return false;
    }
    return true;
}

bool ReadTrack(Cursor& in, int track, std::vector<ChannelEvent>& events) {
    std::int64_t tick = 0;
    int status = 0;
    while (!in.AtEnd()) {
        const auto delta = in.VarLen();
        const auto first = in.Peek();
        if (!delta || !first) return false;
        tick += *delta;
        if (*first & 0x80) {
            status = *first;
            in.Skip(1);
        }
        if (status == 0xFF) {
            const auto type = in.Byte();
            const auto length = in.VarLen();
            if (!type || !length || !in.Skip(*length)) return false;
            if (*type == 0x2F) return true;
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            const auto length = in.VarLen();
            if (!length || !in.Skip(*length)) return false;
            continue;
        }
        if (status < 0x80) return false;  // data before any status
        ChannelEvent event{tick, track, status & 0xF0, status & 0x0F, 0, 0};
        const auto d1 = in.Byte();
        if (!d1 || *d1 > 0x7F) return false;
        event.data1 = *d1;
        if (event.kind != 0xC0 && event.kind != 0xD0) {
            const auto d2 = in.Byte();
            if (!d2 || *d2 > 0x7F) return false;
            event.data2 = *d2;
        }
        events.push_back(event);
    }
    return false;  // no end-of-track event
}

}  // namespace

std::optional<MidiSong> ReadMidiSong(std::span<const std::uint8_t> bytes) {
    if (!HasTag(bytes, 0, "MThd")) return std::nullopt;
    Cursor head(bytes, 4, bytes.size());
    const auto length = head.Number(4);
    if (!length || *length != 6) return std::nullopt;
    MidiSong song;
    const auto format = head.Number(2);
    const auto count = head.Number(2);
    const auto division = head.Number(2);
    if (!format || !count || !division) return std::nullopt;
    song.format = static_cast<int>(*format);
    song.division = static_cast<int>(*division);
    std::size_t pos = 14;
    for (std::uint32_t t = 0; t < *count; ++t) {
        if (!HasTag(bytes, pos, "MTrk")) return std::nullopt;
        Cursor chunk(bytes, pos + 4, bytes.size());
        const auto size = chunk.Number(4);
        if (!size || *size > bytes.size() - (pos + 8)) return std::nullopt;
        Cursor in(bytes, pos + 8, pos + 8 + *size);
        if (!ReadTrack(in, static_cast<int>(t), song.events)) return std::nullopt;
        pos += 8 + *size;
        ++song.trackCount;
    }
    if (pos != bytes.size()) return std::nullopt;
    return song;
}

std::string NoteStreamFaults(const MidiSong& song, int firstTrack, int limit) {
    constexpr int kDrums = 9;
    std::map<std::tuple<int, int, int>, std::int64_t> sounding;  // (track, channel, key) -> on tick
    std::string faults;
    int count = 0;
    auto fault = [&](const ChannelEvent& e, const char* what) {
        if (count++ < limit) {
            faults += "track " + std::to_string(e.track) + " channel " +
                      std::to_string(e.channel + 1) + " key " + std::to_string(e.data1) + " tick " +
                      std::to_string(e.tick) + ": " + what + "\n";
        }
    };
    for (const ChannelEvent& e : song.events) {
        if (e.track < firstTrack || e.channel == kDrums || !(e.IsNoteOn() || e.IsNoteOff()))
            continue;
        const auto key = std::make_tuple(e.track, e.channel, e.data1);
        const auto on = sounding.find(key);
        if (e.IsNoteOn()) {
            if (on != sounding.end()) fault(e, "note-on while the key sounds");
            sounding[key] = e.tick;
        } else if (on == sounding.end()) {
            fault(e, "note-off while the key is silent");
        } else {
            if (on->second == e.tick) fault(e, "note of zero length");
            sounding.erase(on);
        }
    }
    for (const auto& [key, tick] : sounding) {
        ChannelEvent e;
        std::tie(e.track, e.channel, e.data1) = key;
        e.tick = tick;
        fault(e, "note never ends");
    }
    if (count > limit) faults += "... " + std::to_string(count) + " faults in all\n";
    return faults;
}

}  // namespace librarytest
