#include "workers/melody/melody_generator.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/workers/melody/melody_fixtures.h"

namespace melody {
namespace {

using melodytest::Bytes;
using melodytest::SongEvent;
using melodytest::SongTracks;

MelodyJob GeneratorJob(int beatsCode, int keySf, int tonicNote) {
    MelodyJob job;
    job.beatsCode = static_cast<std::int16_t>(beatsCode);
    job.keySf = static_cast<std::int16_t>(keySf);
    job.tonicNote = static_cast<std::int16_t>(tonicNote);
    job.tempoBpm = 96;
    job.introMeasures = 4;
    job.endingMeasures = 6;
    return job;
}

TEST(MelodyRandom, FollowsTheLinearCongruentialSequence) {
    MelodyRandom random(1);
    EXPECT_EQ(random.Draw(), 41);
    EXPECT_EQ(random.Draw(), 18467);
    EXPECT_EQ(random.Draw(), 6334);
    EXPECT_EQ(random.Draw(), 26500);
    MelodyRandom wrapped(0xFFFFFFFFu);
    EXPECT_EQ(wrapped.Draw(),
              static_cast<int>(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

TEST(SetMelodyKey, MinorOnlyForTheRelativeMinorTonic) {
    struct Case {
        int keySf;
        int tonic;
        KeyMode mode;
    };
    const Case cases[] = {
        {0, 69, KeyMode::kMinor},  {0, 60, KeyMode::kMajor},  {0, 62, KeyMode::kMajor},
        {1, 64, KeyMode::kMinor},  {7, 70, KeyMode::kMinor},  {-5, 70, KeyMode::kMinor},
        {-6, 63, KeyMode::kMinor}, {-3, 60, KeyMode::kMinor}, {-3, 63, KeyMode::kMajor},
        {6, 63, KeyMode::kMinor},  {2, 71, KeyMode::kMinor},  {2, 69, KeyMode::kMajor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.keySf) + " " + std::to_string(c.tonic));
        EXPECT_EQ(SetMelodyKey(c.keySf, c.tonic), c.mode);
    }
}

TEST(FoldMelodyNote, MovesIntoTheModesOctaveThenToTheTonic) {
    EXPECT_EQ(FoldMelodyNote(KeyMode::kMajor, 60), 72);
    EXPECT_EQ(FoldMelodyNote(KeyMode::kMajor, 67), 67);
    EXPECT_EQ(FoldMelodyNote(KeyMode::kMajor, 91), 79 - 12);
    EXPECT_EQ(FoldMelodyNote(KeyMode::kMinor, 62), 74);
    EXPECT_EQ(FoldMelodyNote(KeyMode::kMinor, 64), 64);
    EXPECT_EQ(TonicOffset(KeyMode::kMajor, 60, 72), 72);
    EXPECT_EQ(TonicOffset(KeyMode::kMajor, 62, 72), 62);
    EXPECT_EQ(TonicOffset(KeyMode::kMinor, 69, 69), 69);
    EXPECT_EQ(TonicOffset(KeyMode::kMinor, 60, 69), 72);
}

// The letters a chain plays, as pitches of C major or A minor before the move into the key.
std::vector<int> ChainPitches(KeyMode mode, std::uint32_t seed, int count) {
    MelodyRandom random(seed);
    MelodyChain chain(mode, mode == KeyMode::kMajor ? 60 : 69, random);
    std::vector<int> pitches;
    for (int i = 0; i < count; ++i) pitches.push_back(chain.NextMelodyNote());
    return pitches;
}

TEST(MelodyChain, RepeatsATonicReachedByADrawAndNeverPlaysB) {
    for (KeyMode mode : {KeyMode::kMajor, KeyMode::kMinor}) {
        const int tonic = mode == KeyMode::kMajor ? 72 : 69;
        for (std::uint32_t seed = 0; seed < 300; ++seed) {
            SCOPED_TRACE(seed);
            const auto pitches = ChainPitches(mode, seed, 96);
            std::size_t firstOther = 0;
            while (firstOther < pitches.size() && pitches[firstOther] == tonic) ++firstOther;
            for (std::size_t i = 0; i < pitches.size(); ++i) {
                EXPECT_NE(pitches[i] % 12, 11) << "B at " << i;
                // After the chain has left the start, a tonic comes at least twice in a row.
                if (i > firstOther && i + 1 < pitches.size() && pitches[i] == tonic &&
                    pitches[i - 1] != tonic) {
                    EXPECT_EQ(pitches[i + 1], tonic) << "at " << i;
                }
            }
        }
    }
}

struct GeneratedNote {
    std::int64_t tick;
    int pitch;
    int velocity;
};

std::vector<GeneratedNote> NoteOns(const Bytes& song) {
    const auto tracks = SongTracks(song);
    std::vector<GeneratedNote> notes;
    if (tracks.size() != 3) return notes;
    for (const SongEvent& event : tracks[1]) {
        if (event.bytes[0] == 0x90) notes.push_back({event.tick, event.bytes[1], event.bytes[2]});
    }
    return notes;
}

TEST(GenerateMelody, TheSameSeedWritesTheSameSong) {
    const MelodyJob job = GeneratorJob(4, 0, 60);
    const SongOutcome first = GenerateMelody(job, 0, 1234567);
    const SongOutcome second = GenerateMelody(job, 0, 1234567);
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.song, second.song);
    EXPECT_NE(first.song, GenerateMelody(job, 0, 1234568).song);
}

TEST(GenerateMelody, WritesTheTemplatesAroundTheNotes) {
    MelodyJob job = GeneratorJob(6, -2, 70);
    job.tempoBpm = 240;
    const SongOutcome outcome = GenerateMelody(job, 0, 7);
    ASSERT_TRUE(outcome.ok);
    const Bytes& song = outcome.song;
    // clang-format off
    const Bytes start = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 3, 0x01, 0x80,
                         'M', 'T', 'r', 'k', 0, 0, 0, 33,
                         0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x60, 0x08,
                         0x00, 0xFF, 0x7F, 0x03, 0x00, 0x00, 0x41,
                         0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,
                         0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,
                         0x00, 0xFF, 0x2F, 0x00,
                         'M', 'T', 'r', 'k'};
    // clang-format on
    ASSERT_GT(song.size(), start.size() + 43);
    EXPECT_EQ(Bytes(song.begin(), song.begin() + static_cast<std::ptrdiff_t>(start.size())), start);
    // clang-format off
    const Bytes randomStart = {0x00, 0xFF, 0x03, 0x06, 'R', 'a', 'n', 'd', 'o', 'm',
                               0x00, 0xB0, 0x00, 0x00, 0x00, 0xC0, 0x04,
                               0x00, 0xFF, 0x59, 0x02, 0xFE, 0x00,
                               0x00, 0xB0, 0x07, 0x78, 0x00, 0xB0, 0x0B, 0x78,
                               0x00, 0xB0, 0x5B, 0x28, 0x00, 0xB0, 0x5D, 0x28};
    const auto at = song.begin() + static_cast<std::ptrdiff_t>(start.size()) + 4;
    EXPECT_EQ(Bytes(at, at + static_cast<std::ptrdiff_t>(randomStart.size())), randomStart);
    const Bytes closing = {'M', 'T', 'r', 'k', 0, 0, 0, 0x0A, 0x00, 0xFF, 0x59, 0x02,
                           0x00, 0x00, 0x00, 0xFF, 0x2F, 0x00};
    // clang-format on
    EXPECT_EQ(Bytes(song.end() - 18, song.end()), closing);
    EXPECT_EQ(SongTracks(song).size(), 3u);
}

TEST(GenerateMelody, OverManySeedsStaysInKeyRangeAndMeter) {
    struct Case {
        int beats;
        int keySf;
        int tonic;
        std::set<int> pitchClasses;  // the scale's letters moved into the key, B left out
        int low;
        int high;
    };
    const Case cases[] = {
        {4, 0, 60, {0, 2, 4, 5, 7, 9}, 67, 77},    // C major
        {3, 0, 69, {9, 0, 2, 4, 5, 7}, 64, 74},    // A minor
        {2, 2, 62, {2, 4, 6, 7, 9, 11}, 57, 67},   // D major
        {6, -3, 60, {0, 3, 5, 7, 8, 10}, 67, 77},  // C minor: A minor moved up by 3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.beats) + " " + std::to_string(c.tonic));
        const std::int64_t measure = 384LL * (c.beats == 6 ? 3 : c.beats);
        for (std::uint32_t seed = 0; seed < 200; ++seed) {
            const SongOutcome outcome =
                GenerateMelody(GeneratorJob(c.beats, c.keySf, c.tonic), 0, seed);
            ASSERT_TRUE(outcome.ok);
            const auto notes = NoteOns(outcome.song);
            ASSERT_GE(notes.size(), 4u);
            for (std::size_t i = 0; i + 1 < notes.size(); ++i) {
                const GeneratedNote& note = notes[i];
                ASSERT_TRUE(c.pitchClasses.count(note.pitch % 12)) << "pitch " << note.pitch;
                ASSERT_GE(note.pitch, c.low);
                ASSERT_LE(note.pitch, c.high);
                ASSERT_TRUE(note.velocity == 60 || note.velocity == 20);
                // Main notes sound on the measure line plus the section's offset.
                if (note.velocity == 60) {
                    const std::int64_t line = note.tick - 4 * measure;
                    const std::int64_t section = line / (measure * 39);
                    const std::int64_t offset = section == 0 ? 0 : section == 1 ? 96 : 288;
                    ASSERT_EQ((line - offset) % measure, 0) << "tick " << note.tick;
                    ASSERT_LT(section, 3);
                }
            }
            // The closing tonic 6 measures and 96 ticks after the third section.
            const GeneratedNote& closing = notes.back();
            EXPECT_EQ(closing.pitch, c.tonic);
            EXPECT_EQ(closing.velocity, 5);
            EXPECT_EQ(closing.tick, measure * (4 + 96 + 14 + 6) + 96);
        }
    }
}

TEST(GenerateMelody, ARemainderFailsWithoutASong) {
    const SongOutcome outcome = GenerateMelody(GeneratorJob(4, 0, 60), 5, 1);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "");
    EXPECT_TRUE(outcome.song.empty());
}

}  // namespace
}  // namespace melody
