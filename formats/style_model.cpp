#include "formats/style_model.h"

#include <cmath>
#include <cstdio>

namespace formats {

namespace {

constexpr std::int64_t kMinLengthWhole =
    kExtraThreshold / 100;  // smallest whole value with an extra
constexpr int kMaxBase = 127;
constexpr int kMaxSlope = 999;
constexpr int kMaxPlayMode = 3;
constexpr int kMaxRegisterRule = 4;

bool IsCodeCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool IsRecordText(std::string_view text) {
    for (char c : text) {
        if (c < 0x20 || c > 0x7E || c == '"') return false;
    }
    return true;
}

Problem At(int line, std::string message) {
    return Problem{line, std::move(message)};
}

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == ' ') ++first;
    while (last > first && text[last - 1] == ' ') --last;
    return std::string(text.substr(first, last - first));
}

std::optional<Problem> CheckSound(const PartSound& sound, const char* kind, int line) {
    const struct {
        const char* name;
        int value;
    } values[] = {{"program", sound.program},
                  {"volume", sound.volume},
                  {"pan", sound.pan},
                  {"effect", sound.effect}};
    for (const auto& v : values) {
        if (v.value < 0 || v.value > 127) {
            return At(line, std::string(kind) + " " + v.name + " must be 0 to 127, not " +
                                std::to_string(v.value));
        }
    }
    return std::nullopt;
}

std::optional<Problem> CheckCell(const Cell& cell, const Track& track, int version, int line) {
    if (cell.empty()) return std::nullopt;
    if (cell.extra < 0 || cell.extra > kMaxNoteLength) {
        return At(line, "a note length must be 0 to 99");
    }
    if (cell.extra > 0 && cell.whole < kMinLengthWhole) {
        return At(line,
                  "a note length needs a positive cell with a velocity of 10 or more or an offset");
    }
    if (cell.offset() > MaxTickOffset(version)) {
        return At(line, "tick offset " + std::to_string(cell.offset()) + " is above " +
                            std::to_string(MaxTickOffset(version)) + " for version " +
                            std::to_string(version));
    }
    if (track.channel == kDrumChannel && cell.whole > 0) {
        const int note = cell.note() + track.base;
        if (note < 1 || note > 127) {
            return At(line, "drum note " + std::to_string(note) +
                                " (cell plus base) is outside 1 to 127");
        }
    }
    return std::nullopt;
}

std::optional<Problem> CheckMode(const Mode& mode, const Track& track, const Style& style,
                                 int position) {
    if (mode.index != position) {
        return At(mode.line,
                  "modes must follow in order; expected mode " + std::to_string(position));
    }
    if (mode.index == 0 && (mode.slope != 0 || mode.number != 0)) {
        return At(mode.line, "mode 0 has no mode line: it takes no slope and no number");
    }
    if (mode.number < 0 || mode.number >= kMaxModes) {
        return At(mode.line, "a mode number must be 0 to 15");
    }
    if (mode.slope < -kMaxSlope || mode.slope > kMaxSlope) {
        return At(mode.line, "a slope must be -999 to 999");
    }
    const int lines = LinesPerMeasure(style.timeSignature, style.version);
    if (static_cast<int>(mode.rows.size()) != lines) {
        return At(mode.line, "mode " + std::to_string(mode.index) + " has " +
                                 std::to_string(mode.rows.size()) + " steps; a " +
                                 std::string(TimeSignatureName(style.timeSignature)) +
                                 " style of version " + std::to_string(style.version) + " needs " +
                                 std::to_string(lines));
    }
    std::int64_t testSum = 0;
    for (const StepRow& row : mode.rows) {
        for (int column = 0; column < kCellColumns; ++column) {
            const int line = mode.laneLines[column] != 0 ? mode.laneLines[column] : mode.line;
            if (auto problem = CheckCell(row[column], track, style.version, line)) return problem;
            testSum += row[column].whole % 1000;
        }
    }
    if (style.version < kFirstLateVersion && testSum != 0) {
        return At(mode.line, "mode " + std::to_string(mode.index) +
                                 " leaves notes sounding (cell sum " + std::to_string(testSum) +
                                 "); before version 30 every note needs its release in the mode");
    }
    return std::nullopt;
}

}  // namespace

