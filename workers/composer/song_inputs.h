// The song as the composer reads it from the exchange files the earlier steps left: the song
// input's division, time signature and key signature, the beat pattern, the coded chord data
// with its measure and section tables, the half-measure pitch lists and the measure
// statistics. Each reader takes bytes and answers with a status carrying the system's message.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workers/composer/compose_types.h"

namespace composer {

struct InputStatus {
    bool ok = true;
    std::string message;  // written into the error file on failure (may be empty)
};

struct SongHeader {
    int division = kTicksPerQuarter;
    int timeCode = 4;      // 2, 3 (3/4 and 6/8) or 4
    int numerator = 4;     // 2, 3, 4 or 6
    bool split34 = false;  // 3/4 is split two beats + one
    std::string timeSigName = "4/4";
    std::array<std::uint8_t, 2> keySignature{0, 0};
};

// Division, time signature and key signature of "InPut.bin". A song without a key signature
// event keeps 00 00.
[[nodiscard]] InputStatus ReadSongHeader(std::span<const std::uint8_t> song, SongHeader& header);

// The "MTrk" scan of the song input: the position behind the n-th (from 1) "MTrk", or -1.
std::int64_t SeekInputTrack(std::span<const std::uint8_t> song, int n);

// The two first tracks of the song (up to the third "MTrk", else to the end), byte for byte but
// for the melody track's channel events that the song loader takes in, which are moved onto
// channel 1; refused unless those bytes are exactly two whole chunks.
[[nodiscard]] InputStatus CopyFirstTwoTracks(std::span<const std::uint8_t> song,
                                             std::vector<std::uint8_t>& out);

// "BtData.dat" (text, LF line ends). Missing files are handled by the caller (all 1).
std::array<int, 48> ReadBeatPattern(std::span<const std::uint8_t> text);

struct ChordData {
    std::vector<MeasureRecord> measures;
    std::vector<SectionEntry> sections;
};

// "Data.aco" decoded with the chord data key.
[[nodiscard]] InputStatus ReadChordData(std::span<const std::uint8_t> coded, int key,
                                        ChordData& data);

// "Notes.dat" (text): the pitch classes 60..71 that any of the first lineCount lines holds.
std::array<int, 12> ReadSongPitchClasses(std::span<const std::uint8_t> text, int lineCount);

// "Temps2.aco" (text): up to 260 rows.
std::vector<MeasureStat> ReadMeasureStats(std::span<const std::uint8_t> text);

}  // namespace composer
