#include "workers/composer/compose_args.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>

#include "formats/style_keys.h"
#include "formats/style_model.h"

namespace composer {

void MessageLog::Printf(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0)
        text_.append(buffer, static_cast<std::size_t>(n) < sizeof buffer ? n : sizeof buffer - 1);
}

int SplitComposeArgs(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    if (line.empty() || line.front() == ' ') return 0;
    std::size_t start = 0;
    int count = 0;
    while (true) {
        const std::size_t blank = line.find(' ', start);
        if (count == kArgumentFieldLimit) return kArgumentFieldLimit + 2;
        fields.emplace_back(line.substr(
            start, blank == std::string_view::npos ? std::string_view::npos : blank - start));
        ++count;
        if (blank == std::string_view::npos) break;
        start = blank + 1;
    }
    return count + 1;
}

int DecimalValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<int>::max()) value = std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

namespace {

int EchoLevelOf(std::string_view token) {
    const int value = DecimalValue(token);
    return value >= 0 && value <= 9 ? value * 13 : 65;
}

int EchoProgramOf(std::string_view token) {
    const int value = DecimalValue(token);
    return value >= 0 && value <= 127 ? value : 52;
}

}  // namespace

ComposeOptions DecodeComposeArgs(const std::vector<std::string>& fields) {
    ComposeOptions options;
    auto token = [&](int n) -> std::string_view {
        return n >= 1 && n <= static_cast<int>(fields.size()) ? std::string_view(fields[n - 1])
                                                              : std::string_view();
    };
    options.chordDataKey = DecimalValue(token(12));
    {
        long long handle = 0;
        const std::string text(token(13));
        if (std::sscanf(text.c_str(), "%lld", &handle) != 1) handle = 0;
        options.callerWindow = static_cast<std::uint32_t>(handle);
    }
    options.autoOctave = DecimalValue(token(14));
    options.version = DecimalValue(token(18));

    options.echoLevel1 = EchoLevelOf(token(2));
    options.echoLevel2 = EchoLevelOf(token(3));
    if ((options.echoLevel1 == 0) != (options.echoLevel2 == 0)) {
        if (options.echoLevel1 == 0) options.echoLevel1 = 1;
        if (options.echoLevel2 == 0) options.echoLevel2 = 1;
    }
    switch (DecimalValue(token(4))) {
        case 0:
            options.headRelease = 30;
            options.holdMode = 0;
            break;
        case 1:
            options.headRelease = 75;
            options.holdMode = 1;
            break;
        case 2:
            options.headRelease = 90;
            options.holdMode = 2;
            break;
        default:
            options.headRelease = 80;
            options.holdMode = 1;
            break;
    }
    for (int slot = 0; slot < kSlotCount; ++slot)
        options.styleNames[slot] = std::string(token(5 + slot));
    options.echoProgram1 = EchoProgramOf(token(10));
    options.echoProgram2 = EchoProgramOf(token(11));
    return options;
}

SlotSettings SlotSettingsFromName(std::string_view name) {
    SlotSettings s;
    if (name.size() >= 7) {
        s.styleVersion = DecimalValue(name.substr(name.size() - 6));
        if (name.size() - 6 >= 4) s.styleCode = std::string(name.substr(name.size() - 10, 4));
    }
    s.stepsPerQuarter = formats::StepsPerQuarter(s.styleVersion);
    s.lines24 = 2 * s.stepsPerQuarter;
    s.lines34 = 3 * s.stepsPerQuarter;
    s.lines44 = 4 * s.stepsPerQuarter;
    s.maxTickOffset = kTicksPerQuarter / s.stepsPerQuarter - 1;
    s.styleKey = formats::StyleKeyForVersion(s.styleVersion);
    s.flagLate = s.styleVersion >= formats::kFirstLateVersion ? 1 : 0;
    s.flagNew = s.styleVersion >= formats::kFirstNewVersion ? 1 : 0;
    return s;
}

bool ParseVPara(std::span<const std::uint8_t> text, std::array<SlotParams, kSlotCount>& slots) {
    slots = {};
    TextLines lines(text);
    std::string line;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        // A last line without its line end is not used; a longer line comes in pieces.
        if (!lines.Next(79, line) || (line.back() != '\n' && lines.AtEnd())) break;
        line.pop_back();
        int v[20];
        const int n = std::sscanf(
            line.c_str(), "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", &v[0],
            &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11], &v[12],
            &v[13], &v[14], &v[15], &v[16], &v[17], &v[18], &v[19]);
        if (n != 16) return false;
        SlotParams& p = slots[slot];
        p.sectVol = v[0];
        for (int part = 0; part < kStyleTrackCount; ++part) {
            p.partProgram[part] = v[1 + part];
            p.partVol[part] = v[6 + part];
            const int m = v[11 + part] % 100;
            p.channelMode[part] = m % 10;
            p.partModeTens[part] = m / 10;
        }
    }
    return true;
}

bool TextLines::Next(std::size_t maxChars, std::string_view& line) {
    line = {};
    if (pos_ >= bytes_.size()) return false;
    const auto rest = bytes_.subspan(pos_, std::min(bytes_.size() - pos_, maxChars));
    const void* end = std::memchr(rest.data(), '\n', rest.size());
    const std::size_t taken =
        end == nullptr
            ? rest.size()
            : static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - rest.data()) + 1;
    line = {reinterpret_cast<const char*>(rest.data()), taken};
    pos_ += taken;
    return true;
}

bool TextLines::Next(std::size_t maxChars, std::string& line) {
    std::string_view view;
    const bool read = Next(maxChars, view);
    line.assign(view);
    return read;
}

std::vector<std::uint8_t> TextModeBytes(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        out.push_back(bytes[i]);
    }
    return out;
}

}  // namespace composer
