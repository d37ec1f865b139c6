#include "tests/frontend/support/fixture_song.h"

#include <array>

#include "tests/support/song_builder.h"

namespace corvane::testing {
namespace {

constexpr int kQuarter = 384;
constexpr int kMeasure = 3 * kQuarter;
constexpr int kMicrosecondsAt96 = 625000;
constexpr int kG = 67;

// Eight measures of three quarter notes in G major, walking around the tonic.
constexpr std::array<std::array<int, 3>, 8> kPhrase = {{
    {67, 71, 74},
    {72, 71, 69},
    {67, 69, 71},
    {74, 72, 71},
    {72, 76, 72},
    {71, 74, 71},
    {69, 72, 66},
    {67, 71, 69},
}};

}  // namespace

std::vector<std::uint8_t> WaltzInG(int measures) {
    testsupport::SimpleSong song;
    song.numerator = 3;
    song.keySign = 1;
    song.tempo = kMicrosecondsAt96;
    for (int m = 0; m + 1 < measures; ++m) {
        for (int beat = 0; beat < 3; ++beat) {
            const std::int64_t start = static_cast<std::int64_t>(m) * kMeasure + beat * kQuarter;
            song.notes.push_back({start, start + kQuarter - 48, kPhrase[m % 8][beat], 96});
        }
    }
    const std::int64_t last = static_cast<std::int64_t>(measures - 1) * kMeasure;
    song.notes.push_back({last, last + kMeasure - 96, kG, 96});
    return testsupport::BuildSong(song);
}

}  // namespace corvane::testing
