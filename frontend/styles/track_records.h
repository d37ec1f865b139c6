// The plain track records of a style file, as the style panel reads them: each record is a
// line starting "Mtrk," whose first 13 comma-separated values give the track's channel, note
// base, pan, sustain levels and mode code. The scan looks at five-byte windows, moving on to
// the next "M" it sees, and resumes 768 bytes after each record found (the coded data between
// records is never looked at). Records fill parts: the drum record (channel 9) part 4, the
// others parts 0..3 in file order, a fifth and later one part 4 again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "frontend/styles/slot_tables.h"

namespace corvane::styles {

constexpr std::size_t kRecordSpacing = 768;
constexpr std::size_t kMinStyleFileBytes = 6;

// The 13 values of one record, numbered as in the file from 1 (field 1 is the "Mtrk" tag).
struct TrackRecord {
    std::array<std::int16_t, 14> number{};  // fields 2..12
    std::string tag;                        // field 1
    std::string text;                       // field 13, at most 40 characters kept
};

// Reads the record that starts at `pos` with list-input rules: blanks before a value skipped,
// a value ending at a comma or a line end (values go on over line ends), a text in double
// quotes keeping its commas, numbers as 16-bit signed integers. False when a number does not
// convert or the bytes end before the 13th value.
[[nodiscard]] bool ReadTrackRecord(std::span<const std::uint8_t> bytes, std::size_t pos,
                                   TrackRecord& record);

// Byte offsets (0-based) at which the scan finds records.
std::vector<std::size_t> ScanTrackRecords(std::span<const std::uint8_t> bytes);

struct SlotStyleRead {
    // Parts 0..4 of the slot: what the records gave, defaults for what they did not.
    std::array<PartStyle, kPartCount> parts;
    int recordsRead = 0;
    // A record that could not be read ended the scan; the parts filled before it keep their
    // values.
    bool failed = false;
};

// The part values of the style in `bytes` for slot `slot` (the drum part of slot 0 plays mode 1
// whatever its record says).
SlotStyleRead ReadSlotStyle(std::span<const std::uint8_t> bytes, int slot);

}  // namespace corvane::styles