std::string_view TimeSignatureName(TimeSignature ts) {
    switch (ts) {
        case TimeSignature::k2_4:
            return "2/4";
        case TimeSignature::k3_4:
            return "3/4";
        case TimeSignature::k4_4:
            return "4/4";
        case TimeSignature::k6_8:
            return "6/8";
    }
    return "4/4";
}

std::optional<TimeSignature> TimeSignatureFromName(std::string_view name) {
    if (name == "2/4") return TimeSignature::k2_4;
    if (name == "3/4") return TimeSignature::k3_4;
    if (name == "4/4") return TimeSignature::k4_4;
    if (name == "6/8") return TimeSignature::k6_8;
    return std::nullopt;
}

int StepsPerQuarter(int version) {
    return version < kFirstTwelveStepVersion ? 8 : 12;
}

int MaxTickOffset(int version) {
    return version < kFirstTwelveStepVersion ? 47 : 31;
}

int LinesPerMeasure(TimeSignature ts, int version) {
    const int steps = StepsPerQuarter(version);
    switch (ts) {
        case TimeSignature::k2_4:
            return 2 * steps;
        case TimeSignature::k3_4:
        case TimeSignature::k6_8:
            return 3 * steps;
        case TimeSignature::k4_4:
            return 4 * steps;
    }
    return 4 * steps;
}

std::int64_t Cell::StoredValue() const {
    if (extra > 0 || whole >= kExtraThreshold) return whole * 100 + extra;
    return whole;
}

Cell Cell::FromStoredValue(double value) {
    Cell cell;
    if (value == 0.0) return cell;
    std::int64_t whole = static_cast<std::int64_t>(value);  // toward zero
    const double fraction = std::fabs(value - static_cast<double>(whole));
    // The fraction is an octave code: .1 one octave, .2 two, up to .9 (each +-0.05).
    int octaves = 0;
    if (fraction > 0.05) {
        for (int k = 1; k <= 9; ++k) {
            if (fraction <= 0.05 + 0.1 * k) {
                octaves = k;
                break;
            }
        }
    }
    if (whole >= kExtraThreshold) {
        cell.extra = static_cast<int>(whole % 100);
        whole /= 100;
    }
    const std::int64_t octaveCode = 12 * octaves;
    cell.whole = whole + (value < 0 ? -octaveCode : octaveCode);
    return cell;
}

bool Mode::HasCells() const {
    for (const StepRow& row : rows) {
        for (const Cell& cell : row) {
            if (!cell.empty()) return true;
        }
    }
    return false;
}

int Track::ModeCode() const {
    const int hundreds = sustain + (styleFlag1 != 0 ? 2 : 0);
    const int tens = registerRule + (registerTight != 0 ? 5 : 0);
    return hundreds * 100 + tens * 10 + playMode;
}

std::string Style::FileName() const {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", version);
    return code + digits + ".sty";
}

std::string Problem::Text() const {
    if (line > 0) return "line " + std::to_string(line) + ": " + message;
    return message;
}

HeaderScan ScanHeaderText(std::string_view header) {
    HeaderScan scan;
    std::string kept(header.substr(0, kMaxTextLength));
    kept.resize(kMaxTextLength, ' ');
    const std::size_t colon = kept.find(':');
    if (colon == std::string::npos || colon >= kMaxTextLength - 1) {
        scan.error = "No <:> mark found in header.";
        return scan;
    }
    const std::string rest = Trim(std::string_view(kept).substr(colon + 1));
    if (rest.empty()) {
        scan.error = "empty header.";
        return scan;
    }
    std::string ts;
    for (char c : rest.substr(0, 4)) {
        if (c != ' ') ts += c;
    }
    scan.timeSignature = TimeSignatureFromName(ts);
    if (!scan.timeSignature) scan.error = "Invalid timesignature.";
    return scan;
}

