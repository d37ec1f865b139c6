#include "frontend/core/command_lines.h"

#include "frontend/core/user_settings.h"

namespace corvane {
namespace {

constexpr int kHoldModeToken = 1;
constexpr const char* kComposeTail = " 0 0 1 ";

}  // namespace

std::string SignToken(long value) {
    return " " + std::to_string(value);
}

std::string AmbrelArgs(int chordOptMode, std::uint32_t handle) {
    return std::string(kSongLoaderProgram) + " /" + std::to_string(chordOptMode) + " InPut.bin " +
           std::to_string(handle) + " " + std::to_string(kVersionStamp);
}

std::string TressilArgs(int makeOptMode, std::uint32_t handle, int sectLenIdx) {
    const int sectionToken = sectLenIdx < 0 ? 0 : sectLenIdx;
    return std::string(kChordMakerProgram) + SignToken(makeOptMode) + " " + std::to_string(handle) +
           " " + std::to_string(kVersionStamp) + " " + std::to_string(sectionToken);
}

int TempoClass(int songTempo) {
    if (songTempo >= 100) return 4;
    if (songTempo >= 90) return 2;
    return 1;
}

std::string ComposeArgs(const ComposeInputs& in) {
    std::string line = kComposerProgram;
    line += SignToken(TempoClass(in.songTempo));
    line += SignToken(EchoLevelOfSlider(in.echoSlider[0]));
    line += SignToken(EchoLevelOfSlider(in.echoSlider[1]));
    line += SignToken(kHoldModeToken);
    for (const std::string& file : in.styleFiles) line += " " + file;
    line += SignToken(in.echoVoice[0] - 1);
    line += SignToken(in.echoVoice[1] - 1);
    line += SignToken(in.myVmCode);
    line += " " + std::to_string(in.handle);
    line += " " + std::to_string(in.autoOctave);
    line += kComposeTail;
    line += std::to_string(kVersionStamp);
    return line;
}

std::optional<std::string> ComposeArgsRefusal(const std::string& commandLine) {
    if (commandLine.size() <= kComposeArgsLimit) return std::nullopt;
    return "Error: <" + commandLine + ">\nLength: " + std::to_string(2 * commandLine.size());
}

}  // namespace corvane
