// Random styles of both families (section-coded modes before version 31, the sixteen new modes
// from 31; releases before version 30, note lengths and offsets from 30) composed on random
// songs with random play options, for a few seconds. Under the sanitizers this finds memory and
// arithmetic faults that no hand-made case reaches; in every build the written tracks must have
// well-formed note streams. Each run is seeded: a failure names the seed that reproduces it.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/style_file.h"
#include "formats/style_model.h"
#include "fuzz/composer/random_song.h"
#include "workers/composer/composer.h"
#include "workers/composer/track_coding.h"

namespace composer {
namespace {

using formats::TimeSignature;

// At least the first seeds run in any build, the rest while the time lasts.
constexpr int kLeastRuns = 12;
constexpr auto kTimeBudget = std::chrono::seconds(3);
constexpr int kMostRuns = 3000;
constexpr std::uint32_t kFirstSeed = 20240601;
constexpr int kVersions[] = {12, 25, 30, 31, 33};
constexpr int kCoarseVersions[] = {5, 8};  // eight steps a quarter note
constexpr TimeSignature kSignatures[] = {TimeSignature::k2_4, TimeSignature::k3_4,
                                         TimeSignature::k4_4, TimeSignature::k6_8};
constexpr int kNumerators[] = {2, 3, 4, 6};

// The cells of one mode: now and then a step with one to four notes. Before version 30 every
// note is released at a later step of the mode (the loader refuses a mode that leaves one
// sounding); from 30 notes carry lengths and tick offsets instead.
void FillMode(Draw& draw, formats::Mode& mode, const formats::Track& track, int version,
              int lines) {
    const bool drums = track.channel == formats::kDrumChannel;
    const bool late = version >= formats::kFirstLateVersion;
    const int density = draw.Below(40);
    for (int step = 0; step < lines; ++step) {
        if (draw.Below(100) >= density) continue;
        const int notes = 1 + draw.Below(4);
        for (int n = 0; n < notes; ++n) {
            const int column = draw.Below(formats::kCellColumns);
            formats::Cell& cell = mode.rows[step][column];
            if (!cell.empty()) continue;
            const int note = drums              ? 35 + draw.Below(47)
                             : track.styleFlag1 ? 40 + draw.Below(50)
                                                : 1 + draw.Below(36);
            const int velocity = draw.Chance(50) ? 0 : 10 + draw.Below(118);
            const int offset =
                draw.Chance(20) ? draw.Below(formats::MaxTickOffset(version) + 1) : 0;
            cell.whole = std::int64_t{offset} * formats::kExtraThreshold + velocity * 1000 + note;
            if (late) {
                if (velocity >= 10 || offset > 0)
                    cell.extra = draw.Below(formats::kMaxNoteLength + 1);
                continue;
            }
            // The release, at a later step in a free column (or the note is taken back).
            const int release = step + 1 + draw.Below(lines);
            formats::Cell* free = nullptr;
            for (int s = std::min(release, lines - 1); s > step && free == nullptr; --s) {
                for (int c = 0; c < formats::kCellColumns && free == nullptr; ++c) {
                    if (mode.rows[s][c].empty()) free = &mode.rows[s][c];
                }
            }
            if (free != nullptr)
                free->whole = -note;
            else
                cell = {};
        }
    }
}

formats::Style RandomStyle(Draw& draw, int version, TimeSignature ts) {
    formats::Style style;
    style.header = "Rand: " + std::string(formats::TimeSignatureName(ts)) + " Stress";
    style.code = "Rand";
    style.version = version;
    style.timeSignature = ts;
    const int lines = formats::LinesPerMeasure(ts, version);
    const int melodic = 1 + draw.Below(4);
    const bool drums = draw.Chance(85);
    static constexpr int kChannels[] = {1, 2, 3, 4, 0, 10, 11};
    static constexpr int kBases[] = {-36, -36, -24, -12, 0, 0, 12};
    for (int t = 0; t < melodic + (drums ? 1 : 0); ++t) {
        formats::Track track;
        const bool drum = t == melodic;
        track.name = drum ? "Drums" : "Part";
        track.channel = drum                       ? formats::kDrumChannel
                        : t < 4 && draw.Chance(80) ? t + 1
                                                   : kChannels[draw.Below(7)];
        track.base = drum ? 0 : draw.Chance(80) ? kBases[draw.Below(7)] : draw.Below(61) - 36;
        for (formats::PartSound* sound : {&track.chord, &track.pattern}) {
            *sound = {draw.Below(128), draw.Below(128), draw.Below(128), draw.Below(128)};
        }
        if (!drum) {
            track.sustain = draw.Below(2);
            track.styleFlag1 = draw.Chance(25) ? 1 : 0;
            track.registerRule = draw.Below(5);
            track.registerTight = draw.Below(2);
            track.playMode = draw.Below(4);
        }
        for (int k = 0; k < formats::kMaxModes; ++k) {
            formats::Mode mode;
            mode.index = mode.number = k;
            mode.slope = k == 0 ? 0 : draw.Below(41) - 20;
            mode.rows.assign(static_cast<std::size_t>(lines), formats::StepRow{});
            FillMode(draw, mode, track, version, lines);
            track.modes.push_back(std::move(mode));
        }
        style.tracks.push_back(std::move(track));
    }
    return style;
}

TEST(ComposerStress, RandomStylesOfBothFamiliesOnRandomSongs) {
    // ORVELLA_STRESS_SEED=<seed> runs that one seed again.
    const char* only = std::getenv("ORVELLA_STRESS_SEED");
    const std::uint32_t first =
        only != nullptr ? static_cast<std::uint32_t>(std::stoul(only)) : kFirstSeed;
    const int most = only != nullptr ? 1 : kMostRuns;
    const auto start = std::chrono::steady_clock::now();
    int composed = 0, stopped = 0, runs = 0;
    for (std::uint32_t seed = first; runs < most; ++seed, ++runs) {
        if (runs >= kLeastRuns && std::chrono::steady_clock::now() - start > kTimeBudget) break;
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Draw draw(seed);
        // Five styles of one time signature and one step resolution, as a song can combine them.
        const bool coarse = draw.Chance(20);
        const int sig = draw.Below(4);
        std::array<std::string, kSlotCount> names;
        std::array<std::vector<std::uint8_t>, kSlotCount> files;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const int version = coarse
                                    ? kCoarseVersions[draw.Below(2)]
                                    : kVersions[draw.Below(static_cast<int>(std::size(kVersions)))];
            formats::Style style = RandomStyle(draw, version, kSignatures[sig]);
            style.code = "Rnd" + std::to_string(slot);
            if (const auto problem = formats::CheckStyle(style)) {
                FAIL() << "the drawn style is refused: " << problem->Text();
            }
            auto file = formats::WriteStyleFile(style);
            if (file.ok()) files[slot] = *file.value;  // else it happened to spell a record tag
            names[slot] = style.FileName();
        }
        ComposeSetup setup = RandomSetup(seed, names, kNumerators[sig]);
        const int runCode = setup.runCode;
        MessageLog log;
        try {
            Composer composer(std::move(setup), log);
            composer.PrepareSong();
            for (int slot = 1; slot <= kSlotCount; ++slot)
                composer.LoadStyle(slot, files[slot - 1]);
            EXPECT_EQ(ComposedNoteFaults(composer.ComposeAll(), runCode), "");
            if (runs < kLeastRuns) ++composed;
        } catch (const worker::WorkerFatal&) {
            // Limits of the Parts (full buffers, notes out of range) stop a run with a message.
            EXPECT_FALSE(log.text().empty());
            if (runs < kLeastRuns) ++stopped;
        }
        if (HasFailure()) break;
    }
    // The drawn styles and songs must mostly compose, or the stress reaches little (counted over
    // the seeds every run takes).
    if (only == nullptr) {
        EXPECT_GT(composed, 2 * stopped) << composed << " composed, " << stopped << " stopped";
    }
    RecordProperty("runs", runs);
}

}  // namespace
}  // namespace composer
