// The layout of the song input that the melody importer writes, shared by the writer of an
// imported melody and the random melody generator: the header chunk, the conductor track, the
// melody track's fixed start, the closing track and the variable-length delta times, all at
// 384 ticks per quarter note so that the song loader takes the file as it is.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/midi_bytes.h"
#include "formats/song_limits.h"

namespace melody {

using formats::Tick;

constexpr Tick kSongDivision = formats::kTicksPerQuarter;
// A variable-length number holds at most four groups of seven bits.
constexpr Tick kDeltaTimeLimit = 268435456;
constexpr std::int32_t kMicrosecondsPerMinute = 60000000;
constexpr int kMinTempoBpm = 20;
constexpr int kMaxTempoBpm = 240;

using formats::midi::kChannelPressure;
using formats::midi::kControlChange;
using formats::midi::kKeyPressure;
using formats::midi::kNoteOff;
using formats::midi::kNoteOn;
using formats::midi::kPitchBend;
using formats::midi::kProgramChange;

constexpr char kDtTimeNegative[] = "The DtTime value must be >= 0.";
constexpr char kDtTimeTooBig[] = "The DtTime value is too big.";

// Quarter notes per measure for a meter code (2/4, 3/4, 4/4, 6/8).
int QuartersPerMeasure(int beatsCode);

// A track under construction: its chunk header with a length field patched when it closes.
class TrackBytes {
  public:
    explicit TrackBytes(std::vector<std::uint8_t>& song);
    void Append(std::initializer_list<std::uint8_t> bytes);
    void Append(std::span<const std::uint8_t> bytes);
    // Appends a delta time; the message of the fault when it is negative or too big.
    [[nodiscard]] std::optional<std::string> AppendDelta(Tick delta);
    // Appends the end-of-track event and patches the length field.
    void Close();

  private:
    std::vector<std::uint8_t>& song_;
    std::size_t lengthAt_;
};

// The variable-length form of `value` (0 <= value < kDeltaTimeLimit): 1 to 4 bytes.
std::vector<std::uint8_t> PutDtTime(Tick value);

void AppendSongHeader(std::vector<std::uint8_t>& song);
// Opens the conductor track with its meter and initial tempo; the caller may add events.
TrackBytes OpenConductorTrack(std::vector<std::uint8_t>& song, int beatsCode, int tempoBpm);
// Opens the melody track "Melody" with its key signature.
TrackBytes OpenMelodyTrack(std::vector<std::uint8_t>& song, int keySf);
void AppendClosingTrack(std::vector<std::uint8_t>& song);

// The three tempo bytes (microseconds per quarter note) of a tempo clamped to 20..240.
std::array<std::uint8_t, 3> TempoBytes(std::int64_t bpm);

}  // namespace melody