std::optional<int> VersionFromFileName(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    if (fileName.size() != 10) return std::nullopt;
    const std::string_view extension = fileName.substr(6);
    if (extension != ".sty" && extension != ".STY" && extension != ".Sty") return std::nullopt;
    for (int i = 0; i < 4; ++i) {
        if (!IsCodeCharacter(fileName[i])) return std::nullopt;
    }
    const char tens = fileName[4];
    const char units = fileName[5];
    if (tens < '0' || tens > '9' || units < '0' || units > '9') return std::nullopt;
    return (tens - '0') * 10 + (units - '0');
}

std::optional<Problem> CheckStyle(const Style& style) {
    if (style.code.size() != 4) return At(0, "the code must be four characters");
    for (char c : style.code) {
        if (!IsCodeCharacter(c)) {
            return At(0, "the code may hold only letters, digits, '_' and '-'");
        }
    }
    if (style.version < 0 || style.version > 99) return At(0, "the version must be 0 to 99");
    if (style.header.size() > kMaxTextLength || !IsRecordText(style.header)) {
        return At(0, "the header must be at most 40 printable characters without '\"'");
    }
    const HeaderScan scan = ScanHeaderText(style.header);
    if (!scan.timeSignature) return At(0, "header: " + scan.error);
    if (*scan.timeSignature != style.timeSignature) {
        return At(0, "the header's time signature does not match the style's");
    }
    if (style.tracks.empty()) return At(0, "a style needs at least one track");
    if (style.tracks.size() > kMaxTracks) {
        return At(style.tracks[kMaxTracks].line, "a style holds at most five tracks");
    }
    for (std::size_t i = 0; i < style.tracks.size(); ++i) {
        const Track& track = style.tracks[i];
        const int line = track.line;
        if (track.channel < 0 || track.channel > 15) {
            return At(line, "every track needs a channel 0 to 15");
        }
        if (track.channel == kDrumChannel && i + 1 != style.tracks.size()) {
            return At(line,
                      "the drum track (channel 9) must be the last track: the composer "
                      "reads no block after it");
        }
        if (i > 0 && (track.name.size() > kMaxTextLength || !IsRecordText(track.name))) {
            return At(line, "a track name must be at most 40 printable characters without '\"'");
        }
        if (track.base < -kMaxBase || track.base > kMaxBase) {
            return At(line, "base must be -127 to 127");
        }
        if (auto problem = CheckSound(track.chord, "chord", line)) return problem;
        if (auto problem = CheckSound(track.pattern, "pattern", line)) return problem;
        if (track.sustain < 0 || track.sustain > 1) return At(line, "sustain must be 0 or 1");
        if (track.styleFlag1 < 0 || track.styleFlag1 > 1) {
            return At(line, "styleflag1 must be 0 or 1");
        }
        if (track.registerRule < 0 || track.registerRule > kMaxRegisterRule ||
            track.registerTight < 0 || track.registerTight > 1) {
            return At(line, "register must be 0 to 4, optionally followed by \"tight\"");
        }
        if (track.playMode < 0 || track.playMode > kMaxPlayMode) {
            return At(line, "playmode must be 0 to 3");
        }
        if (track.channel == kDrumChannel && track.playMode > 1) {
            return At(line, "the drum track's playmode is 0 or 1");
        }
        if (track.modes.empty()) return At(line, "a track needs at least mode 0");
        if (track.modes.size() > kMaxModes) {
            return At(track.modes[kMaxModes].line, "a track holds at most 16 modes (0 to 15)");
        }
        for (std::size_t m = 0; m < track.modes.size(); ++m) {
            if (auto problem = CheckMode(track.modes[m], track, style, static_cast<int>(m))) {
                return problem;
            }
        }
    }
    return std::nullopt;
}

}  // namespace formats
