// The chord data file "Data.aco" as the chord list editor reads it: 35-character records, one
// per measure and no line ends, each ended by ";", their bytes carrying the chord data coding
// (byte i, counted from 1 over the whole file, shifted by K + 1 + 3i). The chord maker writes it
// with its per-run key K; the editor writes it with the fixed key.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/chord_data.h"
#include "formats/song_limits.h"
#include "frontend/editors/chord_code.h"

namespace corvane::editors {

constexpr int kFixedChordKey = formats::kChordEditorKey;
constexpr std::size_t kChordRecordLength = formats::kChordDataRecordSize;
constexpr int kMaxChordRecords = formats::kMaxMeasures;

// The chord data coding and its inverse, over a whole file from its first byte (the workers'
// coder, so every reader and writer of the file agrees).
std::vector<std::uint8_t> EncodeChordData(std::span<const std::uint8_t> plain, int key);
std::vector<std::uint8_t> DecodeChordData(std::span<const std::uint8_t> stored, int key);

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

// The chord maker's digit of each measure by record index, kept from the load for the save.
using KeptDigits = std::array<char, kMaxChordRecords + 1>;

// One grid row as the save reads it: the cells as they stand.
struct ChordGridRow {
    std::string chord1, chord2, drum, inst, sty, comment;
};

// The 35-character record of grid row `index` + 1. A section code that is not one digit is
// written "0", a style slot that is not one character "0", the comment cut or padded to 10, so
// every record has its 35 characters and no ";" before its end.
std::string FormatChordDataRecord(int index, const ChordGridRow& row, char keptDigit);

struct ChordDataWrite {
    std::vector<std::uint8_t> plain;   // the records back to back, before the coding
    std::vector<std::string> lines;    // the ChordListLine of each record, chords as written
    std::optional<std::string> error;  // the box text when a chord could not be converted
};
// The whole chord data of the grid rows, built in memory so nothing is written unless all of
// it is good. A chord whose code has a root other than C D E F G A B (a cell that never went
// through the chord check) is refused with the conversion error: the composer cannot read it.
ChordDataWrite BuildChordData(const std::vector<ChordGridRow>& rows, const KeptDigits& kept);

// Clears each style slot that repeats the last one given above it, so only the switches stay.
void DeduplicateStyles(std::vector<std::string>& styles);

// A chord file checked before it replaces anything: the records it holds and the number of
// leading bytes that carry them, or the box text of the refusal (a bad record or a measure
// count other than `makerMsCount`).
struct ChordFileCheck {
    int count = 0;
    std::size_t length = 0;
    std::optional<std::string> error;
};
ChordFileCheck CheckChordFile(std::span<const std::uint8_t> stored, int makerMsCount);

// Chord file names. The extension is looked for in the file name alone (after the last "/"), so
// folders with dots in their names do not count. Loading appends ".chd" to a name without one;
// saving does too, and refuses any extension but ".chd" (nothing then).
std::string ChordFileLoadPath(std::string_view path);
std::optional<std::string> ChordFileSavePath(std::string_view path);
constexpr const char* kChordFileExtension = ".chd";

// One line of the exported chord list, ended by CR LF; the chord texts padded to 5.
std::string ChordListExportLine(const std::string& msNo, const ChordGridRow& row);

}  // namespace corvane::editors
