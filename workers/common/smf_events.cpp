#include "workers/common/smf_events.h"

#include "formats/midi_bytes.h"

namespace worker {
namespace {

namespace midi = formats::midi;

constexpr int kMaxVlqBytes = 4;
constexpr std::size_t kChunkLengthBytes = 4;

}  // namespace

Vlq ReadVlq(std::span<const std::uint8_t> bytes, std::size_t& pos, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < kMaxVlqBytes; ++i) {
        if (pos >= bytes.size()) return Vlq::kTruncated;
        const std::uint8_t b = bytes[pos++];
        value = (value << 7) | (b & 0x7F);
        if ((b & 0x80) == 0) return Vlq::kOk;
    }
    return Vlq::kTooLong;
}

SmfStep SongEventWalker::Next(SmfEvent& event) {
    event = SmfEvent{};
    if (over_) return SmfStep::kEnd;
    if (headNext_) {
        headNext_ = false;
        if (song_.size() - pos_ < midi::kTrackChunkTag.size() ||
            !midi::HasChunkTag(song_, pos_, midi::kTrackChunkTag)) {
            over_ = true;
            return SmfStep::kNoTrack;
        }
        pos_ += midi::kTrackChunkTag.size();
        if (song_.size() - pos_ < kChunkLengthBytes) {
            over_ = true;
            return SmfStep::kEnd;
        }
        pos_ += kChunkLengthBytes;
    }
    if (pos_ >= song_.size()) {
        over_ = true;
        return SmfStep::kEnd;
    }
    if (trackEnded_) {
        trackEnded_ = false;
        // The reading stops where the chunk after the melody track begins.
        if (++track_ == 3) {
            over_ = true;
        } else {
            headNext_ = true;
        }
        return SmfStep::kTrack;
    }
    std::uint32_t delta = 0;
    const Vlq deltaRead = ReadVlq(song_, pos_, delta);
    if (deltaRead != Vlq::kOk) {
        over_ = true;
        return deltaRead == Vlq::kTooLong ? SmfStep::kDeltaTooLong : SmfStep::kEnd;
    }
    event.delta = delta;
    const SmfStep step = ReadEvent(event);
    if (step != SmfStep::kEvent) {
        over_ = true;
    } else if (event.kind == SmfEventKind::kEndOfTrack) {
        trackEnded_ = true;
    }
    return step;
}

SmfStep SongEventWalker::ReadEvent(SmfEvent& event) {
    const std::size_t size = song_.size();
    if (pos_ >= size) return SmfStep::kInvalidEvent;
    const std::uint8_t status = song_[pos_];
    event.statusAt = pos_;
    event.status = status;
    if (status == midi::kSysEx) {
        // The length after F0 is not interpreted: the data is skipped up to F7.
        for (std::size_t at = pos_ + 1; at < size; ++at) {
            if (song_[at] == midi::kSysExEnd) {
                event.kind = SmfEventKind::kSysEx;
                event.data = song_.subspan(pos_ + 1, at - pos_);
                pos_ = at + 1;
                return SmfStep::kEvent;
            }
        }
        return SmfStep::kSysExCut;
    }
    if (status == midi::kMeta) {
        // A meta event the bytes end inside ends the reading; what came before it counts.
        if (size - pos_ < 2) return SmfStep::kEnd;
        event.metaType = song_[pos_ + 1];
        std::size_t at = pos_ + 2;
        std::uint32_t length = 0;
        const Vlq read = ReadVlq(song_, at, length);
        if (read == Vlq::kTooLong) return SmfStep::kLengthTooLong;
        if (read == Vlq::kTruncated || length > size - at) return SmfStep::kEnd;
        event.oneByteLength = at == pos_ + 3;
        event.kind = event.metaType == midi::kMetaEndOfTrack && event.oneByteLength && length == 0
                         ? SmfEventKind::kEndOfTrack
                         : SmfEventKind::kMeta;
        event.data = song_.subspan(at, length);
        pos_ = at + length;
        return SmfStep::kEvent;
    }
    std::size_t dataBytes = 2;
    switch (status & 0xF0) {
        case midi::kProgramChange:
        case midi::kChannelPressure:
            dataBytes = 1;
            event.kind = SmfEventKind::kChannel;
            break;
        case midi::kControlChange:
        case midi::kPitchBend:
            event.kind = SmfEventKind::kChannel;
            break;
        case midi::kNoteOn:
            event.kind = SmfEventKind::kNoteOn;
            break;
        case midi::kNoteOff:
            event.kind = SmfEventKind::kNoteOff;
            break;
        default:
            return SmfStep::kInvalidEvent;
    }
    if (size - pos_ - 1 < dataBytes) return SmfStep::kInvalidEvent;
    event.data = song_.subspan(pos_ + 1, dataBytes);
    const bool note = event.kind == SmfEventKind::kNoteOn || event.kind == SmfEventKind::kNoteOff;
    if (note && (event.data[0] > 0x7F || event.data[1] > 0x7F)) return SmfStep::kInvalidEvent;
    pos_ += 1 + dataBytes;
    return SmfStep::kEvent;
}

}  // namespace worker
