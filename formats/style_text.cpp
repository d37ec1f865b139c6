#include "formats/style_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <vector>

namespace formats {

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into blank-separated words and "quoted texts"; '#' outside quotes starts a
// comment.
std::optional<std::vector<Token>> Tokenize(std::string_view line, std::string& error) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) {
                error = "a quoted text has no closing '\"'";
                return std::nullopt;
            }
            tokens.push_back({std::string(line.substr(i + 1, close - i - 1)), true});
            i = close + 1;
        } else {
            std::size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t' &&
                   line[end] != '\r' && line[end] != '#' && line[end] != '"') {
                ++end;
            }
            tokens.push_back({std::string(line.substr(i, end - i)), false});
            i = end;
        }
    }
    return tokens;
}

std::optional<std::int64_t> ParseWhole(std::string_view text) {
    std::int64_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') return std::nullopt;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || text.empty()) return std::nullopt;
    return value;
}

std::optional<int> ParseInt(std::string_view text) {
    const auto value = ParseWhole(text);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    Result<Style> Run() {
        std::size_t start = 0;
        while (start <= text_.size()) {
            std::size_t end = text_.find('\n', start);
            if (end == std::string_view::npos) end = text_.size();
            ++line_;
            std::string error;
            auto tokens = Tokenize(text_.substr(start, end - start), error);
            if (!tokens) return Fail(error);
            if (!tokens->empty()) {
                if (auto problem = Statement(*tokens)) return Result<Style>::Fail(*problem);
            }
            if (end == text_.size()) break;
            start = end + 1;
        }
        if (!haveHeader_ || style_.code.empty() || style_.version < 0) {
            return Result<Style>::Fail(
                {0, "a description needs its style, code and version statements"});
        }
        if (auto problem = CheckStyle(style_)) return Result<Style>::Fail(*problem);
        return Result<Style>{std::move(style_), {}};
    }

  private:
    Result<Style> Fail(std::string message) { return Result<Style>::Fail({line_, message}); }
    Problem Error(std::string message) const { return Problem{line_, std::move(message)}; }

    std::optional<Problem> Statement(const std::vector<Token>& t) {
        const std::string& word = t[0].text;
        if (t[0].quoted) return Error("a statement begins with a keyword, not a quoted text");
        if (word == "style") return StyleHeader(t);
        if (word == "code") return Code(t);
        if (word == "version") return Version(t);
        if (word == "track") return NewTrack(t);
        if (word == "mode") return NewMode(t);
        if (word == "lane") return Lane(t);
        if (track_ == nullptr) return Error("unknown statement \"" + word + "\"");
        if (word == "channel") return Number(t, track_->channel, 0, 15);
        if (word == "base") return Number(t, track_->base, -127, 127);
        if (word == "chord") return Sound(t, track_->chord);
        if (word == "pattern") return Sound(t, track_->pattern);
        if (word == "sustain") return Number(t, track_->sustain, 0, 1);
        if (word == "styleflag1") return Number(t, track_->styleFlag1, 0, 1);
        if (word == "playmode") return Number(t, track_->playMode, 0, 3);
        if (word == "register") return Register(t);
        return Error("unknown statement \"" + word + "\"");
    }

    std::optional<Problem> StyleHeader(const std::vector<Token>& t) {
        if (haveHeader_) return Error("the style header is given twice");
        if (t.size() != 2 || !t[1].quoted) return Error("style takes one quoted header text");
        style_.header = t[1].text;
        const HeaderScan scan = ScanHeaderText(style_.header);
        if (!scan.timeSignature) return Error("header: " + scan.error);
        style_.timeSignature = *scan.timeSignature;
        haveHeader_ = true;
        return std::nullopt;
    }

    std::optional<Problem> Code(const std::vector<Token>& t) {
        if (!style_.code.empty()) return Error("the code is given twice");
        if (t.size() != 2 || t[1].quoted || t[1].text.size() != 4) {
            return Error("code takes four characters");
        }
        style_.code = t[1].text;
        if (!VersionFromFileName(style_.code + "00.sty")) {
            return Error("the code may hold only letters, digits, '_' and '-'");
        }
        return std::nullopt;
    }

    std::optional<Problem> Version(const std::vector<Token>& t) {
        if (style_.version >= 0) return Error("the version is given twice");
        int version = -1;
        if (auto problem = Number(t, version, 0, 99)) return problem;
        style_.version = version;
        return std::nullopt;
    }

    std::optional<Problem> NewTrack(const std::vector<Token>& t) {
        if (!haveHeader_ || style_.code.empty() || style_.version < 0) {
            return Error("style, code and version come before the first track");
        }
        if (t.size() > 2 || (t.size() == 2 && !t[1].quoted)) {
            return Error("track takes at most a quoted name");
        }
        if (style_.tracks.size() == kMaxTracks) return Error("a style holds at most five tracks");
        if (t.size() == 2 && style_.tracks.empty()) {
            return Error("the first track's record carries the style header; it takes no name");
        }
        style_.tracks.emplace_back();
        track_ = &style_.tracks.back();
        track_->line = line_;
        if (t.size() == 2) track_->name = t[1].text;
        return std::nullopt;
    }

    std::optional<Problem> Number(const std::vector<Token>& t, int& target, int low, int high) {
        if (t.size() != 2 || t[1].quoted) return Error(t[0].text + " takes one number");
        const auto value = ParseInt(t[1].text);
        if (!value || *value < low || *value > high) {
            return Error(t[0].text + " must be " + std::to_string(low) + " to " +
                         std::to_string(high));
        }
        target = *value;
        return std::nullopt;
    }

    std::optional<Problem> Sound(const std::vector<Token>& t, PartSound& sound) {
        if (t.size() % 2 != 1 || t.size() == 1) {
            return Error(t[0].text + " takes pairs of a name and a value");
        }
        for (std::size_t i = 1; i + 1 < t.size(); i += 2) {
            int* target = nullptr;
            if (t[i].text == "program") target = &sound.program;
            if (t[i].text == "volume") target = &sound.volume;
            if (t[i].text == "pan") target = &sound.pan;
            if (t[i].text == "effect") target = &sound.effect;
            if (target == nullptr || t[i].quoted) {
                return Error("\"" + t[i].text + "\" is none of program, volume, pan, effect");
            }
            const auto value = ParseInt(t[i + 1].text);
            if (!value || t[i + 1].quoted || *value < 0 || *value > 127) {
                return Error(t[i].text + " must be 0 to 127");
            }
            *target = *value;
        }
        return std::nullopt;
    }

    std::optional<Problem> Register(const std::vector<Token>& t) {
        if (t.size() < 2 || t.size() > 3 || (t.size() == 3 && t[2].text != "tight")) {
            return Error("register takes a rule 0 to 4, optionally followed by \"tight\"");
        }
        const auto rule = ParseInt(t[1].text);
        if (!rule || *rule < 0 || *rule > 4) return Error("register rule must be 0 to 4");
        track_->registerRule = *rule;
        track_->registerTight = t.size() == 3 ? 1 : 0;
        return std::nullopt;
    }

    std::optional<Problem> NewMode(const std::vector<Token>& t) {
        if (track_ == nullptr) return Error("a mode belongs to a track");
        if (t.size() < 2) return Error("mode takes its number");
        const auto index = ParseInt(t[1].text);
        if (!index || *index < 0 || *index >= kMaxModes) return Error("a mode is 0 to 15");
        const int next = static_cast<int>(track_->modes.size());
        if (*index < next) return Error("mode " + t[1].text + " repeats or comes out of order");
        const int steps = LinesPerMeasure(style_.timeSignature, style_.version);
        // Modes skipped over are written out empty: the loader fills a block's modes in order.
        while (static_cast<int>(track_->modes.size()) <= *index) {
            Mode mode;
            mode.index = static_cast<int>(track_->modes.size());
            mode.number = mode.index;
            mode.rows.resize(steps);
            mode.line = line_;
            track_->modes.push_back(std::move(mode));
        }
        mode_ = &track_->modes.back();
        for (std::size_t i = 2; i < t.size(); i += 2) {
            if (i + 1 >= t.size() || (t[i].text != "slope" && t[i].text != "number")) {
                return Error("after the mode number come \"slope S\" and \"number N\"");
            }
            const auto value = ParseInt(t[i + 1].text);
            if (!value) return Error(t[i].text + " takes a number");
            if (*index == 0) return Error("mode 0 has no mode line: it takes no slope or number");
            (t[i].text == "slope" ? mode_->slope : mode_->number) = *value;
        }
        return std::nullopt;
    }

    std::optional<Problem> Lane(const std::vector<Token>& t) {
        if (mode_ == nullptr) return Error("a lane belongs to a mode");
        if (t.size() < 2) return Error("lane takes its column 0 to 15 and the steps");
        std::string_view columnText = t[1].text;
        std::size_t first = 2;
        if (!columnText.empty() && columnText.back() == ':') {
            columnText.remove_suffix(1);
        } else if (t.size() > 2 && t[2].text == ":") {
            first = 3;
        }
        const auto column = ParseInt(columnText);
        if (!column || *column < 0 || *column >= kCellColumns) {
            return Error("a lane's column is 0 to 15");
        }
        if (mode_->laneLines[*column] != 0) {
            return Error("lane " + std::to_string(*column) + " is given twice in this mode");
        }
        std::vector<Cell> cells;
        for (std::size_t i = first; i < t.size(); ++i) {
            if (t[i].text == "|") continue;
            const auto cell = ParseCell(t[i].text);
            if (!cell || t[i].quoted) return Error("\"" + t[i].text + "\" is not a cell");
            cells.push_back(*cell);
        }
        if (cells.size() != mode_->rows.size()) {
            return Error("the lane has " + std::to_string(cells.size()) + " steps; a " +
                         std::string(TimeSignatureName(style_.timeSignature)) +
                         " style of version " + std::to_string(style_.version) + " needs " +
                         std::to_string(mode_->rows.size()));
        }
        for (std::size_t step = 0; step < cells.size(); ++step) {
            mode_->rows[step][*column] = cells[step];
        }
        mode_->laneLines[*column] = line_;
        return std::nullopt;
    }

    std::string_view text_;
    int line_ = 0;
    Style style_;
    bool haveHeader_ = false;
    Track* track_ = nullptr;
    Mode* mode_ = nullptr;
};

