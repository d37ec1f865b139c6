// A song project (".qxs"): the song input as the composer copied it into the output (the header
// chunk, the conductor track and the melody track), the chord data file with its coding key, and
// the style settings of the five slots, so that a song loads again with its chords and styles
// and can be made at once. Lengths are unsigned 32-bit big-endian:
//
//   "QXS-Data" | N1 | N1 bytes of the song (track count stored as 2) | chord data key |
//   N2 | N2 bytes of "Data.aco", still coded | 136-byte style block
//
// The style block holds, one byte per value, each slot's 10-character style file name and
// master volume, then program, volume and mode code per slot and part (slot outer), the value 1,
// Auto-Octave and the two echo voices with their settings. Reading unpacks it into the 32-line
// style setting file that the style setting loader reads.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/styles/style_setting_file.h"

namespace corvane {

inline constexpr std::string_view kProjectMagic = "QXS-Data";
inline constexpr std::size_t kStyleNameBytes = 10;
inline constexpr std::size_t kStyleBlockBytes = 136;
// A project keeps a chord data file of at most 9999 bytes (260 measures take 9100).
inline constexpr std::size_t kChordDataLimit = 10000;
// The offset of the low byte of the header chunk's track count.
inline constexpr std::size_t kTrackCountLowByte = 11;
// A project is the song's melody and a few kilobytes besides; its reader looks at no more.
inline constexpr std::size_t kMaxProjectBytes = 64u << 20;

using StyleBlock = std::array<std::uint8_t, kStyleBlockBytes>;

// Puts the four bytes of `value`, most significant first, into `target` and returns 0; returns
// 1, with `target` unchanged, for a negative value, which four unsigned bytes cannot hold.
std::int16_t LongTo4Bytes(std::int32_t value, std::span<std::uint8_t, 4> target);

// The style block of the settings; a name is cut or padded with blanks to 10 characters and
// each value is kept as one byte.
StyleBlock StyleBlockOf(const styles::StyleSetting& setting);

// The 32 CR LF lines of a style setting file for the block: each name's 10 bytes in quotes,
// numbers in decimal.
std::string StyleBlockText(std::span<const std::uint8_t, kStyleBlockBytes> block);

enum class ProjectWriteError {
    kNone,
    kLength,     // a length that four unsigned bytes cannot hold
    kChordData,  // "Data.aco" missing, empty, or 10000 bytes or more
};

struct ProjectBytes {
    ProjectWriteError error = ProjectWriteError::kNone;
    std::vector<std::uint8_t> bytes;  // the whole project when error is kNone
};

// The project of an output. `output` is the decoded output song and `headLength` the length of
// its plain part; `chordData` what was read of "Data.aco" (at most kChordDataLimit bytes, so a
// longer file shows as too long). The output itself is never changed.
[[nodiscard]] ProjectBytes SongProjectBytes(std::span<const std::uint8_t> output,
                                            std::int32_t headLength, int myVmCode,
                                            std::span<const std::uint8_t> chordData,
                                            const StyleBlock& block);

enum class ProjectReadError {
    kNone,
    kBadMagic,  // not a project
    kInvalid,   // a length or a piece runs past the end, or a length is 0
};

// What a project holds, piece by piece in the order of the file. Reading stops at the first
// piece that is not whole; the pieces before it are there, that one and the rest are not.
struct UnpackedProject {
    ProjectReadError error = ProjectReadError::kNone;
    std::optional<std::vector<std::uint8_t>> input;      // "InPut.bin"
    std::optional<int> myVmCode;                         // the chord data key
    std::optional<std::vector<std::uint8_t>> chordData;  // "Data.aco"
    std::optional<std::string> settingText;              // "QXsDataSet.dat"
};

// Never reads past the end of `file`; bytes after the style block are ignored.
[[nodiscard]] UnpackedProject UnpackSongProject(std::span<const std::uint8_t> file);

// A project that was read whole: every piece of it.
struct SongProject {
    std::vector<std::uint8_t> input;      // "InPut.bin"
    int myVmCode = 0;                     // the chord data key
    std::vector<std::uint8_t> chordData;  // "Data.aco"
    std::string settingText;              // "QXsDataSet.dat"
};

}  // namespace corvane
