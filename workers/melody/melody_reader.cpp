#include "workers/melody/melody_reader.h"

#include <cstdarg>
#include <cstdio>

#include "workers/common/smf_events.h"
#include "workers/melody/melody_song.h"

namespace melody {

namespace {

using Position = std::int64_t;

using formats::midi::kMetaEndOfTrack;
using formats::midi::kMetaKeySignature;
using formats::midi::kMetaTempo;
using formats::midi::kMetaTimeSignature;
using formats::midi::kSysEx;
using formats::midi::kSysExEnd;
constexpr std::uint8_t kMetaEvent = formats::midi::kMeta;
// A past-the-end read gives a byte with every bit set.
constexpr std::uint8_t kPastEnd = 0xFF;

constexpr char kErrorGetDtTime[] = "Error Common GetDtTime.";
constexpr char kErrorSysExEnd[] = "EOF while finding 0xF7";

void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendFormat(std::string& out, const char* format, ...) {
    char buffer[128];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length > 0)
        out.append(buffer, static_cast<std::size_t>(length) < sizeof buffer
                               ? static_cast<std::size_t>(length)
                               : sizeof buffer - 1);
}

// Bytes after running status for each status nibble (the first data byte is the one seen).
int RunningStatusSkip(std::uint8_t status) {
    switch (status) {
        case kProgramChange:
        case kChannelPressure:
            return 0;
        default:
            return 1;
    }
}

struct Fatal {};

class Reader {
  public:
    Reader(std::span<const std::uint8_t> source, int trackNo, MelodyScan& scan)
        : source_(source), trackNo_(trackNo), scan_(scan) {}

    void Run() {
        try {
            ReadHeader();
            bool stepping = false;
            while (!endOfFile_) {
                runningStatus_ = 0;
                tick_ = 0;
                const bool stepped = ReadChunk();
                // Garbage is stepped over one byte at a time; its run gets the note once, not
                // once per byte.
                const bool sameRun = stepped && stepping;
                stepping = stepped;
                if (scan_.notesOn != scan_.notesOff && !sameRun &&
                    scan_.errorText.size() < kErrorFileLimit) {
                    AppendFormat(scan_.errorText, "Error testing value: TSumOn=%lld, TSumOf=%lld.",
                                 static_cast<long long>(scan_.notesOn),
                                 static_cast<long long>(scan_.notesOff));
                }
            }
        } catch (const Fatal&) {
            scan_.fatal = true;
        }
    }

  private:
    std::uint8_t At(Position at) const {
        return at >= 0 && at < static_cast<Position>(source_.size())
                   ? source_[static_cast<std::size_t>(at)]
                   : kPastEnd;
    }
    std::uint32_t BigEndian32(Position at) const {
        return std::uint32_t{At(at)} << 24 | std::uint32_t{At(at + 1)} << 16 |
               std::uint32_t{At(at + 2)} << 8 | std::uint32_t{At(at + 3)};
    }
    std::uint16_t BigEndian16(Position at) const {
        return static_cast<std::uint16_t>(At(at) << 8 | At(at + 1));
    }
    bool HasTag(Position at, const char (&tag)[5]) const {
        for (int i = 0; i < 4; ++i) {
            if (At(at + i) != static_cast<std::uint8_t>(tag[i])) return false;
        }
        return true;
    }

    [[noreturn]] void Fail(const char* message, bool alsoInListing) {
        scan_.errorText += message;
        if (alsoInListing) scan_.listing += message;
        throw Fatal{};
    }

    // A variable-length number at `at`: its value, and `at` moved past it. One that runs off the
    // end of the file fails as one too long.
    std::int64_t GetDtTime(Position& at) {
        std::size_t pos = static_cast<std::size_t>(at);
        std::uint32_t value = 0;
        if (worker::ReadVlq(source_, pos, value) != worker::Vlq::kOk) Fail(kErrorGetDtTime, false);
        at = static_cast<Position>(pos);
        return value;
    }