std::string Padded(const std::string& text, std::size_t width) {
    std::string out(width > text.size() ? width - text.size() : 0, ' ');
    return out + text;
}

void AppendSound(std::string& out, const char* kind, const PartSound& sound) {
    char line[120];
    std::snprintf(line, sizeof line, "  %s program %d volume %d pan %d effect %d\n", kind,
                  sound.program, sound.volume, sound.pan, sound.effect);
    out += line;
}

bool IsPlainMode(const Mode& mode) {
    return mode.slope == 0 && mode.number == mode.index && !mode.HasCells();
}

}  // namespace

std::string FormatCell(const Cell& cell) {
    if (cell.empty()) return ".";
    std::string text = cell.whole < 0 ? "-" : "";
    text += std::to_string(cell.note());
    if (cell.velocity() != 0) text += "v" + std::to_string(cell.velocity());
    if (cell.offset() != 0) text += "@" + std::to_string(cell.offset());
    if (cell.extra != 0) text += ":" + std::to_string(cell.extra);
    return text;
}

std::optional<Cell> ParseCell(std::string_view token) {
    if (token == ".") return Cell{};
    bool negative = false;
    if (!token.empty() && token[0] == '-') {
        negative = true;
        token.remove_prefix(1);
    }
    // Each field is a run of digits behind its mark; the note comes first and has none.
    std::int64_t fields[4] = {0, 0, 0, 0};  // note, velocity, offset, length
    const char marks[4] = {'\0', 'v', '@', ':'};
    int next = 0;
    while (next < 4) {
        if (next > 0) {
            if (token.empty() || token[0] != marks[next]) {
                ++next;
                continue;
            }
            token.remove_prefix(1);
        }
        std::size_t digits = 0;
        while (digits < token.size() && token[digits] >= '0' && token[digits] <= '9') ++digits;
        if (digits == 0 || digits > 6) return std::nullopt;
        fields[next] = *ParseWhole(token.substr(0, digits));
        token.remove_prefix(digits);
        ++next;
    }
    if (!token.empty()) return std::nullopt;
    if (fields[0] > kMaxCellField || fields[1] > kMaxCellField || fields[2] > 99999 ||
        fields[3] > kMaxNoteLength) {
        return std::nullopt;
    }
    Cell cell;
    cell.whole = fields[2] * kExtraThreshold + fields[1] * 1000 + fields[0];
    if (negative) cell.whole = -cell.whole;
    cell.extra = static_cast<int>(fields[3]);
    return cell;
}

