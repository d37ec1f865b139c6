#include "platform/qt/song_timing.h"

#include <algorithm>

namespace platform::qt {
namespace {

constexpr std::uint8_t kMetaEvent = 0xFF;
constexpr std::uint8_t kSysEx = 0xF0;
constexpr std::uint8_t kSysExContinuation = 0xF7;
constexpr std::uint8_t kEndOfTrack = 0x2F;
constexpr std::uint8_t kProgramChange = 0xC0;
constexpr std::uint8_t kChannelPressure = 0xD0;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::uint32_t kMinHeaderLength = 6;

class Reader {
  public:
    Reader(std::span<const std::uint8_t> bytes, std::size_t begin, std::size_t end)
        : bytes_(bytes), pos_(begin), end_(end) {}

    bool AtEnd() const { return pos_ >= end_; }

    std::optional<std::uint8_t> Byte() {
        if (AtEnd()) return std::nullopt;
        return bytes_[pos_++];
    }

    // A variable-length quantity of at most four bytes.
    std::optional<std::uint32_t> Vlq() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto byte = Byte();
            if (!byte) return std::nullopt;
            value = (value << 7) | (*byte & 0x7Fu);
            if ((*byte & 0x80u) == 0) return value;
        }
        return std::nullopt;
    }

    bool Skip(std::uint64_t count) {
        if (count > end_ - pos_) return false;
        pos_ += static_cast<std::size_t>(count);
        return true;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_;
    std::size_t end_;
};

std::uint32_t Big32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) << 24 |
           static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

int Big16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] << 8 | bytes[at + 1];
}

bool ChunkIs(std::span<const std::uint8_t> bytes, std::size_t at, const char* id) {
    return std::equal(id, id + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// The tick where the track ends (its end-of-track event, or its last event when it has none).
std::optional<std::int64_t> TrackEnd(Reader track) {
    std::int64_t tick = 0;
    std::uint8_t runningStatus = 0;
    while (!track.AtEnd()) {
        const auto delta = track.Vlq();
        if (!delta) return std::nullopt;
        tick += *delta;
        if (tick > kMaxSongTicks) return std::nullopt;
        auto first = track.Byte();
        if (!first) return std::nullopt;
        std::uint8_t status = *first;
        bool dataTaken = false;
        if (status < 0x80) {
            // Running status: the byte read is the first data byte of a repeated message.
            if (runningStatus == 0) return std::nullopt;
            status = runningStatus;
            dataTaken = true;
        }
        if (status == kMetaEvent) {
            const auto type = track.Byte();
            const auto length = type ? track.Vlq() : std::nullopt;
            if (!length || !track.Skip(*length)) return std::nullopt;
            if (*type == kEndOfTrack) return tick;
        } else if (status == kSysEx || status == kSysExContinuation) {
            const auto length = track.Vlq();
            if (!length || !track.Skip(*length)) return std::nullopt;
        } else if (status >= 0xF0) {
            return std::nullopt;  // real-time and common messages do not belong in a file
        } else {
            runningStatus = status;
            const std::uint8_t kind = status & 0xF0;
            const int dataBytes = kind == kProgramChange || kind == kChannelPressure ? 1 : 2;
            for (int i = dataTaken ? 1 : 0; i < dataBytes; ++i) {
                const auto data = track.Byte();
                if (!data || *data >= 0x80) return std::nullopt;
            }
        }
    }
    return tick;
}

}  // namespace

std::optional<SongTiming> ScanSongTiming(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kChunkHeaderBytes + kMinHeaderLength || !ChunkIs(bytes, 0, "MThd"))
        return std::nullopt;
    const std::uint64_t headerLength = Big32(bytes, 4);
    if (headerLength < kMinHeaderLength || headerLength > bytes.size() - kChunkHeaderBytes)
        return std::nullopt;
    const int format = Big16(bytes, 8);
    const int trackCount = Big16(bytes, 10);
    const int division = Big16(bytes, 12);
    // Bit 15 set is SMPTE time, which has no quarter note to measure sixteenths by.
    if (format > 1 || trackCount == 0 || division == 0 || division >= 0x8000) return std::nullopt;

    SongTiming timing;
    timing.division = division;
    std::size_t at = kChunkHeaderBytes + static_cast<std::size_t>(headerLength);
    int tracksRead = 0;
    while (tracksRead < trackCount) {
        if (bytes.size() - at < kChunkHeaderBytes) return std::nullopt;
        const std::uint64_t length = Big32(bytes, at + 4);
        const std::size_t begin = at + kChunkHeaderBytes;
        if (length > bytes.size() - begin) return std::nullopt;
        const std::size_t end = begin + static_cast<std::size_t>(length);
        // Chunks of other kinds are skipped, as the file format asks of every reader.
        if (ChunkIs(bytes, at, "MTrk")) {
            const auto trackEnd = TrackEnd(Reader(bytes, begin, end));
            if (!trackEnd) return std::nullopt;
            timing.lengthTicks = std::max(timing.lengthTicks, *trackEnd);
            ++tracksRead;
        }
        at = end;
    }
    return timing;
}

}  // namespace platform::qt
