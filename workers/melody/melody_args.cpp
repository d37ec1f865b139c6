#include "workers/melody/melody_args.h"

#include <limits>

#include "workers/common/worker_skeleton.h"

namespace melody {

namespace {

QuenbyTokens storedTokens{};
int storedCount = 0;

bool IsBetween(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

}  // namespace

int SplitQuenbyLine(char* line, QuenbyTokens& tokens) {
    tokens.fill(nullptr);
    if (line == nullptr || line[0] == '\0' || line[0] == ' ') return 0;
    int count = 1;
    tokens[1] = line;
    for (char* c = line; *c != '\0'; ++c) {
        if (*c != ' ') continue;
        *c = '\0';
        if (count == kQuenbyTokenLimit) break;
        ++count;
        tokens[count] = c + 1;
    }
    return count;
}

int SplitQuenbyCommandLine() {
    storedCount = SplitQuenbyLine(worker::StoredCommandLineBuffer(), storedTokens);
    return storedCount;
}

const char* QuenbyToken(int n) {
    if (n < 1 || n > storedCount || storedTokens[n] == nullptr) return "";
    return storedTokens[n];
}

std::int32_t ConvertLongToken(const char* text) {
    if (text == nullptr) return 0;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > kLimit) magnitude = kLimit;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

std::int16_t ConvertShortToken(const char* text) {
    return static_cast<std::int16_t>(
        static_cast<std::uint16_t>(static_cast<std::uint32_t>(ConvertLongToken(text)) & 0xFFFFu));
}

QuenbyArgs ConvertQuenbyTokens(const QuenbyTokens& tokens) {
    auto token = [&](int n) { return tokens[n] != nullptr ? tokens[n] : ""; };
    QuenbyArgs args;
    args.job.trackNo = ConvertShortToken(token(1));
    args.job.beatsCode = ConvertShortToken(token(2));
    args.job.keySf = ConvertShortToken(token(3));
    args.job.tonicNote = ConvertShortToken(token(4));
    args.job.tempoBpm = ConvertShortToken(token(5));
    args.job.timeFactor = ConvertShortToken(token(6));
    args.job.noteOffZero = ConvertShortToken(token(7));
    args.job.introMeasures = ConvertShortToken(token(8));
    args.job.endingMeasures = ConvertShortToken(token(9));
    args.job.velPercent = ConvertShortToken(token(10));
    args.sumToken = ConvertLongToken(token(11));
    args.callerWnd = ConvertLongToken(token(12));
    args.runMode = ConvertShortToken(token(13));
    return args;
}

bool QuenbyArgsInRange(const QuenbyArgs& args) {
    const MelodyJob& job = args.job;
    const bool beatsKnown =
        job.beatsCode == 2 || job.beatsCode == 3 || job.beatsCode == 4 || job.beatsCode == 6;
    return beatsKnown && IsBetween(job.keySf, -6, 7) && IsBetween(job.tonicNote, 60, 71) &&
           IsBetween(job.tempoBpm, 20, 240) && IsBetween(job.timeFactor, 1, 2) &&
           IsBetween(job.noteOffZero, 0, 1) && IsBetween(job.introMeasures, 0, 16) &&
           IsBetween(job.endingMeasures, 0, 16) && IsBetween(job.velPercent, 50, 200) &&
           args.callerWnd != 0 && IsBetween(job.trackNo, 1, 16);
}

std::int32_t SumTokenRemainder(const QuenbyArgs& args) {
    const MelodyJob& job = args.job;
    // Unsigned arithmetic wraps like the caller's 32-bit sum without undefined behaviour.
    std::uint32_t remainder = static_cast<std::uint32_t>(args.sumToken);
    for (std::int16_t value :
         {job.trackNo, job.beatsCode, job.keySf, job.tonicNote, job.tempoBpm, job.timeFactor,
          job.noteOffZero, job.introMeasures, job.endingMeasures, job.velPercent}) {
        remainder -= static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    }
    remainder -= static_cast<std::uint32_t>(args.callerWnd);
    return static_cast<std::int32_t>(remainder);
}

}  // namespace melody
