#include "tests/library/render_levels.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>

#include "tests/support/program_folder.h"

namespace librarytest {
namespace {

constexpr int kMelodyChannel = 1;
constexpr std::array<int, 5> kStyleChannels = {2, 3, 4, 5, 10};
constexpr std::array<int, 4> kEchoChannels = {6, 7, 8, 9};
// The accompaniment as a whole may be 1 dB louder than the melody; two halves of that power
// are each 2 dB under it.
constexpr double kStylePartsUnderMelodyDb = 2.0;
// Quieter than this beside the melody, a part is not heard.
constexpr double kAudibleBelowMelodyDb = 20.0;

}  // namespace

std::vector<SongLevels> RenderLevels(const std::vector<std::string>& songs,
                                     const std::vector<std::string>& mixes,
                                     const std::string& only) {
    std::string command = PARTLEVELS_PROGRAM;
    if (!only.empty()) command += " --only " + only;
    for (const std::string& song : songs) command += " '" + song + "'";
    for (const std::string& mix : mixes) command += " " + mix;
    const testsupport::CommandRun run = testsupport::RunCommand(command);
    std::istringstream lines(run.exitCode == 0 ? run.output : std::string());
    std::vector<SongLevels> levels;
    if (songs.size() == 1) levels.emplace_back();
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("song ", 0) == 0) {
            levels.emplace_back();
            continue;
        }
        if (levels.empty()) return {};
        SongLevels& song = levels.back();
        song.report += line + "\n";
        int channel = 0, notes = 0;
        double rms = 0, active = 0;
        char mix[32] = {};
        if (std::sscanf(line.c_str(), "channel %d: notes %d rms %lf active %lf", &channel, &notes,
                        &rms, &active) == 4) {
            song.active[channel] = active;
            song.rms[channel] = rms;
        } else if (std::sscanf(line.c_str(), "channels %31[0-9,-]: notes %d rms %lf active %lf",
                               mix, &notes, &rms, &active) == 4) {
            song.mixes[mix] = active;
        }
    }
    if (levels.size() != songs.size()) return {};
    return levels;
}

void ExpectMelodyOnTop(const SongLevels& levels) {
    ASSERT_TRUE(levels.active.count(kMelodyChannel)) << levels.report;
    ASSERT_TRUE(levels.mixes.count(kStylePartsMix)) << levels.report;
    const double melody = levels.active.at(kMelodyChannel);
    std::ostringstream problems;
    const double styleParts = levels.mixes.at(kStylePartsMix);
    if (styleParts > melody - kStylePartsUnderMelodyDb) {
        problems << "the style's parts together are " << styleParts - melody
                 << " dB from the melody; ";
    }
    for (const int channel : kStyleChannels) {
        const auto level = levels.active.find(channel);
        if (level == levels.active.end()) {
            problems << "channel " << channel << " plays nothing; ";
        } else if (level->second > melody) {
            problems << "channel " << channel << " is " << level->second - melody
                     << " dB above the melody; ";
        }
    }
    for (const auto& [channel, active] : levels.active) {
        if (channel != kMelodyChannel && active < melody - kAudibleBelowMelodyDb) {
            problems << "channel " << channel << " is " << melody - active
                     << " dB under the melody; ";
        }
    }
    for (const int channel : kEchoChannels) {
        if (!levels.active.count(channel))
            problems << "echo channel " << channel << " plays nothing; ";
    }
    if (!problems.str().empty()) ADD_FAILURE() << problems.str() << "\n" << levels.report;
}

}  // namespace librarytest
