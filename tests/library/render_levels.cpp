#include "tests/library/render_levels.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/program_folder.h"

namespace librarytest {
namespace {

// The accompaniment as a whole may be this much louder than the melody.
constexpr double kAccompanimentHeadroomDb = 3.0;
constexpr int kMelodyChannel = 1;

}  // namespace

std::vector<SongLevels> RenderLevels(const std::vector<std::string>& songs) {
    std::string command = PARTLEVELS_PROGRAM;
    for (const std::string& song : songs) command += " '" + song + "'";
    command += " 2-16";
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
        int channel = 0, first = 0, last = 0, notes = 0;
        double rms = 0, active = 0;
        if (std::sscanf(line.c_str(), "channel %d: notes %d rms %lf active %lf", &channel, &notes,
                        &rms, &active) == 4) {
            song.active[channel] = active;
        } else if (std::sscanf(line.c_str(), "channels %d-%d: notes %d rms %lf active %lf", &first,
                               &last, &notes, &rms, &active) == 5) {
            song.accompaniment = active;
        }
    }
    if (levels.size() != songs.size()) return {};
    return levels;
}

void ExpectMelodyOnTop(const SongLevels& levels) {
    ASSERT_TRUE(levels.active.count(kMelodyChannel)) << levels.report;
    const double melody = levels.active.at(kMelodyChannel);
    std::ostringstream problems;
    if (levels.accompaniment > melody + kAccompanimentHeadroomDb) {
        problems << "the accompaniment is " << levels.accompaniment - melody
                 << " dB above the melody; ";
    }
    for (const auto& [channel, active] : levels.active) {
        if (channel != kMelodyChannel && active > melody) {
            problems << "channel " << channel << " is " << active - melody
                     << " dB above the melody; ";
        }
    }
    if (!problems.str().empty()) ADD_FAILURE() << problems.str() << "\n" << levels.report;
}

}  // namespace librarytest