    void ReadHeader() {
        if (!HasTag(0, "MThd")) Fail("Invalid file's description", false);
        const std::uint32_t headerLength = BigEndian32(4);
        AppendFormat(scan_.listing, "Header Data Length: %lu\n",
                     static_cast<unsigned long>(headerLength));
        const std::uint16_t format = BigEndian16(8);
        AppendFormat(scan_.listing, "File Type: %d\n", format);
        if (format == 0) {
            scan_.channelMode = true;
        } else if (format != 1) {
            std::string message;
            AppendFormat(message, "Unknown Midi File Type %d.", format);
            Fail(message.c_str(), false);
        }
        AppendFormat(scan_.listing, "Number of Traks: %d\n", BigEndian16(10));
        scan_.division = static_cast<std::int16_t>(BigEndian16(12));
        AppendFormat(scan_.listing, "Division value: %d\n", scan_.division);
        position_ = 8 + Position{headerLength};
    }

    // One chunk attempt at the current position; anything that is not a chunk is stepped over
    // one byte at a time. True when this attempt stepped over a byte.
    bool ReadChunk() {
        const Position start = position_;
        if (start + 4 > static_cast<Position>(source_.size())) {
            endOfFile_ = true;
            return false;
        }
        if (!HasTag(start, "MTrk")) {
            position_ = start + 1;
            return true;
        }
        ++scan_.chunkCount;
        // Unsigned, so that a length with its top bit set still moves forward.
        const std::uint32_t length = BigEndian32(start + 4);
        AppendFormat(scan_.listing, "\nTrack%02d Data Length: %lu", scan_.chunkCount,
                     static_cast<unsigned long>(length));
        const bool selected =
            scan_.channelMode || scan_.chunkCount == 1 || scan_.chunkCount == trackNo_ + 1;
        if (length > 0 && selected) {
            position_ = ReadTrackEvents(start + 8);
        } else {
            position_ = start + 8 + Position{length};
        }
        return false;
    }

    // Reads events until the end-of-track event (the chunk length does not bound it) and
    // returns the position after it.
    Position ReadTrackEvents(Position at) {
        for (;;) {
            tick_ += GetDtTime(at);
            eventText_.clear();
            const Position status = at;
            Position resume = status + 1;
            const bool endOfTrack = ParseEvent(status, resume);
            if (!eventText_.empty()) {
                AppendFormat(scan_.eventLines, "%06lld:", static_cast<long long>(tick_));
                scan_.eventLines += eventText_;
                scan_.eventLines += '\n';
            }
            at = resume;
            if (endOfTrack) return at;
        }
    }

    bool Taken() const { return !scan_.channelMode || lastChannel_ + 1 == trackNo_; }

    void AddNoteOn(std::uint8_t key, std::uint8_t velocity) {
        if (velocity > 0) {
            AppendFormat(eventText_, "90,%02X,%02X,", key, velocity);
            ++scan_.notesOn;
        } else {
            AppendFormat(eventText_, "80,%02X,00,", key);
            ++scan_.notesOff;
        }
    }
    void AddNoteOff(std::uint8_t key, std::uint8_t velocity) {
        AppendFormat(eventText_, "80,%02X,%02X,", key, velocity);
        ++scan_.notesOff;
    }

    // Parses the event whose first byte is at `at`; sets `resume` to the byte after it.
    // True at the end of the track.
    bool ParseEvent(Position at, Position& resume) {
        const std::uint8_t first = At(at);
        if (first >= 0x80 && first < 0xF0) {
            ParseChannelEvent(at, first, resume);
            return false;
        }
        if (first < 0x80) {
            ParseRunningStatus(at, first, resume);
            return false;
        }
        switch (first) {
            case kSysEx: {
                // The bytes after F0 are not read as a length: the message ends at its F7.
                Position scan = at + 1;
                for (;; ++scan) {
                    if (scan >= static_cast<Position>(source_.size())) Fail(kErrorSysExEnd, true);
                    if (At(scan) == kSysExEnd) break;
                }
                resume = scan + 1;
                return false;
            }
            case 0xF1:
            case 0xF3:
                resume = at + 2;
                return false;
            case 0xF2:
                resume = at + 3;
                return false;
            case kMetaEvent:
                return ParseMetaEvent(at, resume);
            default:
                resume = at + 1;
                return false;  // F4..FE and a lone F7
        }
    }

