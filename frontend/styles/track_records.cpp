#include "frontend/styles/track_records.h"

#include <algorithm>
#include <string_view>

namespace corvane::styles {
namespace {

constexpr std::string_view kRecordTag = "Mtrk,";
constexpr int kRecordValues = 13;
constexpr std::size_t kMaxTextKept = 40;

bool IsLineEnd(std::uint8_t c) {
    return c == '\r' || c == '\n';
}
bool IsBlank(std::uint8_t c) {
    return c == ' ' || c == '\t';
}

// A cursor over the record's bytes with the list-input rules.
class ListInput {
  public:
    ListInput(std::span<const std::uint8_t> bytes, std::size_t pos) : bytes_(bytes), pos_(pos) {}

    // The next raw value (quotes removed from a quoted text); false at the end of the bytes.
    bool Next(std::string& value, bool& quoted) {
        // Blanks and the line ends left by the value before lead to the next value.
        while (pos_ < bytes_.size() && (IsBlank(bytes_[pos_]) || IsLineEnd(bytes_[pos_]))) ++pos_;
        if (pos_ >= bytes_.size()) return false;
        value.clear();
        quoted = bytes_[pos_] == '"';
        if (quoted) {
            ++pos_;
            while (pos_ < bytes_.size() && bytes_[pos_] != '"') value += char(bytes_[pos_++]);
            if (pos_ < bytes_.size()) ++pos_;
        }
        // Whatever follows up to the delimiter belongs to the value (after a quote: dropped).
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) {
            if (!quoted) value += char(bytes_[pos_]);
            ++pos_;
        }
        if (pos_ < bytes_.size() && bytes_[pos_] == ',') ++pos_;
        while (!quoted && !value.empty() && IsBlank(static_cast<std::uint8_t>(value.back())))
            value.pop_back();
        return true;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_;
};

// An optional sign and decimal digits within 16 bits; an empty value reads as 0.
bool ToInt16(const std::string& text, std::int16_t& number) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) {
        number = 0;
        return i == 0;
    }
    long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
        if (value > 32768) return false;
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) return false;
    number = static_cast<std::int16_t>(value);
    return true;
}

}  // namespace

bool ReadTrackRecord(std::span<const std::uint8_t> bytes, std::size_t pos, TrackRecord& record) {
    ListInput input(bytes, pos);
    std::string value;
    bool quoted = false;
    for (int field = 1; field <= kRecordValues; ++field) {
        if (!input.Next(value, quoted)) return false;
        if (field == 1) {
            record.tag = value;
        } else if (field == kRecordValues) {
            record.text = value.substr(0, kMaxTextKept);
        } else if (!ToInt16(value, record.number[field])) {
            return false;
        }
    }
    return true;
}

std::vector<std::size_t> ScanTrackRecords(std::span<const std::uint8_t> bytes) {
    std::vector<std::size_t> found;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        bool record = false;
        // A window that runs past the end finds nothing; the search then steps on by one.
        while (pos + kRecordTag.size() <= bytes.size()) {
            const std::string_view window(reinterpret_cast<const char*>(bytes.data()) + pos,
                                          kRecordTag.size());
            if (window == kRecordTag) {
                record = true;
                break;
            }
            const std::size_t m = window.find('M');
            // Move so that the next window starts at the "M" seen, or past the window.
            pos += m == std::string_view::npos ? kRecordTag.size() : std::max<std::size_t>(m, 1);
        }
        if (!record) {
            ++pos;
            continue;
        }
        found.push_back(pos);
        pos += kRecordSpacing;
    }
    return found;
}

SlotStyleRead ReadSlotStyle(std::span<const std::uint8_t> bytes, int slot) {
    SlotStyleRead read;
    for (int part = 0; part < kPartCount; ++part) read.parts[part] = DefaultPartStyle(part);
    int next = 0;  // the next melodic part
    for (const std::size_t pos : ScanTrackRecords(bytes)) {
        TrackRecord record;
        if (!ReadTrackRecord(bytes, pos, record)) {
            read.failed = true;
            break;
        }
        ++read.recordsRead;
        const int channel = record.number[2];
        const int modeCode = record.number[12];
        const int digit = modeCode % 10;  // keeps the field's sign
        PartStyle style;
        style.noteBase = record.number[3];
        style.pan = record.number[6];
        if (channel == kDrumChannel) {
            style.channel = kDrumChannel;
            style.mode = static_cast<std::int16_t>(slot == 0 ? 1 : digit);
            style.sustain = 0;
            read.parts[kDrumPart] = style;
        } else {
            style.channel = static_cast<std::int16_t>(channel);
            style.mode = static_cast<std::int16_t>(digit);
            const bool loud = record.number[7] > 63 || record.number[11] > 63;
            style.sustain = digit == 0 && modeCode > 99 && loud ? 1 : 0;
            read.parts[next] = style;
            if (next < kDrumPart) ++next;
        }
    }
    return read;
}

}  // namespace corvane::styles