Result<Style> ParseStyleText(std::string_view text) {
    return Reader(text).Run();
}

std::string FormatStyleText(const Style& style) {
    std::string out;
    out += "style \"" + style.header + "\"\n";
    out += "code " + style.code + "\n";
    out += "version " + std::to_string(style.version) + "\n";
    const int stepsPerBeat = StepsPerQuarter(style.version);
    for (std::size_t i = 0; i < style.tracks.size(); ++i) {
        const Track& track = style.tracks[i];
        out += "\ntrack";
        if (i > 0) out += " \"" + track.name + "\"";
        out += "\n";
        out += "  channel " + std::to_string(track.channel) + "\n";
        out += "  base " + std::to_string(track.base) + "\n";
        AppendSound(out, "chord", track.chord);
        AppendSound(out, "pattern", track.pattern);
        out += "  sustain " + std::to_string(track.sustain) + "\n";
        out += "  styleflag1 " + std::to_string(track.styleFlag1) + "\n";
        out += "  register " + std::to_string(track.registerRule) +
               (track.registerTight != 0 ? " tight" : "") + "\n";
        out += "  playmode " + std::to_string(track.playMode) + "\n";
        for (std::size_t m = 0; m < track.modes.size(); ++m) {
            const Mode& mode = track.modes[m];
            // Empty modes between others are implied; mode 0 and the last one always stand.
            if (m != 0 && m + 1 != track.modes.size() && IsPlainMode(mode)) continue;
            out += "  mode " + std::to_string(mode.index);
            if (mode.index != 0 && mode.slope != 0) out += " slope " + std::to_string(mode.slope);
            if (mode.index != 0 && mode.number != mode.index) {
                out += " number " + std::to_string(mode.number);
            }
            out += "\n";
            std::size_t width = 1;
            for (const StepRow& row : mode.rows) {
                for (const Cell& cell : row) width = std::max(width, FormatCell(cell).size());
            }
            for (int column = 0; column < kCellColumns; ++column) {
                bool used = false;
                for (const StepRow& row : mode.rows) used = used || !row[column].empty();
                if (!used) continue;
                char head[32];
                std::snprintf(head, sizeof head, "    lane %2d:", column);
                out += head;
                for (std::size_t step = 0; step < mode.rows.size(); ++step) {
                    if (step > 0 && step % stepsPerBeat == 0) out += " |";
                    out += " " + Padded(FormatCell(mode.rows[step][column]), width);
                }
                out += "\n";
            }
        }
    }
    return out;
}

}  // namespace formats
