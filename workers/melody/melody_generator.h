// The random test melody: three sections of 32 measures with one note a measure, the notes
// drawn from a weighted note-to-note chain over the letters of C major or A minor and moved
// into the chosen key, written in the song input's layout with the track name "Random". All
// draws come from one linear congruential sequence whose seed the caller gives, so a seed
// always gives the same file.
#pragma once

#include <cstdint>
#include <vector>

#include "workers/melody/melody_job.h"
#include "workers/melody/melody_writer.h"

namespace melody {

enum class KeyMode { kMajor, kMinor };

// Minor when `tonicNote` is the relative minor tonic of `keySf`, else major.
KeyMode SetMelodyKey(int keySf, int tonicNote);

// The 32-bit linear congruential sequence; each draw is 0..32767.
class MelodyRandom {
  public:
    explicit MelodyRandom(std::uint32_t seed) : state_(seed) {}
    int Draw() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

  private:
    std::uint32_t state_;
};

// The note-to-note chain of one run.
class MelodyChain {
  public:
    MelodyChain(KeyMode mode, int tonicNote, MelodyRandom& random)
        : mode_(mode), tonicNote_(tonicNote), random_(random) {}
    // The next melody pitch.
    int NextMelodyNote();

  private:
    char NextLetter();

    KeyMode mode_;
    int tonicNote_;
    MelodyRandom& random_;
    char current_ = 0;  // 0: none yet
    char previous_ = 0;
    int repeatCount_ = 0;
    int tonicRun_ = 0;
    int sinceTonic_ = 0;
};

int FoldMelodyNote(KeyMode mode, int pitch);
int TonicOffset(KeyMode mode, int tonicNote, int pitch);

// The whole song input of a generated melody; the lead-in and tail come from the job (the
// driver sets 4 and 6). A remainder other than 0 fails without a message.
[[nodiscard]] SongOutcome GenerateMelody(const MelodyJob& job, std::int32_t remainder,
                                         std::uint32_t seed);

}  // namespace melody
