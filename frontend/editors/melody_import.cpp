#include "frontend/editors/melody_import.h"

#include <algorithm>
#include <array>
#include <vector>

#include "frontend/core/name_tables.h"
#include "frontend/core/vb_text.h"
#include "frontend/editors/key_list.h"

namespace corvane::editors {
namespace {

constexpr int kMaxMeasuresToInsert = 16;
constexpr int kMinTempo = 20;
constexpr int kMaxTempo = 240;
constexpr int kMinVolume = 50;
constexpr int kMaxVolume = 200;
// The worker always writes note-offs with velocity 0.
constexpr int kNoteOffZero = 1;

// By key code, in the order of the key name table: signature and tonic of each key.
constexpr std::array<KeyTokens, kKeyCodeCount> kKeyTokens = {{
    {0, 60},  {0, 69},  {1, 67},  {1, 64},  {2, 62},  {2, 71},  {3, 69},
    {3, 66},  {4, 64},  {4, 61},  {5, 71},  {5, 68},  {6, 66},  {6, 63},
    {7, 61},  {7, 70},  {-1, 65}, {-1, 62}, {-2, 70}, {-2, 67}, {-3, 63},
    {-3, 60}, {-4, 68}, {-4, 65}, {-5, 61}, {-5, 70}, {-6, 66}, {-6, 63},
}};

int Clamp(long n, int low, int high) {
    return static_cast<int>(std::clamp<long>(n, low, high));
}

std::vector<std::int32_t> CountedTokens(const MelodyRun& run) {
    return {run.track,           run.beats,    run.key.keySf, run.key.tonic, run.tempo,
            run.doubled ? 2 : 1, kNoteOffZero, run.intro,     run.ending,    run.volume};
}

}  // namespace

int MeasuresToInsertOf(std::string_view text) {
    const long n = LeadingNumber(text);
    if (n > kMaxMeasuresToInsert) return kMaxMeasuresToInsert;
    return n >= 1 ? static_cast<int>(n) : 0;
}

int TempoOf(std::string_view text) {
    return Clamp(LeadingNumber(text), kMinTempo, kMaxTempo);
}

int VolumePercentOf(std::string_view text) {
    return Clamp(LeadingNumber(text), kMinVolume, kMaxVolume);
}

KeyTokens KeyTokensOf(std::string_view keyName) {
    const std::string_view name = TrimBlanks(keyName);
    for (int code = 0; code < kKeyCodeCount; ++code) {
        if (KeyNameTable()[code] == name) return kKeyTokens[code];
    }
    return {};
}

int BeatsCodeOf(std::string_view timeText) {
    const std::string_view text = TrimBlanks(timeText);
    if (text == "2/4") return 2;
    if (text == "3/4") return 3;
    if (text == "6/8") return 6;
    return 4;
}

std::int32_t SumToken(const MelodyRun& run) {
    std::uint32_t sum = run.handle;
    for (std::int32_t token : CountedTokens(run)) sum += static_cast<std::uint32_t>(token);
    return static_cast<std::int32_t>(sum);
}

std::string QuenbyArgs(const MelodyRun& run) {
    std::string line = kMelodyImporterProgram;
    for (std::int32_t token : CountedTokens(run)) line += " " + std::to_string(token);
    line += " " + std::to_string(SumToken(run));
    line += " " + std::to_string(run.handle);
    line += run.generate ? " 1" : " 0";
    return line;
}

}  // namespace corvane::editors
