#include "workers/melody/melody_song.h"

#include <algorithm>
#include <array>

namespace melody {

namespace {

// clang-format off
constexpr std::array<std::uint8_t, 14> kHeaderChunk = {
    'M', 'T', 'h', 'd', 0x00, 0x00, 0x00, 0x06,
    0x00, 0x01,  // format 1
    0x00, 0x03,  // conductor, melody, closing track
    0x01, 0x80,  // 384 ticks per quarter note
};
constexpr std::array<std::uint8_t, 4> kTrackTag = {'M', 'T', 'r', 'k'};
constexpr std::array<std::uint8_t, 4> kEndOfTrack = formats::midi::kEndOfTrackEvent;
constexpr std::array<std::uint8_t, 18> kClosingTrack = {
    'M', 'T', 'r', 'k', 0x00, 0x00, 0x00, 0x0A,
    0x00, 0xFF, 0x59, 0x02, 0x00, 0x00,  // key signature C major
    0x00, 0xFF, 0x2F, 0x00,
};
// clang-format on

}  // namespace

int QuartersPerMeasure(int beatsCode) {
    switch (beatsCode) {
        case 2:
            return 2;
        case 3:
            return 3;
        case 6:
            return 3;
        default:
            return 4;
    }
}

TrackBytes::TrackBytes(std::vector<std::uint8_t>& song) : song_(song) {
    song_.insert(song_.end(), kTrackTag.begin(), kTrackTag.end());
    lengthAt_ = song_.size();
    song_.insert(song_.end(), 4, 0x00);
}

void TrackBytes::Append(std::initializer_list<std::uint8_t> bytes) {
    song_.insert(song_.end(), bytes.begin(), bytes.end());
}

void TrackBytes::Append(std::span<const std::uint8_t> bytes) {
    song_.insert(song_.end(), bytes.begin(), bytes.end());
}

std::optional<std::string> TrackBytes::AppendDelta(Tick delta) {
    if (delta < 0) return std::string(kDtTimeNegative);
    if (delta >= kDeltaTimeLimit) return std::string(kDtTimeTooBig);
    const auto bytes = PutDtTime(delta);
    Append(bytes);
    return std::nullopt;
}

void TrackBytes::Close() {
    Append(kEndOfTrack);
    const std::size_t length = song_.size() - lengthAt_ - 4;
    song_[lengthAt_] = static_cast<std::uint8_t>(length >> 24);
    song_[lengthAt_ + 1] = static_cast<std::uint8_t>(length >> 16);
    song_[lengthAt_ + 2] = static_cast<std::uint8_t>(length >> 8);
    song_[lengthAt_ + 3] = static_cast<std::uint8_t>(length);
}

std::vector<std::uint8_t> PutDtTime(Tick value) {
    std::vector<std::uint8_t> bytes;
    bytes.push_back(static_cast<std::uint8_t>(value & 0x7F));
    for (value >>= 7; value > 0; value >>= 7) {
        bytes.insert(bytes.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    }
    return bytes;
}

std::array<std::uint8_t, 3> TempoBytes(std::int64_t bpm) {
    bpm = std::clamp<std::int64_t>(bpm, kMinTempoBpm, kMaxTempoBpm);
    const std::int64_t micros = kMicrosecondsPerMinute / bpm;
    return {static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
            static_cast<std::uint8_t>(micros)};
}

void AppendSongHeader(std::vector<std::uint8_t>& song) {
    song.insert(song.end(), kHeaderChunk.begin(), kHeaderChunk.end());
}

TrackBytes OpenConductorTrack(std::vector<std::uint8_t>& song, int beatsCode, int tempoBpm) {
    std::uint8_t numerator = 4;
    std::uint8_t denominatorPower = 2;
    switch (beatsCode) {
        case 2:
            numerator = 2;
            break;
        case 3:
            numerator = 3;
            break;
        case 6:
            numerator = 6;
            denominatorPower = 3;
            break;
        default:
            break;
    }
    TrackBytes track(song);
    // 96 MIDI clocks per click and 8 thirty-seconds per quarter: the only form the loader takes.
    track.Append({0x00, 0xFF, 0x58, 0x04, numerator, denominatorPower, 0x60, 0x08});
    track.Append({0x00, 0xFF, 0x7F, 0x03, 0x00, 0x00, 0x41});
    const auto tempo = TempoBytes(tempoBpm);
    track.Append({0x00, 0xFF, 0x51, 0x03, tempo[0], tempo[1], tempo[2]});
    return track;
}

TrackBytes OpenMelodyTrack(std::vector<std::uint8_t>& song, int keySf) {
    TrackBytes track(song);
    track.Append({0x00, 0xFF, 0x03, 0x06, 'M', 'e', 'l', 'o', 'd', 'y'});
    track.Append({0x00, kControlChange, 0x00, 0x00});  // bank select 0
    track.Append({0x00, kProgramChange, 0x00});
    track.Append({0x00, 0xFF, 0x59, 0x02, static_cast<std::uint8_t>(keySf), 0x00});
    track.Append({0x00, kControlChange, 0x0B, 0x78});  // expression 120
    return track;
}

void AppendClosingTrack(std::vector<std::uint8_t>& song) {
    song.insert(song.end(), kClosingTrack.begin(), kClosingTrack.end());
}

}  // namespace melody
