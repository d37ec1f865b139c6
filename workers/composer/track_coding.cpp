#include "workers/composer/track_coding.h"

#include <algorithm>
#include <string>

#include "formats/midi_bytes.h"

namespace composer {

namespace {

using formats::midi::kMeta;
constexpr std::uint8_t kTrackNameMeta = formats::midi::kMetaTrackName;
constexpr std::uint8_t kKeySignatureMeta = formats::midi::kMetaKeySignature;
constexpr std::uint8_t kEndOfTrack = formats::midi::kMetaEndOfTrack;
constexpr std::uint8_t kNameTrackLength = 60;

std::uint8_t DataByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

void PatchLength(std::vector<std::uint8_t>& track) {
    const std::uint32_t length = static_cast<std::uint32_t>(track.size() - 8);
    track[4] = static_cast<std::uint8_t>(length >> 24);
    track[5] = static_cast<std::uint8_t>(length >> 16);
    track[6] = static_cast<std::uint8_t>(length >> 8);
    track[7] = static_cast<std::uint8_t>(length);
}

}  // namespace

void WellFormedNotes(std::vector<TimedEvent>& events) {
    constexpr int kDrumChannel = 9;
    struct Started {
        std::size_t index;  // of its note-on in `out`
        bool endedEarly;    // a later note-on of its key ended it
    };
    // Per channel and key, the notes started and not yet ended by a note-off of the stream,
    // latest last; at most the latest one is still sounding.
    std::vector<std::vector<Started>> started(16 * 128);
    std::vector<TimedEvent> out;
    std::vector<bool> dropped;
    out.reserve(events.size());
    auto keep = [&](const TimedEvent& e) {
        out.push_back(e);
        dropped.push_back(false);
    };
    // Ends a note with `off`; a note that began on that very tick is taken back instead.
    auto end = [&](const Started& note, const TimedEvent& off) {
        if (out[note.index].tick == off.tick)
            dropped[note.index] = true;
        else
            keep(off);
    };
    for (const TimedEvent& e : events) {
        const int kind = e.status & 0xF0;
        const int channel = e.status & 0x0F;
        if ((kind != 0x80 && kind != 0x90) || channel == kDrumChannel) {
            keep(e);
            continue;
        }
        const int key = std::clamp(e.data1, 0, 127);
        std::vector<Started>& notes = started[static_cast<std::size_t>(channel * 128 + key)];
        if (kind == 0x90) {
            if (!notes.empty() && !notes.back().endedEarly) {
                end(notes.back(), {e.tick, 0x80 | channel, e.data1, 0});
                notes.back().endedEarly = true;
            }
            notes.push_back({out.size(), false});
            keep(e);
            continue;
        }
        if (notes.empty()) continue;  // nothing of this key was started
        const Started note = notes.back();
        notes.pop_back();
        if (!note.endedEarly) end(note, e);
    }
    events.clear();
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!dropped[i]) events.push_back(out[i]);
    }
}

bool WriteVarLen(std::int64_t value, std::vector<std::uint8_t>& out) {
    if (value < 0 || value >= kVarLenLimit) return false;
    std::uint8_t groups[4];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value > 0);
    for (int i = n - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(groups[i] | (i > 0 ? 0x80 : 0)));
    return true;
}

void TrackWriter::BeginTrack(std::string_view name) {
    bytes_.assign({'M', 'T', 'r', 'k', 0, 0, 0, 0});
    bytes_.insert(bytes_.end(), {0, kMeta, kTrackNameMeta, static_cast<std::uint8_t>(name.size())});
    bytes_.insert(bytes_.end(), name.begin(), name.end());
    bytes_.insert(bytes_.end(), {0, kMeta, kKeySignatureMeta, 2, 0, 0});
}

void TrackWriter::Meta(std::uint8_t type, std::initializer_list<std::uint8_t> data) {
    bytes_.insert(bytes_.end(), {0, kMeta, type, static_cast<std::uint8_t>(data.size())});
    bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void TrackWriter::Event(int status, int data1, int data2) {
    bytes_.push_back(0);
    Raw(status, data1, data2);
}

bool TrackWriter::Delta(std::int64_t delta) {
    return WriteVarLen(delta, bytes_);
}

void TrackWriter::Raw(int status, int data1, int data2) {
    bytes_.push_back(static_cast<std::uint8_t>(status));
    bytes_.push_back(DataByte(data1));
    if (data2 >= 0) bytes_.push_back(DataByte(data2));
}

std::vector<std::uint8_t> TrackWriter::EndTrack() {
    bytes_.insert(bytes_.end(), {0, kMeta, kEndOfTrack, 0});
    PatchLength(bytes_);
    return std::move(bytes_);
}

std::vector<std::uint8_t> OutputHeader() {
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0x80};
}

std::vector<std::uint8_t> NameTrack(const std::array<SlotSettings, kSlotCount>& slots) {
    std::string text = "Zq-";
    for (const SlotSettings& s : slots)
        text += s.styleCode.size() == 4 ? s.styleCode : std::string("xxxx");
    text += "-V2428b";
    static constexpr std::uint8_t kTail[] = {0,           kMeta, kKeySignatureMeta,
                                             2,           0,     0,
                                             0,           0xB0,  0x79,
                                             0x00,        0,     0xB0,
                                             0x07,        0x78,  0,
                                             0xB0,        0x0A,  0x40,
                                             0,           0xB0,  0x72,
                                             0x28,        0,     kMeta,
                                             kEndOfTrack, 0};
    std::vector<std::uint8_t> t;
    t.reserve(12 + text.size() + sizeof kTail);
    for (char c : std::string_view("MTrk")) t.push_back(static_cast<std::uint8_t>(c));
    for (std::uint8_t b :
         std::initializer_list<std::uint8_t>{0, 0, 0, kNameTrackLength, 0, kMeta, kTrackNameMeta})
        t.push_back(b);
    t.push_back(static_cast<std::uint8_t>(text.size()));
    for (char c : text) t.push_back(static_cast<std::uint8_t>(c));
    for (std::uint8_t b : kTail) t.push_back(b);
    return t;
}

}  // namespace composer
