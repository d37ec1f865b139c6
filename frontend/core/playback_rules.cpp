#include "frontend/core/playback_rules.h"

#include <filesystem>

#include "frontend/core/vb_text.h"
#include "frontend/styles/slot_tables.h"
#include "platform/qt/byte_file.h"
#include "platform/qt/sequencer.h"

namespace corvane {

int OutMsCountOf(std::int64_t lengthSixteenths, int msUnits) {
    if (msUnits <= 0 || lengthSixteenths <= 0) return 0;
    return static_cast<int>(lengthSixteenths / msUnits);
}

bool BarCountsMatch(int outMsCount, int chordMsCount) {
    return chordMsCount == outMsCount || chordMsCount == outMsCount - 1;
}

std::string BarMismatchText(int outMsCount, int chordMsCount) {
    return "Number of Measures is not the same as in the ChordDataList: " +
           std::to_string(outMsCount) + "," + std::to_string(chordMsCount);
}

std::string OutputOpenErrorText(int error) {
    std::string text = "Error open Midi Device (" + std::to_string(error) +
                       ")\n"
                       "Please run <3.Make Output>, then try again.\n"
                       "If this error appears many times, you may have an incorrect version of "
                       "Compose installed, or there is an error in Style Data. "
                       "Please try to use other style instead.\n\n";
    if (error == platform::qt::kErrorInvalidFile) {
        text +=
            "On some systems this error may occur for normal output midi data! You can save "
            "the output and try to use other Midi Player to test.";
    }
    return text;
}

BarStep FollowPosition(std::int64_t position, int msUnits, int halfMsUnits, int& lastShownMeasure,
                       bool& secondChordShown) {
    BarStep step;
    step.bar = static_cast<int>(position / msUnits);
    if (step.bar == lastShownMeasure) {
        if (!secondChordShown && position % msUnits >= halfMsUnits) {
            secondChordShown = true;
            step.secondChord = true;
        }
        return step;
    }
    lastShownMeasure = step.bar;
    secondChordShown = false;
    step.newBar = true;
    return step;
}

PlayingSection LookUpSection(const std::vector<std::string>& sectionLines, int bar,
                             const std::string& songTitle) {
    PlayingSection section;
    section.caption = songTitle;
    for (int row = static_cast<int>(sectionLines.size()) - 1; row >= 0; --row) {
        const std::string& line = sectionLines[static_cast<std::size_t>(row)];
        if (LeadingNumber(std::string_view(line).substr(0, 3)) > bar + 1) continue;
        section.slot = static_cast<int>(LeadingNumber(line.size() > 4 ? line.substr(4, 2) : ""));
        section.caption = songTitle + (line.size() > 3 ? line.substr(3) : "");
        section.selectedRow = row;
        return section;
    }
    if (!sectionLines.empty()) section.selectedRow = 0;
    return section;
}

std::optional<Colour> SlotColour(int slot) {
    if (slot < 1 || slot > styles::kSlotCount) return std::nullopt;
    return styles::kSlotColours[static_cast<std::size_t>(slot - 1)];
}

int BeatLedAt(std::int64_t position, int ticksPerBeatLed, int beatLedCount) {
    if (ticksPerBeatLed <= 0 || beatLedCount <= 0) return -1;
    // Truncation toward zero, as the LEDs were counted; positions are never negative anyway.
    return static_cast<int>((position / ticksPerBeatLed) % beatLedCount);
}

void DeleteWorkFiles(const std::string& folder, const std::string& playFilePath) {
    // A read-only file stays, the play file as much as any other.
    std::error_code error;
    const auto status = std::filesystem::status(playFilePath, error);
    if (!error && (status.permissions() & std::filesystem::perms::owner_write) !=
                      std::filesystem::perms::none)
        platform::qt::DeleteFile(playFilePath);
    for (std::string_view pattern : kWorkFilePatterns)
        platform::qt::DeleteMatching(folder, pattern);
}

}  // namespace corvane
