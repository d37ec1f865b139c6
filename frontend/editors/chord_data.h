// The chord data file "Data.aco" as the chord list editor reads it: 35-character records, one
// per measure and no line ends, each ended by ";", their bytes carrying the chord data coding
// (byte i, counted from 1 over the whole file, shifted by K + 1 + 3i). The chord maker writes it
// with its per-run key K; the editor writes it with the fixed key.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/chord_data.h"
#include "formats/song_limits.h"

namespace corvane::editors {

constexpr int kFixedChordKey = formats::kChordEditorKey;
constexpr std::size_t kChordRecordLength = formats::kChordDataRecordSize;
constexpr int kMaxChordRecords = formats::kMaxMeasures;

// The chord data coding and its inverse, over a whole file from its first byte.
std::vector<std::uint8_t> EncodeChordData(std::span<const std::uint8_t> plain, int key);
std::vector<std::uint8_t> DecodeChordData(std::span<const std::uint8_t> stored, int key);

// A chord code of `n` characters as the user reads it: the dots dropped, as many blanks
// appended ("A.m.." gives "Am   ").
std::string ChordCodeToText(std::string_view code, std::size_t n);

// One measure of the chord list.
struct ChordRecord {
    std::string msNo;      // measure index + 1, "001"
    char drum = '0';       // SectionCode of the drum column
    std::string chord1;    // 5 characters, blank-padded text
    char keptDigit = '0';  // the chord maker's own digit, written back unchanged
    std::string chord2;
    char inst = '0';      // SectionCode of the instrument column
    char sty = ' ';       // style slot "1".."5", a blank for no change
    std::string comment;  // 10 characters as stored

    // The editor's fixed-width line: MsNo, two blanks, Chord1, two blanks, Chord2, two blanks,
    // Drum, three blanks, Inst, three blanks, Sty, comment (38 characters).
    std::string ChordListLine() const;
};

// The first 16 characters of a chord list line: the row of the main window's bar list.
constexpr std::size_t kBarListWidth = 16;

struct ChordDataRead {
    std::vector<ChordRecord> records;  // the good records, at most kMaxChordRecords
    std::optional<std::string> error;  // the box text when a record was not 35 characters
};

// Decodes and splits a stored Data.aco. Reading stops at the end, at the 260th record or at the
// first record of another length; bytes after the last ";" are ignored.
ChordDataRead ReadChordData(std::span<const std::uint8_t> stored, int key);

// The measure count check after a load. `makerMsCount` is updated when the data came from the
// chord maker; the result is ChordMsCount, 0 when the count is invalid.
int CheckChordMeasureCount(int count, bool chordFromMaker, int& makerMsCount);

extern const char* const kInvalidMeasureCountText;

}  // namespace corvane::editors