    void ParseChannelEvent(Position at, std::uint8_t status, Position& resume) {
        runningStatus_ = status & 0xF0;
        lastChannel_ = status & 0x0F;
        const bool oneDataByte =
            runningStatus_ == kProgramChange || runningStatus_ == kChannelPressure;
        resume = at + 1 + (oneDataByte ? 1 : 2);
        if (!Taken()) return;
        const std::uint8_t data1 = At(at + 1);
        const std::uint8_t data2 = At(at + 2);
        switch (runningStatus_) {
            case kNoteOff:
                AddNoteOff(data1, data2);
                break;
            case kNoteOn:
                AddNoteOn(data1, data2);
                break;
            case kProgramChange:
            case kChannelPressure:
                AppendFormat(eventText_, "%02X,%02X,", runningStatus_, data1);
                break;
            default:
                AppendFormat(eventText_, "%02X,%02X,%02X,", runningStatus_, data1, data2);
        }
    }

    void ParseRunningStatus(Position at, std::uint8_t data1, Position& resume) {
        const std::uint8_t data2 = At(at + 1);
        if (runningStatus_ == 0) {
            std::string message;
            AppendFormat(message, "=>GlSt: Undefined value: %02X (%03d)", runningStatus_,
                         runningStatus_);
            Fail(message.c_str(), true);
        }
        const int skip = RunningStatusSkip(runningStatus_);
        resume = at + 1 + skip;
        if (!Taken()) return;
        if (runningStatus_ == kNoteOn) {
            AddNoteOn(data1, data2);
        } else if (runningStatus_ == kNoteOff) {
            AddNoteOff(data1, data2);
        } else if (skip == 0) {
            AppendFormat(eventText_, "%02X,%02X,", runningStatus_, data1);
        } else {
            AppendFormat(eventText_, "%02X,%02X,%02X,", runningStatus_, data1, data2);
        }
    }

    bool ParseMetaEvent(Position at, Position& resume) {
        const std::uint8_t type = At(at + 1);
        const std::uint8_t lengthByte = At(at + 2);
        if (type == kMetaEndOfTrack && lengthByte == 0x00) {
            scan_.listing += '\n';
            resume = at + 3;
            return true;
        }
        if (type == kMetaTempo && lengthByte == 3) {
            const std::int32_t micros = At(at + 3) << 16 | At(at + 4) << 8 | At(at + 5);
            if (micros > 0) {
                const std::int32_t tempo = kMicrosecondsPerMinute / micros;
                AppendFormat(scan_.tempoLines, "%06lld:%03d,\n", static_cast<long long>(tick_),
                             tempo);
                AppendFormat(scan_.listing, "\n =>Tempo=%03d  ", tempo);
            }
        } else if (type == kMetaTimeSignature && lengthByte == 4) {
            const std::uint8_t numerator = At(at + 3);
            const std::uint8_t denominatorPower = At(at + 4);
            const char* meter = "?/?";
            if (denominatorPower == 2 && numerator == 2) meter = "2/4";
            if (denominatorPower == 2 && numerator == 3) meter = "3/4";
            if (denominatorPower == 2 && numerator == 4) meter = "4/4";
            if ((denominatorPower == 3 || denominatorPower == 4) && numerator == 6) meter = "6/8";
            AppendFormat(scan_.listing, "\n =>TimeSig=%s", meter);
        } else if (type == kMetaKeySignature && lengthByte == 2) {
            int value = At(at + 4) * 256 + At(at + 3);
            if (value > 127) value -= 256;
            AppendFormat(scan_.listing, "\n =>Keysig=%02d  ", value);
        }
        Position lengthAt = at + 2;
        const std::int64_t length = GetDtTime(lengthAt);
        resume = lengthAt + length;
        return false;
    }

    std::span<const std::uint8_t> source_;
    int trackNo_;
    MelodyScan& scan_;
    Position position_ = 0;
    bool endOfFile_ = false;
    std::int64_t tick_ = 0;
    std::uint8_t runningStatus_ = 0;  // high nibble of the last channel status; 0 for none
    std::uint8_t lastChannel_ = 0;    // kept from chunk to chunk
    std::string eventText_;
};

}  // namespace

MelodyScan ReadMelodySource(std::span<const std::uint8_t> source, int trackNo) {
    MelodyScan scan;
    Reader(source, trackNo, scan).Run();
    return scan;
}

}  // namespace melody
